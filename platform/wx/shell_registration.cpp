// shell_registration.cpp -- the MIME package, icons and desktop entry of the document type.
#include "platform/wx/shell_registration.h"

#include "platform/resource.h"
#include "platform/wx/icons.h"

#include <wx/file.h>
#include <wx/filename.h>
#include <wx/utils.h>

namespace {

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

// Writes the file only when its content differs; true when it now holds content.
bool WriteIfChanged(const wxString& path, const void* data, size_t size, bool* changed)
{
    if (wxFileName::FileExists(path)) {
        wxFile existing(path);
        if (existing.IsOpened() && size_t(existing.Length()) == size) {
            wxMemoryBuffer old(size);
            if (existing.Read(old.GetWriteBuf(size), size) == ssize_t(size)
                && memcmp(old.GetData(), data, size) == 0)
                return true;
        }
    }
    if (!wxFileName::Mkdir(wxFileName(path).GetPath(), wxS_DIR_DEFAULT, wxPATH_MKDIR_FULL))
        return false;
    wxFile out;
    wxString temp = path + ".new";
    if (!out.Create(temp, true) || !out.Write(data, size) || !out.Close())
        return false;
    if (!wxRenameFile(temp, path, true))
        return false;
    *changed = true;
    return true;
}

bool WriteText(const wxString& path, const wxString& text, bool* changed)
{
    const wxScopedCharBuffer utf8 = text.utf8_str();
    return WriteIfChanged(path, utf8.data(), utf8.length(), changed);
}

// Inside a quoted Exec argument \ " ` $ take a backslash, then the value's own escaping doubles
// every backslash; a literal % is written %%.
wxString ExecQuote(wxString s)
{
    s.Replace("\\", "\\\\\\\\");
    for (const char* ch : {"\"", "`", "$"})
        s.Replace(ch, wxString("\\\\") + ch);
    s.Replace("%", "%%");
    return "\"" + s + "\"";
}

// An installed program is started through the launcher beside it, which readies its working
// folder; a program run from its build folder is started as it is, in the folder it ran in.
wxString LauncherBeside(const wxString& executable, const ShellFileType& type)
{
    wxFileName launcher(executable);
    launcher.SetFullName(type.appName.Lower() + "-launch");
    return launcher.IsFileExecutable() ? launcher.GetFullPath() : wxString();
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
// the program itself with the working folder it was started in.
wxString DesktopEntry(const ShellFileType& type, const wxString& executable,
                      const wxString& workingDir)
{
    const wxString launcher = LauncherBeside(executable, type);
    wxString exec = "Exec=" + ExecQuote(launcher.empty() ? executable : launcher) + " %f\n";
    if (launcher.empty())
        exec += "Path=" + workingDir + "\n";
    wxString entry = ResourceText("DESKTOP_ENTRY");
    entry.Replace("Exec=@TAVROLU_EXEC@ %f\n", exec);
    return entry;
}

int RunQuietly(const wxString& command)
{
    wxArrayString out, err;
    return wxExecute(command, out, err, wxEXEC_SYNC | wxEXEC_NODISABLE);
}

bool WriteIcons(const ShellFileType& type, const wxString& icons, bool* changed)
{
    bool ok = true;
    for (int size : {16, 32}) {
        wxString dir = wxString::Format("%s/hicolor/%dx%d", icons, size, size);
        wxMemoryBuffer doc = IconPng(type.docIcon, size), app = IconPng(type.appIcon, size);
        if (!doc.IsEmpty())
            ok &= WriteIfChanged(dir + "/mimetypes/" + IconName(MimeTypeOf(type)) + ".png",
                                 doc.GetData(), doc.GetDataLen(), changed);
        if (!app.IsEmpty())
            ok &= WriteIfChanged(dir + "/apps/" + type.appName.Lower() + ".png", app.GetData(),
                                 app.GetDataLen(), changed);
    }
    return ok;
}

// The extension goes to this program only while no other program is the type's default.
void BindDefaultIfFree(const ShellFileType& type)
{
    wxString list = ConfigHome() + "/mimeapps.list";
    wxString mime = MimeTypeOf(type);
    if (wxFileName::FileExists(list)) {
        wxFile f(list);
        wxString content;
        if (f.IsOpened() && f.ReadAll(&content) && content.Contains(mime + "="))
            return;
    }
    RunQuietly("xdg-mime default " + DesktopFileName(type) + " " + mime);
}

} // namespace

wxString MimeTypeOf(const ShellFileType& type)
{
    return "application/x-" + type.typeId.Lower();
}

bool RegisterShellFileTypes(const ShellFileType& type, const wxString& executable,
                            const wxString& workingDir)
{
    const wxString data = DataHome();
    bool mimeChanged = false, desktopChanged = false, iconsChanged = false;

    bool ok = WriteText(data + "/mime/packages/" + type.typeId + ".xml", ResourceText("MIME_PACKAGE"),
                        &mimeChanged);

    wxString entry = DesktopEntry(type, executable, workingDir);
    ok &= WriteText(data + "/applications/" + DesktopFileName(type), entry, &desktopChanged);
    ok &= WriteIcons(type, data + "/icons", &iconsChanged);

    if (mimeChanged)
        RunQuietly("update-mime-database \"" + data + "/mime\"");
    if (desktopChanged)
        RunQuietly("update-desktop-database -q \"" + data + "/applications\"");
    BindDefaultIfFree(type);
    return ok;
}
