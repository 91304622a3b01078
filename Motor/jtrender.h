// jtrender.h -- the renderer: bitmap cache, camera, render list, registered hero, game frame
#pragma once

#include "Motor/jtmodul.h"
#include "platform/windefs.h"

#include <list>

class CBitmap;
class CDC;
class JTGrafics;
class JTPlayer;

#define MAX_BITMAPS 50

// Module 1: draws a game frame and holds what drawing shares: the cache of sprite sheets,
// the camera, the last view rectangle, the render list and the hero the camera follows.
class JTRender : public JTModul
{
public:
    JTRender();
    ~JTRender() override;

    static JTRender* GetRender();

    // The bitmap for a resource id, loaded once and kept; NULL once 50 ids are cached, and for
    // 0xFFFFFFFF, the mark of a free slot.
    // A resource that does not load stays cached as an empty bitmap.
    CBitmap* GetBitmap(UINT id);

    // Keeps the camera inside the map; a view larger than the map shows it from its origin.
    void SetCamera(int x, int y);
    static void Clamp(int* v, int lo, int hi);
    void MoveCamera(int dx, int dy);
    int GetCamX() const { return m_camX; }
    int GetCamY() const { return m_camY; }
    const RECT& GetView() const { return m_view; }

    // One game frame straight onto pDC: camera after the hero, tiles, sprites, HUD.
    // The render list is empty afterwards.
    void Render(CDC* pDC);
    // Takes pDC's clip box as the view; the editor calls it before drawing.
    void UpdateView(CDC* pDC);
    // The render list in order, skipping sprites outside the view; stops at the first whose
    // top lies below it.
    void DrawSprites(CDC* pDC);

    void SetRenderList(const std::list<JTGrafics*>& list);
    void ClearRenderList();
    const std::list<JTGrafics*>& GetRenderList() const { return m_renderList; }

    void SetPlayer(JTPlayer* pPlayer) { m_player = pPlayer; }
    JTPlayer* GetPlayer() const { return m_player; }

private:
    void DrawHud(CDC* pDC);

    int m_bitmapIds[MAX_BITMAPS];
    CBitmap* m_bitmaps[MAX_BITMAPS];
    std::list<JTGrafics*> m_renderList; // not owned; valid until sprites are next deleted
    JTPlayer* m_player = nullptr;       // not owned
    int m_camX = 0;
    int m_camY = 0;
    RECT m_view = {0, 0, 0, 0};
};
