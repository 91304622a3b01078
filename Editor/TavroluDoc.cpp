// TavroluDoc.cpp -- the map document.
#include "TavroluDoc.h"

#include "NewMapDlg.h"
#include "ResourceTables.h"
#include "Motor/jtdecorat.h"
#include "Motor/jtkernel.h"
#include "Motor/jtsprite.h"
#include "platform/archive.h"
#include "platform/debug.h"
#include "platform/safe_write.h"
#include "platform/wx/file_dialogs.h"
#include "platform/wx/file_names.h"
#include "platform/wx/msgbox.h"
#include "platform/wx/question_box.h"
#include "platform/wx/text.h"

#include <wx/app.h>
#include <wx/filename.h>

#include <new>

wxIMPLEMENT_DYNAMIC_CLASS(CTavroluDoc, wxDocument);

namespace {

// A name is shown as the title and the desktop show it, whatever its bytes.
wxString WithPath(const char* text, const wxString& path)
{
    wxString message = Txt(text);
    message.Replace("%1", FileDisplayName(path));
    return message;
}

// The framework's message for a failed open or save, by what failed.
wxString FileErrorText(CException* e, const wxString& path, bool saving)
{
    using namespace FrameworkText;
    if (dynamic_cast<CFileDamagedException*>(e) != nullptr)
        return WithPath("No s'ha pogut desar %1 ni deixar-lo com era: el fitxer del disc ha "
                        "quedat malmès. El mapa continua obert a l'editor i el pots desar en un "
                        "altre lloc.",
                        path);
    if (auto* fe = dynamic_cast<CFileException*>(e)) {
        switch (fe->m_cause) {
        case CFileException::fileNotFound:
        case CFileException::badPath: return WithPath(kFileNotFound, path);
        case CFileException::accessDenied: return WithPath(kAccessDenied, path);
        case CFileException::diskFull: return WithPath(kDiskFull, path);
        case CFileException::tooManyOpenFiles: return WithPath(kTooManyOpen, path);
        case CFileException::endOfFile: return Txt(kBadFormat);
        default:
            // A read that failed is no empty or damaged map: the file error, naming the file.
            if (!saving)
                return WithPath(kReadError, path);
            break;
        }
    } else if (auto* ae = dynamic_cast<CArchiveException*>(e)) {
        switch (ae->m_cause) {
        case CArchiveException::endOfFile:
        case CArchiveException::badIndex:
        case CArchiveException::badClass:
        case CArchiveException::badSchema: return Txt(kBadFormat);
        default: break;
        }
    }
    return Txt(saving ? kSaveFailed : kOpenFailed);
}

// Shows the message; a caught exception is released.
void ReportFileError(CException* e, const wxString& path, bool saving, bool caught = true)
{
    MessageBoxOk(nullptr, FileErrorText(e, path, saving), Txt(kAppCaption));
    if (e != nullptr && caught)
        e->Delete();
}

} // namespace

CTavroluDoc::CTavroluDoc()
    : m_pSprite(nullptr), m_nTile(-1), m_bShowCollisions(false), m_bSizeChanged(false),
      m_nHeight(0), m_nWidth(0)
{
    new JTKernel(nullptr);
}

CTavroluDoc::~CTavroluDoc()
{
    DropToolSprite();
    if (JTKernel* pKernel = JTKernel::GetKernel()) {
        delete pKernel;
        JTModul::ClearSlot(MODUL_KERNEL);
    }
}

void CTavroluDoc::DropToolSprite()
{
    if (m_pSprite != nullptr && m_nTile != -1)
        delete m_pSprite;
    m_pSprite = nullptr;
}

void CTavroluDoc::ResetTool()
{
    DropToolSprite();
    m_nTile = -1;
}

bool CTavroluDoc::OnNewDocument()
{
    if (!wxDocument::OnNewDocument())
        return false;
    CNewMapDlg dlg(nullptr);
    dlg.ShowModal();
    m_nWidth = dlg.m_nWidth;
    m_nHeight = dlg.m_nHeight;
    DropToolSprite();
    JTKernel* pKernel = JTKernel::GetKernel();
    ASSERT(pKernel != nullptr);
    pKernel->NewMap(m_nWidth, m_nHeight);
    if (JTDecorat::GetDecorat()->IsEmpty() && (m_nWidth > 0 && m_nHeight > 0)) {
        // The tile array could not be allocated: the map is left without cells.
        MessageBoxOk(nullptr, Txt("No hi ha prou memòria per a un mapa tan gran."), Txt(kAppCaption));
        m_nWidth = m_nHeight = 0;
        pKernel->NewMap(0, 0);
    }
    ResetEditing();
    Modify(false);
    return true;
}

