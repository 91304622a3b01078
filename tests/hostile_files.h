// hostile_files.h -- for tests of FIFOs and of rights: a FIFO that an open stuck on it is freed
// from after a deadline, and a check run as an unprivileged user when the tests run as root.
#pragma once

#include <chrono>
#include <condition_variable>
#include <fcntl.h>
#include <functional>
#include <grp.h>
#include <mutex>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

// Makes a FIFO at path. Should the code under test block opening it, a helper opens the other
// end after the deadline, so the test fails (Rescued) instead of hanging.
class GuardedFifo
{
public:
    explicit GuardedFifo(std::string path, int seconds = 10) : m_path(std::move(path))
    {
        m_made = ::mkfifo(m_path.c_str(), 0666) == 0;
        m_helper = std::thread([this, seconds] {
            std::unique_lock<std::mutex> lock(m_lock);
            if (m_cv.wait_for(lock, std::chrono::seconds(seconds), [this] { return m_done; }))
                return;
            m_rescued = true;
            while (!m_done) {
                for (int mode : {O_WRONLY, O_RDONLY}) {
                    int fd = ::open(m_path.c_str(), mode | O_NONBLOCK);
                    if (fd >= 0)
                        ::close(fd);
                }
                m_cv.wait_for(lock, std::chrono::milliseconds(50));
            }
        });
    }
    ~GuardedFifo()
    {
        {
            std::lock_guard<std::mutex> lock(m_lock);
            m_done = true;
        }
        m_cv.notify_all();
        m_helper.join();
    }
    GuardedFifo(const GuardedFifo&) = delete;
    GuardedFifo& operator=(const GuardedFifo&) = delete;

    bool IsMade() const { return m_made; }
    // True when something blocked on the FIFO until the deadline.
    bool Rescued()
    {
        std::lock_guard<std::mutex> lock(m_lock);
        return m_rescued;
    }

private:
    std::string m_path;
    bool m_made = false;
    bool m_done = false;
    bool m_rescued = false;
    std::mutex m_lock;
    std::condition_variable m_cv;
    std::thread m_helper;
};

// Runs body as user and group 65534 (nobody), member of the groups given besides, in a child
// process when this process is root, as itself otherwise; returns body's result (0-255), or -1
// when the child could not run it.
inline int RunUnprivileged(const std::function<int()>& body, std::vector<gid_t> groups = {})
{
    if (::geteuid() != 0)
        return body();
    pid_t pid = ::fork();
    if (pid == 0) {
        if (::setgroups(groups.size(), groups.data()) != 0
            || ::setresgid(65534, 65534, 65534) != 0
            || ::setresuid(65534, 65534, 65534) != 0)
            ::_exit(255);
        ::_exit(body());
    }
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status)
        || WEXITSTATUS(status) == 255)
        return -1;
    return WEXITSTATUS(status);
}
