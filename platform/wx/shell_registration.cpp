// shell_registration.cpp -- the MIME package, icons and desktop entry of the document type.
#include "platform/wx/shell_registration.h"

#include "platform/background_tools.h"
#include "platform/file.h"
#include "platform/resource.h"
#include "platform/safe_write.h"
#include "platform/wx/file_names.h"
#include "platform/wx/icons.h"
#include "platform/wx/utf8.h"

#include <wx/filename.h>
#include <wx/utils.h>

#include <climits>
#include <cstdint>
#include <cstring>
#include <cstdlib>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

const std::chrono::seconds kToolTimeLimit(20);


wxString DataHome()
{
    wxString dir;
    if (wxGetEnv("XDG_DATA_HOME", &dir) && !dir.empty())
        return dir;
    return wxGetHomeDir() + "/.local/share";
}

wxString ConfigHome()
{
    wxString dir;
    if (wxGetEnv("XDG_CONFIG_HOME", &dir) && !dir.empty())
        return dir;
    return wxGetHomeDir() + "/.config";
}

// Writes the file only when its content differs; true when it now holds content. Sets *changed
// (when given) once the file is written.
bool WriteIfChanged(const wxString& path, const void* data, size_t size, bool* changed)
{
    std::string old;
    if (ReadRegularFile(FileNameBytes(path).c_str(), &old) && old.size() == size
        && memcmp(old.data(), data, size) == 0)
        return true;
    if (!wxFileName::Mkdir(wxFileName(path).GetPath(), wxS_DIR_DEFAULT, wxPATH_MKDIR_FULL))
        return false;
    // Written as a map is saved: a failure leaves the old file, a killed start nothing.
    if (!WriteBytesSafely(FileNameBytes(path).c_str(), data, size))
        return false;
    if (changed != nullptr)
        *changed = true;
    return true;
}

bool WriteText(const wxString& path, const wxString& text, bool* changed)
{
    const wxScopedCharBuffer utf8 = text.utf8_str();
    return WriteIfChanged(path, utf8.data(), utf8.length(), changed);
}

// Inside a quoted Exec argument \ " ` $ take a backslash; a literal % is written %%. The value's
// own escapes (EscapeValue) come on top.
wxString ExecQuote(wxString s)
{
    s.Replace("\\", "\\\\");
    for (const char* ch : {"\"", "`", "$"})
        s.Replace(ch, wxString("\\") + ch);
    s.Replace("%", "%%");
    return "\"" + s + "\"";
}

// A string value as the desktop-entry format writes it, so that no value can start a line or a
// key of its own: \\ \n \t \r, and \s for a leading space. False for a value the format cannot
// carry: empty, or holding another control character.
bool EscapeValue(const wxString& value, wxString* escaped)
{
    escaped->clear();
    for (wxUniChar ch : value) {
        switch (ch.GetValue()) {
        case '\\': *escaped += "\\\\"; break;
        case '\n': *escaped += "\\n"; break;
        case '\t': *escaped += "\\t"; break;
        case '\r': *escaped += "\\r"; break;
        default:
            if (ch.GetValue() < 0x20 || ch.GetValue() == 0x7f)
                return false;
            *escaped += ch;
        }
    }
    if (escaped->StartsWith(" "))
        escaped->replace(0, 1, "\\s");
    return !escaped->empty();
}

// A path as the system names it, as the entry (a UTF-8 file) can hold it; false for bytes that
// are not UTF-8, which no entry could name.
bool Utf8Path(const std::string& bytes, wxString* path)
{
    if (bytes.empty() || !IsUtf8(bytes.data(), bytes.size()))
        return false;
    *path = wxString::FromUTF8(bytes.data(), bytes.size());
    return true;
}

std::string ExecutablePath()
{
    std::vector<char> buffer(PATH_MAX);
    ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    return n > 0 && size_t(n) < buffer.size() ? std::string(buffer.data(), size_t(n)) : std::string();
}

std::string WorkingDir()
{
    std::unique_ptr<char, decltype(&free)> dir(::getcwd(nullptr, 0), &free);
    return dir ? std::string(dir.get()) : std::string();
}

// An installed program is started through the launcher beside it, which readies its working
// folder; a program run from its build folder is started as it is, in the folder it ran in.
std::string LauncherBeside(const std::string& executable, const ShellFileType& type)
{
    std::string launcher = executable.substr(0, executable.rfind('/') + 1)
                           + std::string(type.appName.Lower().utf8_str()) + "-launch";
    struct stat st;
    return ::stat(launcher.c_str(), &st) == 0 && S_ISREG(st.st_mode)
                   && ::access(launcher.c_str(), X_OK) == 0
               ? launcher
               : std::string();
}

wxString IconName(const wxString& mime)
{
    wxString name = mime;
    name.Replace("/", "-");
    return name;
}

wxString DesktopFileName(const ShellFileType& type)
{
    return type.appName.Lower() + ".desktop";
}

// The embedded text of a resource (the files the install step installs too).
wxString ResourceText(const char* name)
{
    const EmbeddedResource* res = FindResourceByName("TEXT", name);
    return res != nullptr ? wxString::FromUTF8(reinterpret_cast<const char*>(res->data), res->size)
                          : wxString();
}

