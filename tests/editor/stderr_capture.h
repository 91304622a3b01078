// stderr_capture.h -- what a piece of a test writes on standard error, for the checks of lines
// the program leaves there.
#pragma once

#include <cstdio>
#include <string>
#include <unistd.h>

// Standard error goes into a temporary file from construction until Take, which returns it.
class StderrCapture
{
public:
    StderrCapture() : m_file(std::tmpfile()), m_saved(dup(2))
    {
        std::fflush(stderr);
        dup2(fileno(m_file), 2);
    }
    ~StderrCapture()
    {
        Restore();
        std::fclose(m_file);
        close(m_saved);
    }
    StderrCapture(const StderrCapture&) = delete;
    StderrCapture& operator=(const StderrCapture&) = delete;

    std::string Take()
    {
        Restore();
        std::string text;
        std::rewind(m_file);
        for (int c; (c = std::fgetc(m_file)) != EOF;)
            text += char(c);
        return text;
    }

private:
    void Restore()
    {
        std::fflush(stderr);
        dup2(m_saved, 2);
    }

    std::FILE* m_file;
    int m_saved;
};
