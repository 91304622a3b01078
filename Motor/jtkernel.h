// jtkernel.h -- the kernel: creates the engine's modules, new map, map storage, tick, factory
#pragma once

#include "Motor/jtmodul.h"
#include "platform/windefs.h"

class CArchive;
class JTNpc;
class JTSprite;

// What JTKernel::Tick reports to the game window.
enum
{
    TICK_RUNNING = 0,    // the run goes on
    TICK_NO_PLAYER = -1, // no hero on the map
    TICK_GAME_OVER = 1,  // the hero's health is below 1
    TICK_TALK = 2,       // a talking character waits to speak
};

// Module 0. Its constructor creates the renderer, the music, the tile map and the sprite
// manager, in that order; its destructor destroys them in reverse. It keeps no pointers to
// them: each operation finds them through their getters.
class JTKernel : public JTModul
{
public:
    // hwndNotify receives the tune's end-of-play notice; NULL until a game window sets one.
    explicit JTKernel(HWND hwndNotify);
    ~JTKernel() override;

    static JTKernel* GetKernel();

    // An empty map of width x height 16-pixel tiles: no sprites, no hero, no talker.
    void NewMap(int width, int height);
    // The tile layer, then the sprite list; the render list is rebuilt after both.
    void Serialize(CArchive& ar);
    // One world step, then the run's status (TICK_*).
    int Tick();
    // A new sprite of kind 0-9 with its default constructor, owned by the caller;
    // NULL for any other id.
    JTSprite* CreateSprite(int type);

    // The talking character that asked to speak; a later request replaces an earlier one.
    void SetTalker(JTNpc* pTalker) { m_pTalker = pTalker; }
    JTNpc* GetTalker() const { return m_pTalker; }

private:
    JTNpc* m_pTalker = nullptr; // not owned
};