// The installed package's entry, byte for byte, when the launcher is used; run from a build,
// the program itself with the working folder it was started in. False when a path cannot be
// written into the entry safely.
bool DesktopEntry(const ShellFileType& type, wxString* entry)
{
    const std::string executable = ExecutablePath();
    const std::string launcher = LauncherBeside(executable, type);
    wxString program, dir, exec, path;
    if (!Utf8Path(launcher.empty() ? executable : launcher, &program)
        || !EscapeValue(ExecQuote(program) + " %f", &exec))
        return false;
    wxString lines = "Exec=" + exec + "\n";
    if (launcher.empty()) {
        if (!Utf8Path(WorkingDir(), &dir) || !EscapeValue(dir, &path))
            return false;
        lines += "Path=" + path + "\n";
    }
    *entry = ResourceText("DESKTOP_ENTRY");
    entry->Replace("Exec=@TAVROLU_EXEC@ %f\n", lines);
    return true;
}

bool WriteIcons(const ShellFileType& type, const wxString& icons)
{
    bool ok = true;
    for (int size : {16, 32}) {
        wxString dir = wxString::Format("%s/hicolor/%dx%d", icons, size, size);
        wxMemoryBuffer doc = IconPng(type.docIcon, size), app = IconPng(type.appIcon, size);
        if (!doc.IsEmpty())
            ok &= WriteIfChanged(dir + "/mimetypes/" + IconName(MimeTypeOf(type)) + ".png",
                                 doc.GetData(), doc.GetDataLen(), nullptr);
        if (!app.IsEmpty())
            ok &= WriteIfChanged(dir + "/apps/" + type.appName.Lower() + ".png", app.GetData(),
                                 app.GetDataLen(), nullptr);
    }
    return ok;
}

// The extension goes to this program only while no other program is the type's default.
void BindDefaultIfFree(const ShellFileType& type, std::vector<ToolCommand>* tools)
{
    const wxString mime = MimeTypeOf(type);
    std::string list;
    if (ReadRegularFile(FileNameBytes(ConfigHome() + "/mimeapps.list").c_str(), &list)
        && list.find(FileNameBytes(mime + "=")) != std::string::npos)
        return;
    tools->push_back(
        {"xdg-mime", "default", FileNameBytes(DesktopFileName(type)), FileNameBytes(mime)});
}

// What the desktop's databases are built from, as the mark keeps it: a 64-bit FNV-1a digest of
// the package and the entry, in hex.
std::string RegisteredMark(const wxString& package, const wxString& entry)
{
    std::uint64_t hash = 14695981039346656037ull;
    for (const wxString& text : {package, entry}) {
        const wxScopedCharBuffer utf8 = text.utf8_str();
        for (size_t i = 0; i < utf8.length(); i++)
            hash = (hash ^ static_cast<unsigned char>(utf8.data()[i])) * 1099511628211ull;
    }
    return wxString::Format("%016llx\n", static_cast<unsigned long long>(hash)).ToStdString();
}

bool MarkSays(const wxString& mark, const std::string& registered)
{
    std::string held;
    return ReadRegularFile(FileNameBytes(mark).c_str(), &held) && held == registered;
}

// Runs on the tools' thread once they have all succeeded; a mark that cannot be written only
// has them run again at the next start.
void WriteMark(const std::string& path, const std::string& registered)
{
    WriteBytesSafely(path.c_str(), registered.data(), registered.size(), SafeWriteKind::scratch);
}

} // namespace

wxString MimeTypeOf(const ShellFileType& type)
{
    return "application/x-" + type.typeId.Lower();
}

bool RegisterShellFileTypes(const ShellFileType& type)
{
    const wxString data = DataHome();
    const wxString package = ResourceText("MIME_PACKAGE");
    bool mimeChanged = false, desktopChanged = false;

    bool ok = WriteText(data + "/mime/packages/" + type.typeId + ".xml", package, &mimeChanged);

    // An entry that cannot name its program or folder safely is not written at all.
    wxString entry;
    const bool entryWritten = DesktopEntry(type, &entry)
                              && WriteText(data + "/applications/" + DesktopFileName(type), entry,
                                           &desktopChanged);
    ok &= entryWritten;
    ok &= WriteIcons(type, data + "/icons");

    // The desktop's tools read whatever lies in those folders, a FIFO included: they run in the
    // background, and one that has not finished in this time never will. Their databases are
    // built again when a file changed, and whenever the mark does not say they were built from
    // these very files: a start the program's end cut short leaves it stale or missing.
    const wxString mark = data + "/" + type.appName.Lower() + "/registered";
    const std::string registered = RegisteredMark(package, entryWritten ? entry : wxString());
    const bool redo = !MarkSays(mark, registered);
    std::vector<ToolCommand> tools;
    if (mimeChanged || redo)
        tools.push_back({"update-mime-database", FileNameBytes(data + "/mime")});
    if (entryWritten && (desktopChanged || redo))
        tools.push_back({"update-desktop-database", "-q", FileNameBytes(data + "/applications")});
    if (!tools.empty()) {
        wxFileName::Mkdir(wxFileName(mark).GetPath(), wxS_DIR_DEFAULT, wxPATH_MKDIR_FULL);
        RunToolsInBackground(tools, kToolTimeLimit,
                             [path = FileNameBytes(mark), registered] { WriteMark(path, registered); });
    }
    std::vector<ToolCommand> bind;
    BindDefaultIfFree(type, &bind);
    RunToolsInBackground(bind, kToolTimeLimit);
    return ok;
}
