// jtkernel.cpp -- the kernel: module creation and teardown, new map, map storage, tick, factory
#include "Motor/jtkernel.h"

#include "Motor/JTNpc.h"
#include "Motor/animals.h"
#include "Motor/jtdecorat.h"
#include "Motor/jtmanager.h"
#include "Motor/jtmusic.h"
#include "Motor/jtrender.h"
#include "Motor/jtsprite.h"
#include "Motor/malote.h"
#include "Motor/player.h"
#include "platform/debug.h"

// Each module registers itself in its slot as it is constructed.
JTKernel::JTKernel(HWND hwndNotify) : JTModul(MODUL_KERNEL)
{
    new JTRender;
    new JTMusic(hwndNotify);
    new JTDecorat;
    new JTManager;
}

// From the back: the sprite manager goes while the renderer, which the hero's destructor
// reaches, is still registered.
JTKernel::~JTKernel()
{
    for (int id = MAX_MODULS - 1; id > MODUL_KERNEL; id--)
    {
        JTModul* pModul = GetSlot(id);
        if (!pModul)
            continue;
        ClearSlot(id);
        delete pModul;
    }
}

JTKernel* JTKernel::GetKernel()
{
    return static_cast<JTKernel*>(GetSlot(MODUL_KERNEL));
}

void JTKernel::NewMap(int width, int height)
{
    JTDecorat* pDecorat = JTDecorat::GetDecorat();
    JTManager* pManager = JTManager::GetManager();
    JTRender* pRender = JTRender::GetRender();
    ASSERT(pDecorat && pManager && pRender);
    pDecorat->Create(width, height, 4);
    pManager->RemoveAll();
    pRender->SetPlayer(nullptr);
    m_pTalker = nullptr;
}

void JTKernel::Serialize(CArchive& ar)
{
    JTDecorat* pDecorat = JTDecorat::GetDecorat();
    JTManager* pManager = JTManager::GetManager();
    ASSERT(pDecorat && pManager);
    pDecorat->Serialize(ar);
    pManager->Serialize(ar);
    pManager->BuildRenderList();
}

// The world step runs first, also without a hero; a missing hero outranks a dead one, which
// outranks a waiting talker.
int JTKernel::Tick()
{
    JTManager* pManager = JTManager::GetManager();
    JTRender* pRender = JTRender::GetRender();
    ASSERT(pManager && pRender);
    pManager->Update();
    JTPlayer* pPlayer = pRender->GetPlayer();
    if (!pPlayer)
        return TICK_NO_PLAYER;
    if (pPlayer->GetHealth() < 1)
        return TICK_GAME_OVER;
    if (m_pTalker)
        return TICK_TALK;
    return TICK_RUNNING;
}

JTSprite* JTKernel::CreateSprite(int type)
{
    switch (type)
    {
    case SPRITE_PLAYER: return new JTPlayer;
    case SPRITE_GALLINA: return new JTGallina;
    case SPRITE_GOS: return new JTGos;
    case SPRITE_MALOTE: return new JTMalote;
    case SPRITE_FETILLER: return new JTFetiller;
    case SPRITE_TAROK: return new JTTarok;
    case SPRITE_TRISHA: return new JTTrisha;
    case SPRITE_DAMA: return new JTDama;
    case SPRITE_POCIMA: return new JTPocima;
    case SPRITE_ESPASA: return new JTEspasa;
    default:
        return nullptr;
    }
}
