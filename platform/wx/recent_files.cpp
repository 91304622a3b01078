// recent_files.cpp -- the recent-file list and its settings.
#include "platform/wx/recent_files.h"

#include "platform/wx/file_names.h"

#include <algorithm>

namespace {
const char* const kSection = "/Recent File List/";
// No path is longer; a longer entry (a hand-edited settings file) would only freeze the menu.
const size_t kMaxPathBytes = 4096;
}

void RecentFileList::Load(wxConfigBase* config)
{
    m_files.clear();
    if (config == nullptr)
        return;
    for (size_t i = 0; i < m_max; i++) {
        wxString path;
        if (config->Read(wxString::Format("%sFile%zu", kSection, i + 1), &path) && !path.empty()
            && FileNameBytes(path).size() <= kMaxPathBytes)
            m_files.push_back(path);
    }
}

void RecentFileList::Save(wxConfigBase* config) const
{
    if (config == nullptr)
        return;
    for (size_t i = 0; i < m_max; i++) {
        wxString key = wxString::Format("%sFile%zu", kSection, i + 1);
        if (i < m_files.size())
            config->Write(key, m_files[i]);
        else
            config->DeleteEntry(key, false);
    }
    config->Flush();
}

void RecentFileList::Add(wxString path)
{
    auto it = std::find(m_files.begin(), m_files.end(), path);
    if (it != m_files.end())
        m_files.erase(it);
    m_files.insert(m_files.begin(), path);
    if (m_files.size() > m_max)
        m_files.resize(m_max);
}

void RecentFileList::Remove(size_t index)
{
    if (index < m_files.size())
        m_files.erase(m_files.begin() + index);
}

wxString RecentFileList::MenuLabel(size_t index) const
{
    wxString path = FileDisplayName(m_files[index]);
    path.Replace("&", "&&");
    return wxString::Format("&%zu %s", index + 1, path);
}
