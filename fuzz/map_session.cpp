// map_session.cpp -- a map document through what the program does with it: open, paint, play, save
#include "fuzz/map_session.h"

#include "Motor/JTNpc.h"
#include "Motor/jtdecorat.h"
#include "Motor/jtkernel.h"
#include "Motor/jtmanager.h"
#include "Motor/jtrender.h"
#include "platform/archive.h"
#include "platform/debug.h"
#include "platform/keys.h"
#include "platform/memfile.h"
#include "platform/rand.h"
#include "platform/wsprintf.h"

#include <cstdlib>
#include <cstring>

namespace {
JTDecorat* Map()
{
    JTDecorat* pDecorat = JTDecorat::GetDecorat();
    ASSERT(pDecorat);
    return pDecorat;
}

JTManager* Manager()
{
    JTManager* pManager = JTManager::GetManager();
    ASSERT(pManager);
    return pManager;
}

JTRender* Render()
{
    JTRender* pRender = JTRender::GetRender();
    ASSERT(pRender);
    return pRender;
}
} // namespace

MapSession::MapSession(int viewWidth, int viewHeight) : m_pKernel(new JTKernel(nullptr))
{
    m_surface.CreateBitmap(viewWidth, viewHeight, 1, 32, nullptr);
    m_dc.CreateCompatibleDC(nullptr);
    m_dc.SelectObject(&m_surface);
    Reset();
}

// The kernel leaves its own slot alone; nothing uses the table once it is gone.
MapSession::~MapSession()
{
    m_dc.DeleteDC();
    delete m_pKernel;
    JTModul::ClearSlot(MODUL_KERNEL);
}

void MapSession::Reset()
{
    m_pKernel->NewMap(1, 1);
    m_pKernel->SetTalker(nullptr);
    Render()->SetCamera(0, 0);
    crt::RandReset();
    KeyStateReset();
    m_held = 0;
}

bool MapSession::Open(const BYTE* data, std::size_t size, std::size_t* pUnread)
{
    if (pUnread)
        *pUnread = 0;
    if (size == 0)
        return true;
    CMemFile file(data, UINT(size));
    CArchive ar(&file, CArchive::load);
    try {
        m_pKernel->Serialize(ar);
        if (pUnread)
            *pUnread = std::size_t(ar.GetBytesLeft());
        return true;
    } catch (CArchiveException* e) {
        e->Delete();
    } catch (CFileException* e) {
        e->Delete();
    }
    PaintEditor();
    m_pKernel->NewMap(30, 30);
    return false;
}

std::vector<BYTE> MapSession::Save()
{
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    m_pKernel->Serialize(ar);
    ar.Close();
    return file.Detach();
}

void MapSession::PaintEditor()
{
    Render()->UpdateView(&m_dc);
    Map()->Draw(&m_dc);
    Manager()->BuildRenderList();
    Render()->DrawSprites(&m_dc);
    Map()->DrawCollisions(&m_dc);
}

int MapSession::Play(int ticks, const std::vector<BYTE>& keys)
{
    Manager()->SaveBackup();
    Manager()->ResetSeen();
    PaintGame();
    int status = TICK_RUNNING;
    for (int i = 0; i < ticks && (status == TICK_RUNNING || status == TICK_TALK); i++) {
        HoldKeys(keys.empty() ? 0 : keys[std::size_t(i) % keys.size()]);
        status = m_pKernel->Tick();
        if (status == TICK_TALK)
            Talk();
        PaintGame();
    }
    HoldKeys(0);
    Manager()->LoadBackup();
    m_pKernel->SetTalker(nullptr);
    Render()->SetCamera(0, 0);
    return status;
}

void MapSession::HoldKeys(BYTE keys)
{
    static const int kKeys[] = {VK_RIGHT, VK_DOWN, VK_LEFT, VK_UP, VK_SHIFT, VK_CONTROL};
    for (int i = 0; i < int(sizeof kKeys / sizeof kKeys[0]); i++) {
        bool was = m_held & (1 << i);
        bool now = keys & (1 << i);
        if (now && !was)
            KeyStatePress(kKeys[i]);
        if (was && !now)
            KeyStateRelease(kKeys[i]);
    }
    m_held = keys;
}

void MapSession::PaintGame()
{
    Render()->Render(&m_dc);
}

// What the talk dialog reads: the name for its title and portrait, and the speech. Both must
// end inside their fields whatever the file held.
void MapSession::Talk()
{
    JTNpc* pTalker = m_pKernel->GetTalker();
    ASSERT(pTalker);
    ASSERT(std::memchr(pTalker->GetName(), 0, 10) != nullptr);
    ASSERT(std::memchr(pTalker->GetSpeech(), 0, 255) != nullptr);
    char portrait[32];
    wsprintfA(portrait, "ID_CARA_%s", pTalker->GetName());
    CBitmap face;
    face.LoadBitmap(portrait);
    m_pKernel->SetTalker(nullptr);
}

MapShape MapSession::Shape() const
{
    MapShape shape;
    JTDecorat* pDecorat = Map();
    shape.width = pDecorat->GetWidth();
    shape.height = pDecorat->GetHeight();
    for (int row = 0; row < shape.height && shape.width > 0; row++) {
        for (int col = 0; col < shape.width; col++)
            shape.cells.push_back(pDecorat->GetTile(col, row));
    }
    for (int t = 0; t < 256; t++)
        shape.flags.push_back(pDecorat->IsWalkable(t));
    // Five characters per sprite at most, for the sprites that fit in a 64 KB document.
    std::vector<char> buffer(1 << 16);
    Manager()->Describe(buffer.data(), int(buffer.size()));
    for (const char* p = std::strstr(buffer.data(), " - "); p; p = std::strstr(p + 3, " - "))
        shape.types.push_back(std::atoi(p + 3));
    return shape;
}
