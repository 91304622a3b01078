// jtgrafics.h -- the drawable: position, size, sheet cell, bitmaps, raster operation, type id
#pragma once

#include "platform/windefs.h"

class CDC;

// Anything drawn from a cell of a sprite sheet. The derived constructors set the size, the
// sheet and the mask; drawing goes through the renderer's camera and bitmap cache.
class JTGrafics
{
public:
    explicit JTGrafics(int type);
    virtual ~JTGrafics() {}
    JTGrafics(const JTGrafics&) = delete;
    JTGrafics& operator=(const JTGrafics&) = delete;

    // Blits the current cell at the screen position, through the mask when there is one.
    // Nothing is clipped to the view here: the renderer culls first.
    virtual void Draw(CDC* pDC);

    int GetX() const { return m_nX; }
    int GetY() const { return m_nY; }
    int GetWidth() const { return m_nW; }
    int GetHeight() const { return m_nH; }
    // x + width and y + height, held at the int range for positions read from files.
    int GetRight() const;
    int GetBottom() const;
    int GetType() const { return m_nType; }
    void SetPos(int x, int y);

protected:
    int m_nX = 0;
    int m_nY = 0;
    int m_nW = 0;
    int m_nH = 0;
    int m_nSrcX = 0;
    int m_nSrcY = 0;
    int m_nBitmapId = 0;
    int m_nMaskId = -1;
    DWORD m_dwRop;
    int m_nType;
};

// The items need JTSprite, whose header needs the complete JTGrafics above.
#define MOTOR_JTGRAFICS_DEFINED
#include "Motor/jtsprite.h"

// Items: the potion and the sword, picked up by the hero.

// Lies on the map until the hero touches it, then hands the hero its type id and goes.
class JTItem : public JTSprite
{
public:
    // A 16 x 16 cell of the item sheet, fixed on frame.
    JTItem(int type, int frame);

    void Collide(JTSprite* pOther) override;
};

// Restores the hero's full health.
class JTPocima : public JTItem
{
public:
    JTPocima();
};

// Lets the hero attack; 32 pixels wide, two cells of the item sheet.
class JTEspasa : public JTItem
{
public:
    JTEspasa();
};
