#pragma once
// Pauses a process (a kernel, say) with SIGSTOP for one scope and lets it go
// on again when the scope ends, also when an assertion returns early or an
// exception leaves the test. The pause waits until every thread of the
// process has really stopped: a signal is delivered asynchronously, and a
// thread running at that moment could still answer a request sent right
// after it.
//
// A small sentinel process watches this one while the pause lasts: if the
// test process dies (a crash, a timeout's kill), the sentinel lets the paused
// process go on, so that it reads the end of its link and ends instead of
// staying stopped for good.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

class PausedProcess {
public:
    explicit PausedProcess(pid_t pid, int timeoutMs = 30000) : m_pid(pid)
    {
        if (pid <= 0)
            return;
        WatchForOurEnd();
        m_stopped = ::kill(pid, SIGSTOP) == 0 && WaitUntilStopped(timeoutMs);
    }
    ~PausedProcess()
    {
        Resume();
        if (m_sentinel > 0) {
            ::close(m_release);
            while (::waitpid(m_sentinel, nullptr, 0) < 0 && errno == EINTR) {
            }
        }
    }
    PausedProcess(const PausedProcess&) = delete;
    PausedProcess& operator=(const PausedProcess&) = delete;

    // Whether every thread of the process stopped in time.
    bool Stopped() const { return m_stopped; }
    // Lets the process go on now (the scope's end does nothing more).
    void Resume()
    {
        if (m_pid > 0)
            ::kill(m_pid, SIGCONT);
        m_pid = 0;
    }

private:
    // The sentinel keeps only the read end of a pipe whose write end this
    // process holds: it reads the end of the pipe when the guard goes or this
    // process dies, and continues the paused process either way.
    void WatchForOurEnd()
    {
        int pipe[2];
        if (::pipe2(pipe, O_CLOEXEC) != 0)
            return;
        m_sentinel = ::fork();
        if (m_sentinel == 0) {
            ::dup2(pipe[0], 0);
            ::close_range(1, ~0U, 0);
            char byte;
            while (::read(0, &byte, 1) < 0 && errno == EINTR) {
            }
            ::kill(m_pid, SIGCONT);
            ::_exit(0);
        }
        ::close(pipe[0]);
        if (m_sentinel < 0)
            ::close(pipe[1]);
        else
            m_release = pipe[1];
    }

    bool WaitUntilStopped(int timeoutMs) const
    {
        const QString tasks = "/proc/" + QString::number(m_pid) + "/task";
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < timeoutMs) {
            bool allStopped = true;
            for (const QString& task : QDir(tasks).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
                QFile stat(tasks + "/" + task + "/stat");
                if (!stat.open(QIODevice::ReadOnly))
                    continue;
                const QByteArray text = stat.readAll();
                const int close = text.lastIndexOf(')');
                if (close < 0 || close + 2 >= text.size() || (text[close + 2] != 'T' && text[close + 2] != 't'))
                    allStopped = false;
            }
            if (allStopped)
                return true;
            std::this_thread::yield();
        }
        return false;
    }

    pid_t m_pid;
    pid_t m_sentinel = -1;
    int m_release = -1;
    bool m_stopped = false;
};
