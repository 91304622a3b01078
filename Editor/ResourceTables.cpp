// ResourceTables.cpp -- the resource script's menu, accelerators, toolbar and string table.
#include "ResourceTables.h"

#include "resource.h"

#include <wx/accel.h>
#include <wx/defs.h>

#include <cstring>

const char* const kDocString =
    "Tavrolu\n\nTavrol\nArchivos Tavrol (*.tvr)\n.tvr\nTavrolu.Document\nTavrol Document";

const char* DocStringPart(DocStringField field)
{
    static const char* const parts[] = {
        "Tavrolu", "", "Tavrol", "Archivos Tavrol (*.tvr)", ".tvr", "Tavrolu.Document", "Tavrol Document",
    };
    return parts[field];
}

#define POPUP(text) {MenuEntry::POPUP, 0, text, false, false}
#define ITEM(id, text) {MenuEntry::ITEM, id, text, false, false}
#define SEPARATOR {MenuEntry::SEPARATOR, 0, nullptr, false, false}

const MenuEntry kMenu[] = {
    POPUP("&Arxiu"),
    ITEM(ID_FILE_NEW, "&Nou\tCtrl+N"),
    ITEM(ID_FILE_OPEN, "&Obrir...\tCtrl+A"),
    ITEM(ID_FILE_SAVE, "&Desa\tCtrl+G"),
    ITEM(ID_FILE_SAVE_AS, "Desar c&om..."),
    SEPARATOR,
    {MenuEntry::ITEM, ID_FILE_MRU_FILE1, "Ultims arxius ", true, false},
    SEPARATOR,
    ITEM(ID_APP_EXIT, "&Eixir"),
    POPUP("&Edició"),
    ITEM(ID_EDIT_UNDO, "&Desfer\tCtrl+Z"),
    SEPARATOR,
    ITEM(ID_EDIT_CUT, "Ta&llar\tCtrl+X"),
    ITEM(ID_EDIT_COPY, "&Copiar\tCtrl+C"),
    ITEM(ID_EDIT_PASTE, "&Enganxar\tCtrl+V"),
    SEPARATOR,
    ITEM(ID_EDIT_TILES, "Edita &tiles\tT"),
    ITEM(ID_EDIT_SPRITES, "Edita &Sprites\tS"),
    SEPARATOR,
    ITEM(ID_DELETE_SPRITE, "&Esborra Sprite\tSUPR"),
    ITEM(ID_RUN_GAME, "Executa Joc\tF1"),
    POPUP("&Veure"),
    {MenuEntry::ITEM, ID_VIEW_TOOLBAR, "Barra d'&eines", false, true},
    {MenuEntry::ITEM, ID_VIEW_STATUS_BAR, "Barra d'estat", false, true},
    SEPARATOR,
    {MenuEntry::ITEM, ID_VIEW_COLLISIONS, "Colisions escenari", false, true},
    POPUP("Aj&uda"),
    ITEM(ID_APP_ABOUT, "&A prop de Tavrolu..."),
    {MenuEntry::END, 0, nullptr, false, false},
};

const AccelEntry kAccelerators[] = {
    {wxACCEL_CTRL, 'C', ID_EDIT_COPY},
    {wxACCEL_CTRL, 'N', ID_FILE_NEW},
    {wxACCEL_CTRL, 'O', ID_FILE_OPEN},
    {wxACCEL_NORMAL, 'S', ID_EDIT_SPRITES},
    {wxACCEL_CTRL, 'S', ID_FILE_SAVE},
    {wxACCEL_NORMAL, 'T', ID_EDIT_TILES},
    {wxACCEL_CTRL, 'V', ID_EDIT_PASTE},
    {wxACCEL_ALT, WXK_BACK, ID_EDIT_UNDO},
    {wxACCEL_NORMAL, WXK_DELETE, ID_DELETE_SPRITE},
    {wxACCEL_SHIFT, WXK_DELETE, ID_EDIT_CUT},
    {wxACCEL_NORMAL, WXK_F1, ID_RUN_GAME},
    {wxACCEL_NORMAL, WXK_F6, ID_NEXT_PANE},
    {wxACCEL_SHIFT, WXK_F6, ID_PREV_PANE},
    {wxACCEL_CTRL, WXK_INSERT, ID_EDIT_COPY},
    {wxACCEL_SHIFT, WXK_INSERT, ID_EDIT_PASTE},
    {wxACCEL_CTRL, 'X', ID_EDIT_CUT},
    {wxACCEL_CTRL, 'Z', ID_EDIT_UNDO},
};
const std::size_t kAcceleratorCount = sizeof kAccelerators / sizeof kAccelerators[0];

