// jtmanager.h -- the sprite manager: the owned sprite list, the tick body, render order, storage
#pragma once

#include "Motor/jtmodul.h"
#include "platform/windefs.h"

#include <list>
#include <vector>

class CArchive;
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
    // Each solid sprite collides with the first sprite behind it that it overlaps.
    void CheckCollisions();
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
    void LoadSprites(CArchive& ar);

    std::list<JTSprite*> m_list; // owned; front = added last
    std::vector<BYTE> m_backup; // the last SaveBackup's bytes
};
