#include "platform/framework/WorkerThread.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

QThread* AfxBeginThread(AFX_THREADPROC proc, void* param)
{
    return AfxBeginThread([proc, param] { return proc(param); });
}

QThread* AfxBeginThread(std::function<UINT()> work)
{
    QThread* thread = QThread::create([work = std::move(work)] { work(); });
    if (!thread)
        return nullptr;
    QObject::connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    thread->start();
    return thread;
}

bool IsUiThread()
{
    QCoreApplication* app = QCoreApplication::instance();
    return !app || QThread::currentThread() == app->thread();
}

void RunOnUiThread(std::function<void()> work, bool wait)
{
    QCoreApplication* app = QCoreApplication::instance();
    if (IsUiThread()) {
        work();
        return;
    }
    QMetaObject::invokeMethod(app, std::move(work), wait ? Qt::BlockingQueuedConnection : Qt::QueuedConnection);
}

void Sleep(DWORD milliseconds)
{
    QThread::msleep(milliseconds);
}
