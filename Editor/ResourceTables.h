// ResourceTables.h -- the editor's resource script as data: document string, menu, accelerator
// table, toolbar, status-bar panes and the string table's prompts and framework texts.
#pragma once

#include <cstddef>

#include <wx/string.h>

// The document template's string: seven fields separated by line breaks.
extern const char* const kDocString;
enum DocStringField
{
    DOC_WINDOW_TITLE,
    DOC_DOC_NAME,
    DOC_FILE_NEW_NAME,
    DOC_FILTER_NAME,
    DOC_FILTER_EXT,
    DOC_REG_FILE_TYPE_ID,
    DOC_REG_FILE_TYPE_NAME,
};
// One field of kDocString (UTF-8), empty when the field is empty.
const char* DocStringPart(DocStringField field);

// Menu: a popup starts with its title; items follow until the next popup. id 0 is a separator.
struct MenuEntry
{
    enum Kind { POPUP, ITEM, SEPARATOR, END } kind;
    int id;
    const char* text; // UTF-8; the part after a tab is the key shown, which does not act by itself
    bool grayed;
    bool checkable;
};
extern const MenuEntry kMenu[];

// Accelerators: key (a wx key code) and the modifiers that must be held, exactly.
struct AccelEntry
{
    int flags; // wxACCEL_NORMAL, wxACCEL_CTRL, wxACCEL_SHIFT, wxACCEL_ALT
    int key;
    int command;
};
extern const AccelEntry kAccelerators[];
extern const std::size_t kAcceleratorCount;

// Toolbar: command ids in order, 0 for a separator; buttons take the 16-pixel cells of the strip
// in button order.
extern const int kToolbar[];
extern const std::size_t kToolbarCount;

// The open and save dialogs' filters: the document's, then every file.
wxString DocumentFilters();

// String table: command prompts (status text, then optionally "\n" and the tool tip) and the
// framework's texts, by id. NULL when there is no entry.
const char* LoadStringById(int id);

// The framework's own texts, in Spanish as the program's framework shows them.
namespace FrameworkText {
extern const char* const kUntitled;        // "Sin título"
extern const char* const kOpenTitle;       // "Abrir"
extern const char* const kSaveAsTitle;     // "Guardar como"
extern const char* const kAllFilter;       // "Todos los archivos (*.*)"
extern const char* const kRecentPrompt;    // "Abre este documento"
extern const char* const kIdle;            // "Preparado"
extern const char* const kBadFormat;       // "Formato de archivo no esperado."
extern const char* const kFileNotFound;    // "No se encontró %1."
extern const char* const kAccessDenied;    // "Acceso denegado a %1."
extern const char* const kDiskFull;        // "Disco lleno al acceder a %1."
extern const char* const kSaveFailed;      // "Imposible guardar documento."
extern const char* const kOpenFailed;      // "Imposible abrir documento."
extern const char* const kReadError;       // "Se produjo un error inesperado al leer %1."
extern const char* const kTooManyOpen;     // "No se pudo abrir %1 porque hay demasiados ..."
extern const char* const kAskToSave;       // "¿Desea guardar los cambios de %1?"
} // namespace FrameworkText
