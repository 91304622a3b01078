// jtdecorat.h -- the tile map: cells, walkable flags, wall probes, drawing
#pragma once

#include "Motor/jtmodul.h"
#include "Motor/jtsprite.h"
#include "platform/gdi.h"
#include "platform/geometry.h"
#include "platform/windefs.h"

#include <memory>

class CArchive;
class CBitmap;
class CDC;

// Resource id of the tile set: 12 x 13 pictures of 16 x 16 pixels, numbered row by row.
#define TILESET_BITMAP 142

// Module 3: a grid of one-byte tile indices over the tile set, one walkable flag per index.
class JTDecorat : public JTModul
{
public:
    JTDecorat();
    ~JTDecorat() override;

    static JTDecorat* GetDecorat();

    // A new map of tile 0 with every flag walkable. False (and no tile array) for a negative
    // size, more than 2147483647 cells, a pixel size beyond the int range, or no memory.
    bool Create(int width, int height, int shift);
    bool IsEmpty() const { return m_pTiles == nullptr; }

    // -1 outside the map or without a tile array.
    int GetTile(int col, int row) const;
    int GetTileAt(int x, int y) const;
    bool SetTile(int col, int row, BYTE t);
    bool SetTileAt(int x, int y, BYTE t);
    // The flag byte as stored (non-zero walks), -1 for an index outside 0-255.
    int IsWalkable(int t) const;
    void SetWalkable(int t, BYTE flag);

    int GetWidth() const { return m_nWidth; }
    int GetHeight() const { return m_nHeight; }
    int GetTileShift() const { return m_nTileShift; }
    int GetTileSize() const { return 1 << m_nTileShift; }
    static int Min(int a, int b) { return a < b ? a : b; }
    static CBitmap* GetTileBitmap() { return s_tileBitmap; }

    // The cells that the renderer's camera and view show; false without a tile array.
    bool Draw(CDC* pDC);
    // Probes the ground just under the feet, 2 pixels in from each side; a blocked probe calls
    // the sprite's HitWall once. A point outside the map reads as tile 255.
    bool CheckWalls(JTSprite* pSprite);
    // The tile layer: width, height, the cells row by row, the 256 flags.
    void Serialize(CArchive& ar);

    // Editor helpers: a tile without the camera, the whole tile set, the palette cell at a
    // point (the point moves to the cell's corner) and a tile's place in the palette.
    void DrawTile(CDC* pDC, int x, int y, int t);
    void DrawTileset(CDC* pDC, int x, int y);
    int PaletteIndexAt(int* pX, int* pY);
    CRect PaletteRect(int t);
    // A red cross over every cell whose tile's flag is exactly 0, in map pixels.
    void DrawCollisions(CDC* pDC);

private:
    bool SizeAllowed(long long width, long long height, int shift) const;
    bool Allocate(int width, int height);
    int TileAtPixel(long long x, long long y) const;
    void LoadLayer(CArchive& ar);
    // Where each tile value lies in the tile set, worked out again only when the tile size or
    // the tile set's size changes: the division it takes would otherwise come with every cell.
    const CellSource* TileSources(const BITMAP& bm);

    int m_nWidth = 0;
    int m_nHeight = 0;
    int m_nTileShift = 4;
    std::unique_ptr<BYTE[]> m_pTiles; // width x height cells, row-major; null: no map
    BYTE m_walkable[256];

    CellSource m_tileSources[256] = {};
    int m_tileSourcesFor[3] = {-1, -1, -1}; // shift, tile set width and height

    static CBitmap* s_tileBitmap;
};

// Effects: one-shot animations left by deaths and explosions.

// Plays frames first to last once at a fixed place, then removes itself. Never solid,
// never stored; its creator places it and hands it to the sprite manager.
class JTEfecte : public JTSprite
{
public:
    JTEfecte(int first, int last, int ticksPerFrame, int width, int height, UINT bitmapId,
             UINT maskId);

    // The animation step; the step that wraps past the last frame ends the effect.
    void Update() override;
};

class JTManager;

// Places an effect made with new (std::nothrow) at (x, y) and hands it to the manager. An
// effect that could not be allocated is simply left out; without a manager it is released.
void AddEffect(JTManager* pManager, JTEfecte* pEffect, int x, int y);