void CTavroluDoc::ResetEditing()
{
    m_nTile = -1;
    m_pSprite = nullptr;
    m_bShowCollisions = false;
    m_bSizeChanged = true;
}

void CTavroluDoc::Serialize(CArchive& ar)
{
    JTKernel* pKernel = JTKernel::GetKernel();
    JTDecorat* pDecorat = JTDecorat::GetDecorat();
    ASSERT(pKernel != nullptr && pDecorat != nullptr);
    DropToolSprite();
    pKernel->Serialize(ar);
    m_nWidth = pDecorat->GetWidth();
    m_nHeight = pDecorat->GetHeight();
    ResetEditing();
}

bool CTavroluDoc::OpenFile(const wxString& path, bool* pDamaged)
{
    bool opened = DoOpenDocument(path);
    if (pDamaged != nullptr)
        *pDamaged = m_bLoadDamaged;
    if (!opened)
        return false;
    SetFilename(path, true);
    SetTitle(wxFileName(path).GetFullName());
    SetDocumentSaved(true);
    Modify(false);
    UpdateAllViews();
    return true;
}

bool CTavroluDoc::DoOpenDocument(const wxString& path)
{
    m_bLoadDamaged = false;
    CFileException fe;
    CFile file;
    if (!file.Open(FileNameBytes(path).c_str(), CFile::modeRead | CFile::shareDenyWrite, &fe)) {
        ReportFileError(&fe, path, false, false);
        return false;
    }
    try {
        CArchive ar(&file, CArchive::load);
        if (file.GetLength() != 0)
            Serialize(ar);
        ar.Close();
        file.Close();
        return true;
    } catch (CException* e) {
        file.Abort();
        m_bLoadDamaged = true;
        ReportFileError(e, path, false);
    } catch (const std::bad_alloc&) {
        file.Abort();
        m_bLoadDamaged = true;
        ReportFileError(nullptr, path, false);
    }
    return false;
}

bool CTavroluDoc::DoSaveDocument(const wxString& path)
{
    try {
        WriteFileSafely(FileNameBytes(path).c_str(), [this](CFile& file) {
            CArchive ar(&file, CArchive::store);
            Serialize(ar);
            ar.Close();
        });
        return true;
    } catch (CException* e) {
        ReportFileError(e, path, true);
    } catch (const std::bad_alloc&) {
        ReportFileError(nullptr, path, true);
    }
    return false;
}

bool CTavroluDoc::Save()
{
    if (GetFilename().empty() || !GetDocumentSaved())
        return SaveAs();
    return OnSaveDocument(GetFilename());
}

bool CTavroluDoc::OnSaveModified()
{
    if (!IsModified())
        return true;
    const wxString question = WithPath(FrameworkText::kAskToSave, GetTitle());
    switch (AskYesNoCancel(GetDocumentWindow(), question, Txt(kAppCaption))) {
    case QuestionAnswer::Yes: return Save();
    case QuestionAnswer::No: return true;
    case QuestionAnswer::Cancel: break;
    }
    return false;
}

wxString CTavroluDoc::MapFile() const
{
    return GetDocumentSaved() ? GetFilename() : wxString();
}

bool CTavroluDoc::SaveAs()
{
    // A map with a file proposes it; a new one its title with the extension ("Sin título.tvr").
    const wxString ext = Txt(DocStringPart(DOC_FILTER_EXT));
    const wxString file = MapFile();
    const wxString start = !file.empty() ? file : GetTitle() + ext;
    wxString path = AskSavePath(wxTheApp->GetTopWindow(), Txt(FrameworkText::kSaveAsTitle),
                                DocumentFilters(), start, ext);
    if (path.empty() || !OnSaveDocument(path))
        return false;
    SetTitle(wxFileName(path).GetFullName());
    SetFilename(path, true);
    GetDocumentManager()->AddFileToHistory(path);
    return true;
}
