// settings_file.cpp -- opening the settings file: the program's own entries read from a bounded
// start of it, and the file cut down to them.
#include "platform/wx/settings_file.h"

#include "platform/file.h"
#include "platform/safe_write.h"
#include "platform/wx/file_names.h"
#include "platform/wx/utf8.h"

#include <wx/fileconf.h>
#include <wx/mstream.h>

#include <algorithm>
#include <cerrno>
#include <map>
#include <sys/stat.h>

namespace {

// Far more than the program ever writes. The toolkit's parser takes time and memory that grow
// with the square of what it is given: a file of megabytes would hold up every start.
const size_t kMaxSettingsBytes = 64 * 1024;

// The one group the program writes, as the toolkit writes its header.
const char* const kRecentGroup = "Recent File List";
const char* const kRecentGroupLine = "[Recent\\ File\\ List]";

// The settings the program writes, and so the only ones it reads: the recent-file list
// (recent_files.h), File1 to File9. A setting the program comes to write is added here.
bool IsProgramsSetting(const std::string& group, const std::string& key)
{
    return group == kRecentGroup && key.size() == 5 && key.compare(0, 4, "File") == 0
           && key[4] >= '1' && key[4] <= '9';
}

// A group's or key's name as the toolkit reads it: a backslash takes the next character as it
// is. A name that ends in a lone backslash is no name.
bool Unescape(const std::string& raw, std::string* name)
{
    name->clear();
    for (size_t i = 0; i < raw.size(); i++) {
        if (raw[i] == '\\' && ++i == raw.size())
            return false;
        *name += raw[i];
    }
    return true;
}

std::string Trimmed(const std::string& s)
{
    const size_t first = s.find_first_not_of(" \t");
    if (first == std::string::npos)
        return std::string();
    return s.substr(first, s.find_last_not_of(" \t") + 1 - first);
}

// The program's entries, by key, each with its value's text as written: the toolkit decodes it
// the same way from the file written back. A later line for a key wins, as in the toolkit.
class EntryReader
{
public:
    void Line(const std::string& raw)
    {
        // UTF-8 throughout, with no NUL: the text the toolkit reads is the text checked here.
        if (raw.find('\0') != std::string::npos || !IsUtf8(raw.data(), raw.size()))
            return;
        const std::string line = Trimmed(raw);
        if (!line.empty() && line.front() == '[') {
            // A header that is not plainly one opens a group that is not ours.
            if (line.back() != ']' || !Unescape(line.substr(1, line.size() - 2), &m_group))
                m_group.clear();
            return;
        }
        const size_t eq = line.find('=');
        std::string key;
        if (eq == std::string::npos || !Unescape(Trimmed(line.substr(0, eq)), &key)
            || !IsProgramsSetting(m_group, key))
            return;
        // The value as written, from its first character that is not a blank.
        const size_t value = raw.find_first_not_of(" \t", raw.find('=') + 1);
        m_entries[key] = value == std::string::npos ? std::string() : raw.substr(value);
    }

    std::string Text() const
    {
        if (m_entries.empty())
            return std::string();
        std::string text = std::string(kRecentGroupLine) + "\n";
        for (const auto& entry : m_entries)
            text += entry.first + "=" + entry.second + "\n";
        return text;
    }

private:
    std::string m_group;
    std::map<std::string, std::string> m_entries;
};

enum class FileState
{
    missing,
    regular,
    unusable
};

// Reads at most limit bytes of a regular file; *whole tells whether that was all of it.
FileState ReadStart(const std::string& path, size_t limit, std::string* bytes, bool* whole)
{
    struct stat st;
    if (::stat(path.c_str(), &st) != 0)
        return errno == ENOENT ? FileState::missing : FileState::unusable;
    // A byte past the limit tells a file that goes on.
    if (!ReadRegularFile(path.c_str(), bytes, limit + 1))
        return FileState::unusable;
    *whole = bytes->size() <= limit;
    if (!*whole)
        bytes->resize(limit);
    return FileState::regular;
}

// The program's entries among the bytes; a line the limit cut short is not read.
std::string ProgramsEntries(const std::string& bytes, bool whole)
{
    EntryReader reader;
    size_t end = bytes.size();
    if (!whole) {
        const size_t last = bytes.find_last_of("\r\n");
        end = last == std::string::npos ? 0 : last;
    }
    for (size_t start = 0; start < end;) {
        size_t stop = std::min(bytes.find_first_of("\r\n", start), end);
        reader.Line(bytes.substr(start, stop - start));
        start = stop + 1;
    }
    return reader.Text();
}

} // namespace

wxFileConfig* OpenSettingsFile(const wxString& appName, const wxString& vendorName,
                               const wxString& path)
{
    const std::string name = FileNameBytes(path);
    std::string bytes;
    bool whole = true;
    const FileState state = ReadStart(name, kMaxSettingsBytes, &bytes, &whole);
    const std::string kept = ProgramsEntries(bytes, whole);
    const bool replaced =
        state == FileState::regular
        && ((whole && kept == bytes)
            || WriteBytesSafely(name.c_str(), kept.data(), kept.size(), SafeWriteKind::scratch));
    wxFileConfig* config;
    if (state == FileState::missing || replaced) {
        config = new wxFileConfig(appName, vendorName, path, wxString(), wxCONFIG_USE_LOCAL_FILE);
    } else {
        wxMemoryInputStream in(kept.data(), kept.size());
        config = new wxFileConfig(in);
    }
    config->SetExpandEnvVars(false);
    return config;
}
