#pragma once
// Pauses a child process with SIGSTOP and waits until every one of its
// threads has really stopped: a signal is delivered asynchronously, and a
// thread running at that moment could still answer a request sent right
// after the call.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <csignal>
#include <sys/types.h>
#include <thread>

inline bool PauseProcess(pid_t pid, int timeoutMs = 5000)
{
    if (::kill(pid, SIGSTOP) != 0)
        return false;
    const QString tasks = "/proc/" + QString::number(pid) + "/task";
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
