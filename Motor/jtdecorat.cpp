// jtdecorat.cpp -- the tile map: cells, walkable flags, wall probes, drawing
#include "Motor/jtdecorat.h"

#include "Motor/jtmanager.h"
#include "Motor/jtmath.h"
#include "Motor/jtrender.h"
#include "platform/archive.h"
#include "platform/debug.h"
#include "platform/gdi.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>

CBitmap* JTDecorat::s_tileBitmap = nullptr;

namespace {
// The tile set's size; 0 x 0 when it did not load, so no formula divides by its width.
BITMAP TilesetSize(CBitmap* pTileset)
{
    BITMAP bm = {};
    if (!pTileset || !pTileset->GetBitmap(&bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0)
        bm = BITMAP{};
    return bm;
}

// Where tile t sits in the tile set: t * ts pixels along the image's rows, wrapped at its
// width. False when there is no image.
bool TileOrigin(long long t, int shift, const BITMAP& bm, long long* pX, long long* pY)
{
    if (bm.bmWidth <= 0)
        return false;
    long long along = t * (1LL << shift);
    *pX = along % bm.bmWidth;
    *pY = along / bm.bmWidth * (1LL << shift);
    return true;
}

// Tiles 156-255 lie below the picture: they draw nothing rather than whatever lies there.
bool TileInImage(long long x, long long y, const BITMAP& bm)
{
    return x >= 0 && y >= 0 && x < bm.bmWidth && y < bm.bmHeight;
}
} // namespace

JTDecorat::JTDecorat() : JTModul(MODUL_DECORAT)
{
    std::memset(m_walkable, 1, sizeof(m_walkable));
    if (!s_tileBitmap)
    {
        s_tileBitmap = new CBitmap;
        s_tileBitmap->LoadBitmap(TILESET_BITMAP);
    }
}

JTDecorat::~JTDecorat()
{
    if (s_tileBitmap)
    {
        s_tileBitmap->DeleteObject();
        delete s_tileBitmap;
        s_tileBitmap = nullptr;
    }
}

JTDecorat* JTDecorat::GetDecorat()
{
    return static_cast<JTDecorat*>(GetSlot(MODUL_DECORAT));
}

// Every size must keep width x height cells and the map's pixel size inside the int range.
bool JTDecorat::SizeAllowed(long long width, long long height, int shift) const
{
    if (width < 0 || height < 0 || shift < 0 || shift > 30)
        return false;
    if (width * height > INT_MAX)
        return false;
    return (width << shift) <= INT_MAX && (height << shift) <= INT_MAX;
}

// A zero-filled array, so cells a short read leaves out hold tile 0.
bool JTDecorat::Allocate(int width, int height)
{
    std::size_t cells = std::size_t(width) * std::size_t(height);
    m_pTiles.reset(new (std::nothrow) BYTE[cells ? cells : 1]());
    return m_pTiles != nullptr;
}

bool JTDecorat::Create(int width, int height, int shift)
{
    m_pTiles.reset();
    if (!SizeAllowed(width, height, shift) || !Allocate(width, height))
        return false;
    std::memset(m_walkable, 1, sizeof(m_walkable));
    m_nTileShift = shift;
    m_nWidth = width;
    m_nHeight = height;
    return true;
}

int JTDecorat::GetTile(int col, int row) const
{
    if (!m_pTiles || col < 0 || row < 0 || col >= m_nWidth || row >= m_nHeight)
        return -1;
    return m_pTiles[std::size_t(row) * std::size_t(m_nWidth) + std::size_t(col)];
}

// Pixels to cells by an arithmetic shift: pixels -16 to -1 lie in cell -1.
int JTDecorat::TileAtPixel(long long x, long long y) const
{
    long long col = x >> m_nTileShift;
    long long row = y >> m_nTileShift;
    if (col < INT_MIN || col > INT_MAX || row < INT_MIN || row > INT_MAX)
        return -1;
    return GetTile(int(col), int(row));
}

int JTDecorat::GetTileAt(int x, int y) const
{
    return TileAtPixel(x, y);
}

bool JTDecorat::SetTile(int col, int row, BYTE t)
{
    if (GetTile(col, row) < 0)
        return false;
    m_pTiles[std::size_t(row) * std::size_t(m_nWidth) + std::size_t(col)] = t;
    return true;
}

bool JTDecorat::SetTileAt(int x, int y, BYTE t)
{
    return SetTile(x >> m_nTileShift, y >> m_nTileShift, t);
}

int JTDecorat::IsWalkable(int t) const
{
    if (t < 0 || t > 255)
        return -1;
    return m_walkable[t];
}

void JTDecorat::SetWalkable(int t, BYTE flag)
{
    if (t >= 0 && t <= 255)
        m_walkable[t] = flag;
}

const CellSource* JTDecorat::TileSources(const BITMAP& bm)
{
    const int key[3] = {m_nTileShift, bm.bmWidth, bm.bmHeight};
    if (!std::equal(key, key + 3, m_tileSourcesFor))
    {
        for (int t = 0; t < 256; t++)
        {
            long long x = 0, y = 0;
            bool drawn = TileOrigin(t, m_nTileShift, bm, &x, &y) && TileInImage(x, y, bm);
            m_tileSources[t] = CellSource{drawn, int(x), int(y)};
        }
        std::copy(key, key + 3, m_tileSourcesFor);
    }
    return m_tileSources;
}

bool JTDecorat::Draw(CDC* pDC)
{
    if (!m_pTiles || m_nTileShift == 0)
        return false;
    JTRender* pRender = JTRender::GetRender();
    ASSERT(pRender);
    const int s = m_nTileShift;
    const int camX = pRender->GetCamX();
    const int camY = pRender->GetCamY();
    // The + 1 takes in the column and the row that the view's far edges cut.
    const RECT& view = pRender->GetView();
    long long lastCol = (((long long)view.right + camX) >> s) + 1;
    long long lastRow = (((long long)view.bottom + camY) >> s) + 1;
    int endCol = int(lastCol < m_nWidth ? lastCol : m_nWidth);
    int endRow = int(lastRow < m_nHeight ? lastRow : m_nHeight);

    BITMAP bm = TilesetSize(s_tileBitmap);
    // The loops start at the view's own first column and row: a scrolled editor view of a
    // large map never walks the cells before it.
    long long firstCol = ((long long)view.left + camX) >> s;
    long long firstRow = ((long long)view.top + camY) >> s;
    const int startCol = int(firstCol > 0 ? firstCol : 0);
    const int startRow = int(firstRow > 0 ? firstRow : 0);
    if (bm.bmWidth <= 0 || startCol >= endCol || startRow >= endRow)
        return true;
    // Drawn onto its own tile set, the map reads back what it draws: cell by cell in column
    // order there. Elsewhere tiles never overlap, so row by row, the order the target's memory
    // runs, draws the same.
    if (pDC->GetSurface() == s_tileBitmap->GetSurface())
    {
        for (int c = startCol; c < endCol; c++)
            for (int r = startRow; r < endRow; r++)
                DrawTile(pDC, (c << s) - camX, (r << s) - camY, GetTile(c, r));
        return true;
    }
    CellGrid grid{&m_pTiles[std::size_t(startRow) * std::size_t(m_nWidth) + std::size_t(startCol)],
                  std::size_t(m_nWidth), endCol - startCol, endRow - startRow,
                  (startCol << s) - camX, (startRow << s) - camY, 1 << s, 1 << s,
                  TileSources(bm)};
    pDC->CopyGrid(*s_tileBitmap, grid);
    return true;
}

// The probes lie on the first row below the sprite (the hero's 8 pixels higher, inside its
// picture), 2 pixels in from each side; a point off the map reads as tile 255.
bool JTDecorat::CheckWalls(JTSprite* pSprite)
{
    long long x = pSprite->GetX();
    long long y = (long long)pSprite->GetY() + pSprite->GetHeight();
    if (pSprite->GetType() == SPRITE_PLAYER)
        y -= 8;
    BYTE a = BYTE(TileAtPixel(x + 2, y));
    BYTE b = BYTE(TileAtPixel(x + pSprite->GetWidth() - 2, y));
    if (m_walkable[a] && m_walkable[b])
        return false;
    pSprite->HitWall();
    return true;
}

// A map without a tile array is stored as a 0 x 0 layer, so every file has a layer to read.
void JTDecorat::Serialize(CArchive& ar)
{
    if (!ar.IsStoring())
    {
        LoadLayer(ar);
        return;
    }
    if (!m_pTiles)
    {
        ar << int32_t(0) << int32_t(0);
    }
    else
    {
        ar << int32_t(m_nWidth) << int32_t(m_nHeight);
        ar.Write(m_pTiles.get(), UINT(std::size_t(m_nWidth) * std::size_t(m_nHeight)));
    }
    ar.Write(m_walkable, sizeof(m_walkable));
}

// Sizes are checked against the int range and the rest of the file before anything is
// allocated; a refused or failed load leaves no tile array.
void JTDecorat::LoadLayer(CArchive& ar)
{
    m_pTiles.reset();
    m_nWidth = 0;
    m_nHeight = 0;
    int32_t width, height;
    ar >> width >> height;
    if (!SizeAllowed(width, height, m_nTileShift))
        AfxThrowArchiveException(CArchiveException::badIndex);
    std::size_t cells = std::size_t(width) * std::size_t(height);
    if (ar.GetBytesLeft() < cells + sizeof(m_walkable))
        AfxThrowArchiveException(CArchiveException::endOfFile);
    if (!Allocate(width, height))
        AfxThrowArchiveException(CArchiveException::genericException);
    std::memset(m_walkable, 1, sizeof(m_walkable));
    ar.Read(m_pTiles.get(), UINT(cells));
    ar.Read(m_walkable, sizeof(m_walkable));
    m_nWidth = width;
    m_nHeight = height;
}

void JTDecorat::DrawTile(CDC* pDC, int x, int y, int t)
{
    BITMAP bm = TilesetSize(s_tileBitmap);
    long long sx, sy;
    if (!TileOrigin(t, m_nTileShift, bm, &sx, &sy) || !TileInImage(sx, sy, bm))
        return;
    CDC memDC;
    memDC.CreateCompatibleDC(nullptr);
    memDC.SelectObject(s_tileBitmap);
    int ts = GetTileSize();
    pDC->BitBlt(x, y, ts, ts, &memDC, int(sx), int(sy), SRCCOPY);
    memDC.DeleteDC();
}

void JTDecorat::DrawTileset(CDC* pDC, int x, int y)
{
    BITMAP bm = TilesetSize(s_tileBitmap);
    CDC memDC;
    memDC.CreateCompatibleDC(nullptr);
    memDC.SelectObject(s_tileBitmap);
    pDC->BitBlt(x, y, bm.bmWidth, bm.bmHeight, &memDC, 0, 0, SRCCOPY);
    memDC.DeleteDC();
}

// Not bounded: a point right of the image counts on into the next rows.
int JTDecorat::PaletteIndexAt(int* pX, int* pY)
{
    const int s = m_nTileShift;
    int col = *pX >> s;
    int row = *pY >> s;
    BITMAP bm = TilesetSize(s_tileBitmap);
    long long index = (long long)col + (long long)row * (bm.bmWidth >> s);
    *pX = SaturateInt((long long)col * (1LL << s));
    *pY = SaturateInt((long long)row * (1LL << s));
    return SaturateInt(index);
}

// Empty when the tile set did not load: the tile has no place in a palette.
CRect JTDecorat::PaletteRect(int t)
{
    BITMAP bm = TilesetSize(s_tileBitmap);
    long long x, y;
    if (!TileOrigin(t, m_nTileShift, bm, &x, &y))
        return CRect();
    int ts = GetTileSize();
    return CRect(SaturateInt(x), SaturateInt(y), SaturateInt(x + ts), SaturateInt(y + ts));
}

void JTDecorat::DrawCollisions(CDC* pDC)
{
    // A map without cells has nothing to cross, however wide: a 269-byte file may ask for
    // 134217727 columns of 0 rows.
    if (!m_pTiles || m_nWidth == 0 || m_nHeight == 0)
        return;
    CPen pen;
    pen.CreatePen(PS_SOLID, 2, RGB(255, 0, 0));
    CPen* pOldPen = pDC->SelectObject(&pen);
    const int ts = GetTileSize();
    // Only the cells the clip box can show, with one more on each side for the pen's width.
    RECT clip;
    pDC->GetClipBox(&clip);
    const int s = m_nTileShift;
    const int c0 = int(std::max<long long>(((long long)clip.left >> s) - 1, 0));
    const int r0 = int(std::max<long long>(((long long)clip.top >> s) - 1, 0));
    const int c1 = int(std::min<long long>(((long long)clip.right >> s) + 2, m_nWidth));
    const int r1 = int(std::min<long long>(((long long)clip.bottom >> s) + 2, m_nHeight));
    for (int c = c0; c < c1; c++)
    {
        for (int r = r0; r < r1; r++)
        {
            if (m_walkable[GetTile(c, r)] != 0)
                continue;
            pDC->MoveTo(c * ts, r * ts);
            pDC->LineTo(c * ts + ts, r * ts + ts);
            pDC->MoveTo(c * ts + ts, r * ts);
            pDC->LineTo(c * ts, r * ts + ts);
        }
    }
    if (pOldPen)
        pDC->SelectObject(pOldPen);
    pen.DeleteObject();
}

// Effects: one-shot animations left by deaths and explosions.

JTEfecte::JTEfecte(int first, int last, int ticksPerFrame, int width, int height,
                   UINT bitmapId, UINT maskId)
    : JTSprite(SPRITE_EFECTE)
{
    m_nW = width;
    m_nH = height;
    m_nBitmapId = int(bitmapId);
    m_nMaskId = int(maskId);
    m_bSolid = false;
    SetAnimation(first, last, ticksPerFrame);
}

// The step that goes past the last frame ends the effect, so the manager removes it in the
// same tick; the first frame never shows twice.
void JTEfecte::Update()
{
    JTSprite::Update();
    if (GetAnimState() == ANIM_WRAPPED) {
        m_bAlive = false;
        m_bVisible = false;
    }
}

void AddEffect(JTManager* pManager, JTEfecte* pEffect, int x, int y)
{
    if (pEffect == NULL)
        return;
    if (pManager == NULL) {
        delete pEffect;
        return;
    }
    pEffect->SetPos(x, y);
    pManager->Add(pEffect);
}
