// recent_files.h -- the framework's list of recently used files, kept in the settings as
// "Recent File List"/"File1".."FileN", the most recent first.
#pragma once

#include <wx/config.h>
#include <wx/string.h>

#include <vector>

class RecentFileList
{
public:
    explicit RecentFileList(size_t maxFiles) : m_max(maxFiles) {}

    // Entries longer than a path can be (4096 bytes) are dropped.
    void Load(wxConfigBase* config);
    void Save(wxConfigBase* config) const;

    // Moves path to the top, dropping the oldest beyond the maximum.
    // Takes its own copy: the path may be one of the list's entries.
    void Add(wxString path);
    void Remove(size_t index);

    size_t Count() const { return m_files.size(); }
    const wxString& Get(size_t index) const { return m_files[index]; }
    // A menu label for an entry: "&1 name", the path as the desktop shows it (U+FFFD for each
    // byte that is not UTF-8), with any '&' doubled.
    wxString MenuLabel(size_t index) const;

private:
    size_t m_max;
    std::vector<wxString> m_files;
};
