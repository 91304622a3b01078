// settings_file.cpp -- opening the settings file: a damaged one cut down to its sound lines.
#include "platform/wx/settings_file.h"

#include "platform/file.h"
#include "platform/safe_write.h"
#include "platform/wx/file_names.h"

#include <wx/fileconf.h>
#include <wx/mstream.h>

#include <cerrno>
#include <sys/stat.h>

namespace {

bool IsPlainNameChar(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == ' '
           || c == '_' || c == '-' || c == '.';
}

// A group's or key's name as the toolkit writes it: letters, digits, " _-.", and any printable
// character after a backslash (it writes "Recent\ File\ List").
bool IsPlainName(const std::string& name)
{
    if (name.empty() || name.front() == ' ' || name.back() == ' ' || name == "." || name == "..")
        return false;
    for (size_t i = 0; i < name.size(); i++) {
        if (name[i] == '\\') {
            if (++i == name.size() || name[i] < ' ' || name[i] > '~')
                return false;
        } else if (!IsPlainNameChar(name[i])) {
            return false;
        }
    }
    return true;
}

// "[a/b]": each part of the group's path a plain name.
bool IsGroupLine(const std::string& line)
{
    if (line.size() < 3 || line.front() != '[' || line.back() != ']')
        return false;
    const std::string path = line.substr(1, line.size() - 2);
    for (size_t start = 0;;) {
        size_t slash = path.find('/', start);
        if (!IsPlainName(path.substr(start, slash - start)))
            return false;
        if (slash == std::string::npos)
            return true;
        start = slash + 1;
    }
}

bool IsEntryLine(const std::string& line)
{
    size_t eq = line.find('=');
    if (eq == std::string::npos)
        return false;
    std::string key = line.substr(0, eq);
    key.erase(key.find_last_not_of(" \t") + 1);
    return IsPlainName(key);
}

bool LineMakesSense(const std::string& raw)
{
    // UTF-8 throughout, with no NUL: the text the toolkit reads is the text we checked.
    if (raw.find('\0') != std::string::npos
        || (!raw.empty() && wxString::FromUTF8(raw.data(), raw.size()).empty()))
        return false;
    const size_t first = raw.find_first_not_of(" \t");
    if (first == std::string::npos)
        return true;
    const std::string line = raw.substr(first, raw.find_last_not_of(" \t") + 1 - first);
    return line[0] == '#' || line[0] == ';' || IsGroupLine(line) || IsEntryLine(line);
}

enum class FileState
{
    missing,
    regular,
    unusable
};

FileState ReadSettings(const std::string& path, std::string* bytes)
{
    struct stat st;
    if (::stat(path.c_str(), &st) != 0)
        return errno == ENOENT ? FileState::missing : FileState::unusable;
    return ReadRegularFile(path.c_str(), bytes) ? FileState::regular : FileState::unusable;
}

bool Replace(const std::string& path, const std::string& bytes)
{
    try {
        WriteFileSafely(
            path.c_str(), [&](CFile& file) { file.Write(bytes.data(), UINT(bytes.size())); },
            SafeWriteKind::scratch);
        return true;
    } catch (CFileException* e) {
        e->Delete();
        return false;
    }
}

} // namespace

std::string SettingsLinesThatMakeSense(const std::string& bytes)
{
    std::string kept;
    for (size_t start = 0; start < bytes.size();) {
        size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string::npos)
            end = bytes.size();
        const std::string line = bytes.substr(start, end - start);
        if (LineMakesSense(line))
            kept += line + "\n";
        start = bytes.compare(end, 2, "\r\n") == 0 ? end + 2 : end + 1;
    }
    return kept;
}

wxFileConfig* OpenSettingsFile(const wxString& appName, const wxString& vendorName,
                               const wxString& path)
{
    const std::string name = FileNameBytes(path);
    std::string bytes;
    FileState state = ReadSettings(name, &bytes);
    std::string sound = SettingsLinesThatMakeSense(bytes);
    wxFileConfig* config;
    const bool replaced = state == FileState::regular && (sound == bytes || Replace(name, sound));
    const bool usable = state == FileState::missing || replaced;
    if (usable) {
        config = new wxFileConfig(appName, vendorName, path, wxString(), wxCONFIG_USE_LOCAL_FILE);
    } else {
        wxMemoryInputStream in(sound.data(), sound.size());
        config = new wxFileConfig(in);
    }
    config->SetExpandEnvVars(false);
    return config;
}
