// jtmanager.h -- the sprite manager: the owned sprite list, the tick body, render order, storage
#pragma once

#include "Motor/jtmodul.h"
#include "platform/windefs.h"

#include <functional>
#include <list>
#include <memory>
#include <vector>

class CArchive;
class JTGrafics;
class JTSprite;

// Module 4: owns every sprite of the map in one list. Add puts a sprite at the front, every
// walk goes front to back, and every load reverses the order.
class JTManager : public JTModul
{
public:
    JTManager();
    ~JTManager() override;

    static JTManager* GetManager();

    // Deletes every sprite; no hero stays registered and the render list is emptied.
    void RemoveAll();
    // Takes ownership; the sprite goes to the front, where a running walk does not see it.
    void Add(JTSprite* pSprite);
    // One tick: every sprite's update and wall check, the rebuild, the collision pass.
    void Update();
    // Deletes the dead sprites and hands the alive, visible ones to the renderer by bottom
    // edge; among equal edges the one nearer the front of the list comes last.
    void BuildRenderList();
    // Each solid sprite collides with the first sprite behind it that it overlaps, both
    // Collides called at once, and no more pairs for it. The candidates come from a grid of
    // cells, so the pass grows with the sprites, not with their pairs. A Collide may add sprites
    // and change flags, positions and sizes of the two sprites it is handed and of the hero;
    // the pass reads those again after each pair. Other sprites it must leave as they are.
    void CheckCollisions();
    // The same rule with every pair tested in turn, the plain statement of what the grid pass
    // must give. Kept for the tests that hold the grid pass to it.
    void CheckCollisionsEveryPair();
    // For those tests: the tick runs the every-pair pass instead, and the watcher hears each
    // pair, as places in the list at the start of the pass, before its two Collide calls.
    void UseEveryPairPass(bool everyPair) { m_bEveryPair = everyPair; }
    void SetPairWatcher(std::function<void(int first, int second)> watcher);
    // The sprite records and the end mark -1. Loading empties the list first and ends
    // quietly at a type id the factory does not make.
    void Serialize(CArchive& ar);
    // The first sprite whose rectangle, edges included, holds the point; NULL when none.
    JTSprite* FindAt(int x, int y);

    // Around a game run: the sprite section goes to "manager.bak" and is also kept here,
    // so the run's sprites come back even when that file cannot be written or read.
    void SaveBackup();
    void LoadBackup();

    void ResetSeen();
    JTSprite* GetFirst() const;
    // " - <type>" per sprite in list order, cut short to fit size bytes.
    void Describe(char* buffer, int size) const;

private:
    struct CollisionGrid;

    void LoadSprites(CArchive& ar);
    void CollidePair(JTSprite* pFirst, int first, JTSprite* pSecond, int second);

    std::list<JTSprite*> m_list; // owned; front = added last
    std::vector<BYTE> m_backup; // the last SaveBackup's bytes
    std::unique_ptr<CollisionGrid> m_pGrid; // its storage is kept from tick to tick
    std::list<JTGrafics*> m_renderScratch; // the render list's nodes, kept likewise
    bool m_bEveryPair = false;
    std::function<void(int, int)> m_pairWatcher;
};
