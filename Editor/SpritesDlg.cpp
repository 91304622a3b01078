// SpritesDlg.cpp -- the sprite dialog: kind list, live preview, patrol axis and speech.
#include "SpritesDlg.h"

#include "Motor/JTNpc.h"
#include "Motor/jtkernel.h"
#include "Motor/jtrender.h"
#include "Motor/malote.h"
#include "platform/debug.h"
#include "platform/wx/ddx.h"
#include "platform/wx/dlgunits.h"
#include "platform/wx/template_dialog.h"
#include "platform/wx/msgbox.h"
#include "platform/wx/scrollbars.h"
#include "platform/wx/text.h"
#include "platform/wx/window_surface.h"
#include "resource.h"

#include <wx/button.h>
#include <wx/frame.h>
#include <wx/listbox.h>
#include <wx/radiobut.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

wxBEGIN_EVENT_TABLE(CSpritesDlg, wxDialog)
    EVT_INIT_DIALOG(CSpritesDlg::OnInitDialog)
    EVT_LISTBOX(IDC_SPRITE_LIST, CSpritesDlg::OnSelchangeList)
    EVT_RADIOBUTTON(IDC_DIR_HORIZONTAL, CSpritesDlg::OnRadioHorizontal)
    EVT_RADIOBUTTON(IDC_DIR_VERTICAL, CSpritesDlg::OnRadioVertical)
    EVT_BUTTON(wxID_OK, CSpritesDlg::OnOK)
    EVT_BUTTON(wxID_CANCEL, CSpritesDlg::OnCancel)
    EVT_CHAR_HOOK(CSpritesDlg::OnCharHook)
wxEND_EVENT_TABLE()

namespace {

// A label's position in the list is the type id the factory is given.
const char* const kKindLabels[] = {
    "Player - (Lynx)",     "Animals - (Gallina)", "Animals - (Gos)",  "Enemics - (Malote)",
    "Enemics - (Fetiller)", "NPC - (Tarok)",       "NPC - (Trisha)",   "NPC - (Dama)",
    "Items - (Pocima)",    "Items - (Espasa)",
};

bool IsEnemy(int type)
{
    return type == SPRITE_MALOTE || type == SPRITE_FETILLER;
}

bool IsTalker(int type)
{
    return type >= SPRITE_TAROK && type <= SPRITE_DAMA;
}

} // namespace

CSpritesDlg::CSpritesDlg(wxWindow* pParent)
    : wxDialog(DialogOwner(pParent), wxID_ANY, Txt("Selecció d'sprite"), wxDefaultPosition, wxDefaultSize,
               wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX | wxFRAME_TOOL_WINDOW)
    , m_pSprite(nullptr)
    , m_nOrientRadio(-1)
{
    UseTemplateFont(this);
    CreateControls();
    SetClientSize(DluSize(311, 94));
    m_pPreview = std::make_unique<WindowSurface>(this, ToColorref(GetBackgroundColour()));
    m_pPreview->SetPainter([this](CDC* pDC) { PaintPreview(pDC); });
    Centre();
}

// Not the sprite: after OK it is the caller's, after anything else it is already gone.
CSpritesDlg::~CSpritesDlg() = default;

// In template order, which is also the tab order.
void CSpritesDlg::CreateControls()
{
    auto* pOk = new wxButton(this, wxID_OK, Txt("OK"), DluPoint(254, 7), DluSize(50, 14),
                             wxBU_EXACTFIT);
    pOk->SetDefault();
    new wxButton(this, wxID_CANCEL, Txt("Cancel"), DluPoint(254, 24), DluSize(50, 14),
                 wxBU_EXACTFIT);
    m_pList = new wxListBox(this, IDC_SPRITE_LIST, DluPoint(130, 7), DluSize(116, 80), 0, nullptr,
                            wxLB_SINGLE);
    // The last kinds lie below the list's edge: its bar shows that there are more.
    ShowScrollBarsAlways(m_pList);
    m_pVertical = new wxRadioButton(this, IDC_DIR_VERTICAL, Txt("Dalt <--> Baix"), DluPoint(7, 61),
                                    DluSize(58, 10), wxRB_GROUP);
    m_pHorizontal = new wxRadioButton(this, IDC_DIR_HORIZONTAL, Txt("Dreta <--> Esquerra"),
                                      DluPoint(7, 76), DluSize(87, 11));
    // The toolkit's radio mark is wider and taller than the template allows for: grow the
    // buttons into the free space rather than cut their texts.
    for (wxRadioButton* pRadio : {m_pVertical, m_pHorizontal}) {
        wxSize size = pRadio->GetSize();
        size.IncTo(pRadio->GetBestSize());
        pRadio->SetSize(size);
    }
    m_pSpeech = new wxTextCtrl(this, IDC_SPEECH, wxString(), DluPoint(7, 52), DluSize(111, 35),
                               wxTE_MULTILINE | wxTE_NO_VSCROLL | wxTE_WORDWRAP);
    m_pSpeechLabel = new wxStaticText(this, IDC_SPEECH_LABEL, Txt("Texte:"), DluPoint(7, 40),
                                      DluSize(21, 8));
    for (wxWindow* pHidden : std::initializer_list<wxWindow*>{m_pVertical, m_pHorizontal,
                                                              m_pSpeech, m_pSpeechLabel})
        pHidden->Hide();
}

