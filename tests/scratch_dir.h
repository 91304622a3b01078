// scratch_dir.h -- a fresh folder under /tmp for one test, removed with all it holds afterwards.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/stat.h>

// Short on purpose: the music's file names may not exceed 50 characters.
class ScratchDir
{
public:
    ScratchDir()
    {
        char name[] = "/tmp/tvXXXXXX";
        if (mkdtemp(name) != nullptr)
            m_path = name;
    }
    ~ScratchDir()
    {
        if (m_path.empty())
            return;
        // A test may have taken write permission away to provoke a failure.
        chmod(m_path.c_str(), 0700);
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    bool IsMade() const { return !m_path.empty(); }
    const std::string& Path() const { return m_path; }
    std::string File(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

// Runs a test inside a scratch folder, so files the engine writes beside it (manager.bak) never
// meet another test's; the old working directory comes back at the end.
class ScratchWorkingDir
{
public:
    ScratchWorkingDir() : m_old(std::filesystem::current_path())
    {
        if (m_dir.IsMade())
            std::filesystem::current_path(m_dir.Path());
    }
    ~ScratchWorkingDir() { std::filesystem::current_path(m_old); }
    const std::string& Path() const { return m_dir.Path(); }

private:
    ScratchDir m_dir;
    std::filesystem::path m_old;
};
