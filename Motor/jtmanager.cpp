// jtmanager.cpp -- the sprite manager: the owned sprite list, the tick body, render order, storage
#include "Motor/jtmanager.h"

#include "Motor/jtdecorat.h"
#include "Motor/jtkernel.h"
#include "Motor/jtrender.h"
#include "Motor/jtsprite.h"
#include "platform/archive.h"
#include "platform/debug.h"
#include "platform/file.h"
#include "platform/memfile.h"
#include "platform/wsprintf.h"

#include <algorithm>
#include <iterator>
#include <memory>
#include <utility>

namespace {
const char kBackupName[] = "manager.bak";
} // namespace

JTManager::JTManager() : JTModul(MODUL_MANAGER)
{
}

JTManager::~JTManager()
{
    RemoveAll();
}

JTManager* JTManager::GetManager()
{
    return static_cast<JTManager*>(GetSlot(MODUL_MANAGER));
}

// The render list is emptied too: it must never point at the sprites deleted here.
void JTManager::RemoveAll()
{
    while (!m_list.empty())
    {
        JTSprite* pSprite = m_list.front();
        m_list.pop_front();
        delete pSprite;
    }
    JTRender* pRender = JTRender::GetRender();
    ASSERT(pRender);
    pRender->SetPlayer(nullptr);
    pRender->ClearRenderList();
}

void JTManager::Add(JTSprite* pSprite)
{
    ASSERT(pSprite);
    m_list.push_front(pSprite);
}

// Sprites added during the walk land at the front, behind the walk, and wait for the next tick.
void JTManager::Update()
{
    JTDecorat* pDecorat = JTDecorat::GetDecorat();
    ASSERT(pDecorat);
    for (JTSprite* pSprite : m_list)
    {
        pSprite->Update();
        pDecorat->CheckWalls(pSprite);
    }
    BuildRenderList();
    CheckCollisions();
}

// Inserting each sprite before the first entry with an equal or greater bottom edge gives the
// bottom edges ascending with ties in reverse list order: a stable sort of the reversed list.
void JTManager::BuildRenderList()
{
    std::vector<std::pair<long long, JTGrafics*>> order;
    for (auto it = m_list.begin(); it != m_list.end();)
    {
        JTSprite* pSprite = *it;
        if (!pSprite->IsAlive())
        {
            it = m_list.erase(it);
            delete pSprite;
            continue;
        }
        ++it;
        if (pSprite->IsVisible())
            order.emplace_back((long long)pSprite->GetY() + pSprite->GetHeight(), pSprite);
    }
    std::reverse(order.begin(), order.end());
    std::stable_sort(order.begin(), order.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::list<JTGrafics*> renderList;
    for (const auto& entry : order)
        renderList.push_back(entry.second);
    JTRender* pRender = JTRender::GetRender();
    ASSERT(pRender);
    pRender->SetRenderList(renderList);
}

// A sprite meets at most one partner as the earlier of a pair: the first one behind it.
void JTManager::CheckCollisions()
{
    for (auto a = m_list.begin(); a != m_list.end(); ++a)
    {
        if (!(*a)->IsSolid())
            continue;
        for (auto b = std::next(a); b != m_list.end(); ++b)
        {
            if ((*a)->Overlaps(*b))
            {
                (*a)->Collide(*b);
                (*b)->Collide(*a);
                break;
            }
        }
    }
}

void JTManager::Serialize(CArchive& ar)
{
    JTKernel* pKernel = JTKernel::GetKernel();
    ASSERT(pKernel);
    if (!ar.IsStoring())
    {
        LoadSprites(ar);
        return;
    }
    for (JTSprite* pSprite : m_list)
        pSprite->Serialize(ar);
    ar << int32_t(-1);
}

// Each record goes to the front, so the list comes back reversed. An id the factory does not
// make ends the section quietly; a record cut short deletes its sprite and throws on.
void JTManager::LoadSprites(CArchive& ar)
{
    JTKernel* pKernel = JTKernel::GetKernel();
    RemoveAll();
    for (;;)
    {
        int32_t type;
        ar >> type;
        if (type == -1)
            return;
        std::unique_ptr<JTSprite> pSprite(pKernel->CreateSprite(type));
        if (!pSprite)
            return;
        pSprite->Serialize(ar);
        Add(pSprite.release());
    }
}

JTSprite* JTManager::FindAt(int x, int y)
{
    for (JTSprite* pSprite : m_list)
    {
        if (pSprite->Contains(x, y))
            return pSprite;
    }
    return nullptr;
}

// The bytes stay in memory as well: a file that cannot be written costs nothing.
void JTManager::SaveBackup()
{
    CMemFile memFile;
    CArchive ar(&memFile, CArchive::store);
    Serialize(ar);
    ar.Close();
    m_backup = memFile.Detach();

    CFile file;
    if (!file.Open(kBackupName, CFile::modeCreate | CFile::modeWrite))
        return;
    try
    {
        file.Write(m_backup.data(), UINT(m_backup.size()));
        file.Close();
    }
    catch (CFileException* e)
    {
        e->Delete();
        file.Abort();
    }
}

// The saved bytes in memory are the source of truth; the file serves only a process that
// did not save a backup itself.
void JTManager::LoadBackup()
{
    if (!m_backup.empty()) // a saved section always holds at least its end mark
    {
        CMemFile memFile(m_backup.data(), UINT(m_backup.size()));
        CArchive ar(&memFile, CArchive::load);
        Serialize(ar);
        return;
    }
    RemoveAll();
    CFile file;
    if (!file.Open(kBackupName, CFile::modeRead))
        return;
    CArchive ar(&file, CArchive::load);
    Serialize(ar);
    ar.Close();
    file.Close();
}

void JTManager::ResetSeen()
{
    for (JTSprite* pSprite : m_list)
        pSprite->ClearSeen();
}

JTSprite* JTManager::GetFirst() const
{
    ASSERT(!m_list.empty());
    return m_list.front();
}

void JTManager::Describe(char* buffer, int size) const
{
    if (size <= 0)
        return;
    buffer[0] = '\0';
    int length = 0;
    for (JTSprite* pSprite : m_list)
    {
        if (length >= size - 1)
            break;
        length += wnsprintfA(buffer + length, size - length, " - %d", pSprite->GetType());
    }
}