void CSpritesDlg::DoDataExchange(bool bSave)
{
    DdxRadio(m_pVertical, m_pHorizontal, m_nOrientRadio, bSave);
    DdxText(m_pSpeech, m_strSpeech, bSave);
}

void CSpritesDlg::OnInitDialog(wxInitDialogEvent&)
{
    UpdateData(false);
    for (const char* label : kKindLabels)
        m_pList->Insert(Txt(label), m_pList->GetCount());
    JTRender* pRender = JTRender::GetRender();
    ASSERT(pRender != nullptr);
    m_pList->SetSelection(pRender->GetPlayer() != nullptr ? SPRITE_GALLINA : SPRITE_PLAYER);
    // Selecting scrolls the chosen row to the top once the list is laid out, hiding the first
    // one; the list opens on its first row instead, the chosen one just below it at most.
    m_pList->SetFirstItem(0);
    m_pSprite = nullptr;
    RefreshSelection();
}

// Rebuilds the preview for the selected kind. The old preview goes first, so a hero that is
// only this dialog's preview never counts against choosing the hero again.
void CSpritesDlg::RefreshSelection()
{
    JTKernel* pKernel = JTKernel::GetKernel();
    JTRender* pRender = JTRender::GetRender();
    ASSERT(pKernel != nullptr);
    ASSERT(pRender != nullptr);
    DropSprite();
    if (m_pList->GetSelection() == SPRITE_PLAYER && pRender->GetPlayer() != nullptr) {
        MessageBoxOk(this, Txt("Ja exiteix un player !!!!!"), Txt("Estigues alerta"));
        m_pList->SetSelection(SPRITE_GALLINA);
    }
    int type = m_pList->GetSelection();
    m_pSprite = pKernel->CreateSprite(type); // NULL while nothing is selected
    m_pVertical->Show(IsEnemy(type));
    m_pHorizontal->Show(IsEnemy(type));
    if (IsEnemy(type)) {
        m_nOrientRadio = 0;
        UpdateData(false); // also puts the stored speech back into the box
    }
    m_pSpeechLabel->Show(IsTalker(type));
    m_pSpeech->Show(IsTalker(type));
    m_pPreview->InvalidateErase();
}

// The preview stands still: the frame the constructor or the last turn chose.
void CSpritesDlg::PaintPreview(CDC* pDC)
{
    if (m_pSprite == nullptr)
        return;
    m_pSprite->SetPos(10, 10);
    m_pSprite->Draw(pDC);
}

void CSpritesDlg::OnSelchangeList(wxCommandEvent&)
{
    RefreshSelection();
}

void CSpritesDlg::TurnEnemy(int dir)
{
    if (m_pSprite == nullptr || !IsEnemy(m_pSprite->GetType()))
        return;
    static_cast<JTEnemic*>(m_pSprite)->SetDirection(dir);
    m_pPreview->InvalidateErase();
}

void CSpritesDlg::OnRadioHorizontal(wxCommandEvent&)
{
    TurnEnemy(DIR_RIGHT);
}

void CSpritesDlg::OnRadioVertical(wxCommandEvent&)
{
    TurnEnemy(DIR_DOWN);
}

void CSpritesDlg::OnOK(wxCommandEvent&)
{
    // Nothing built, nothing to hand over: the caller must never receive NULL with wxID_OK.
    if (m_pSprite == nullptr) {
        EndDialog(wxID_CANCEL);
        return;
    }
    if (IsTalker(m_pSprite->GetType())) {
        UpdateData(true);
        static_cast<JTNpc*>(m_pSprite)->SetSpeech(ToCp1252(m_strSpeech).c_str());
    }
    UpdateData(true);
    SetReturnCode(wxID_OK);
    EndDialog(wxID_OK);
}

// The speech box is a plain multi-line box: Enter in it presses OK rather than starting a line
// (the toolkit's multi-line boxes keep Enter for themselves); Ctrl+Enter still starts one.
void CSpritesDlg::OnCharHook(wxKeyEvent& event)
{
    bool enter = event.GetKeyCode() == WXK_RETURN || event.GetKeyCode() == WXK_NUMPAD_ENTER;
    if (enter && !event.ControlDown() && FindFocus() == m_pSpeech) {
        EmulateButtonClickIfPresent(wxID_OK);
        return;
    }
    event.Skip();
}

// Cancel, Esc and the close box all arrive here.
void CSpritesDlg::OnCancel(wxCommandEvent&)
{
    DropSprite();
    SetReturnCode(wxID_CANCEL);
    EndDialog(wxID_CANCEL);
}

void CSpritesDlg::EndModal(int retCode)
{
    if (retCode != wxID_OK)
        DropSprite();
    wxDialog::EndModal(retCode);
}

// Deleting a hero preview also ends its registration as the map's hero.
void CSpritesDlg::DropSprite()
{
    delete m_pSprite;
    m_pSprite = nullptr;
}
