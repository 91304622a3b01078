// map_session.h -- a map document through what the program does with it: open, paint, play, save
#pragma once

#include "platform/gdi.h"
#include "platform/windefs.h"

#include <cstddef>
#include <vector>

class JTKernel;

// Keys held during a game run, one bit each.
enum
{
    HOLD_RIGHT = 1,
    HOLD_DOWN = 2,
    HOLD_LEFT = 4,
    HOLD_UP = 8,
    HOLD_SHIFT = 16,
    HOLD_CONTROL = 32,
};

// The tile layer and the sprite types, for comparing a map before and after a round trip.
struct MapShape
{
    int width = 0;
    int height = 0;
    std::vector<int> cells;
    std::vector<int> flags;
    std::vector<int> types; // the sprites' type ids, front of the list first

    bool SameLayer(const MapShape& other) const
    {
        return width == other.width && height == other.height && cells == other.cells &&
               flags == other.flags;
    }
};

// The engine of one document, driven through the calls the editor and its game window make, in
// their order. One per process at a time: the kernel it makes fills the module table.
class MapSession
{
public:
    // A kernel as the document makes it, and a drawing surface of the game window's size.
    MapSession(int viewWidth, int viewHeight);
    ~MapSession();
    MapSession(const MapSession&) = delete;
    MapSession& operator=(const MapSession&) = delete;

    // Back to a fresh 1 x 1 map, the random sequence and the keys at their start.
    void Reset();
    // File Open over these bytes. False when reading failed: the half-read map is painted once
    // (the error message's repaint), then a new 30 x 30 map replaces it. An empty file is not
    // read at all and leaves the map as it was. pUnread, if given, receives the count of bytes
    // the loader left unread after the end mark.
    bool Open(const BYTE* data, std::size_t size, std::size_t* pUnread = nullptr);
    // File Save: the document's bytes.
    std::vector<BYTE> Save();
    // The map view's paint.
    void PaintEditor();
    // Run Game: backup, a first paint, up to `ticks` timer ticks (each one followed by a paint,
    // talk requests answered), then the sprite list back from the backup. Tick i holds the
    // keys keys[i % keys.size()] (HOLD_* bits; none when keys is empty). Returns the last
    // tick status.
    int Play(int ticks, const std::vector<BYTE>& keys);
    // The game window's paint: one frame of the game.
    void PaintGame();
    // The window layer's key events: presses for keys newly held, releases for keys let go.
    void HoldKeys(BYTE keys);

    MapShape Shape() const;
    JTKernel* Kernel() const { return m_pKernel; }

private:
    void Talk();

    JTKernel* m_pKernel;
    BYTE m_held = 0;
    CBitmap m_surface;
    CDC m_dc;
};