const int kToolbar[] = {
    ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, 0,
    ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, ID_FILE_PRINT, ID_DELETE_SPRITE, 0,
    ID_EDIT_TILES, ID_EDIT_SPRITES, 0,
    ID_VIEW_COLLISIONS, 0,
    ID_RUN_GAME, 0,
    ID_APP_ABOUT,
};
const std::size_t kToolbarCount = sizeof kToolbar / sizeof kToolbar[0];

namespace {

struct StringEntry
{
    int id;
    const char* text;
};

const StringEntry kStrings[] = {
    {IDR_MAINFRAME, kDocString},
    {ID_EDIT_TILES, "Mostra dialeg selecció de tile"},
    {ID_VIEW_COLLISIONS, "Mostra/Oculta els tiles colisionables"},
    {ID_EDIT_SPRITES, "Mostra dialeg selecció d'sprites"},
    {ID_RUN_GAME, "Executa el nivell"},
    {AFX_IDS_APP_TITLE, "Tavrolu"},
    {AFX_IDS_IDLEMESSAGE, "Preparado"},
    {ID_FILE_NEW, "Crea un nou document\nNou"},
    {ID_FILE_OPEN, "Abri un document ja existent\nObrir"},
    {ID_FILE_SAVE, "Desa el document actiu\nDesar"},
    {ID_FILE_SAVE_AS, "Desa el document actiu amb un nou nom\nDesar com"},
    {ID_FILE_MRU_FILE1, "Obri aquest document"},
    {ID_FILE_MRU_FILE1 + 1, "Abre este documento"},
    {ID_FILE_MRU_FILE1 + 2, "Abre este documento"},
    {ID_FILE_MRU_FILE1 + 3, "Abre este documento"},
    {ID_EDIT_COPY, "Copia la selecció i la coloca en el portapapers\nCopiar"},
    {ID_EDIT_CUT, "Talla la selecció i la coloca al portapapers\nTallar"},
    {ID_EDIT_PASTE, "Enganxa el contingut del portapapers\nEnganxar"},
    {ID_EDIT_UNDO, "Desfa l'última acció\nDesfer"},
    {ID_APP_ABOUT, "Mostra informació del programa\nA prop de"},
    {ID_APP_EXIT, "Exir de l'aplicació\nEixir"},
    {ID_VIEW_TOOLBAR, "Mostra o amaga la barra d'eines\nAlternar Barra d'eines"},
    {ID_VIEW_STATUS_BAR, "Mostra o amaga la barra d'estato\nAlternar Barra d'estat"},
    {ID_INDICATOR_CAPS, "MAY"},
    {ID_INDICATOR_NUM, "NUM"},
    {ID_INDICATOR_SCRL, "DESP"},
};

} // namespace

const char* LoadStringById(int id)
{
    for (const StringEntry& entry : kStrings) {
        if (entry.id == id)
            return entry.text;
    }
    return nullptr;
}

wxString DocumentFilters()
{
    return wxString::FromUTF8(DocStringPart(DOC_FILTER_NAME)) + "|*.tvr|"
           + wxString::FromUTF8(FrameworkText::kAllFilter) + "|*";
}

namespace FrameworkText {
const char* const kUntitled = "Sin título";
const char* const kOpenTitle = "Abrir";
const char* const kSaveAsTitle = "Guardar como";
const char* const kAllFilter = "Todos los archivos (*.*)";
const char* const kRecentPrompt = "Abre este documento";
const char* const kIdle = "Preparado";
const char* const kBadFormat = "Formato de archivo no esperado.";
const char* const kFileNotFound = "No se encontró %1.";
const char* const kAccessDenied = "Acceso denegado a %1.";
const char* const kDiskFull = "Disco lleno al acceder a %1.";
const char* const kSaveFailed = "Imposible guardar documento.";
const char* const kOpenFailed = "Imposible abrir documento.";
const char* const kReadError = "Se produjo un error inesperado al leer %1.";
const char* const kTooManyOpen = "No se pudo abrir %1 porque hay demasiados archivos abiertos.";
const char* const kAskToSave = "¿Desea guardar los cambios de %1?";
} // namespace FrameworkText
