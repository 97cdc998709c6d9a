#pragma once
// Worker threads and the way back to the user-interface thread. A worker
// started with AfxBeginThread never touches widgets: whatever it shows (a
// dialog's text, closing a dialog, a message box, closing a palette) it hands
// to RunOnUiThread, which runs it there - at once when already on that thread.
#include <functional>

#include "platform/framework/AfxTypes.h"

class QThread;

using AFX_THREADPROC = UINT (*)(void* param);

// Starts proc(param) on a new thread, which deletes itself when proc returns.
// Answers the thread (null when it could not start).
QThread* AfxBeginThread(AFX_THREADPROC proc, void* param);
QThread* AfxBeginThread(std::function<UINT()> work);

// Runs work on the user-interface thread. wait: block until it has run (for
// message boxes, whose answer the worker needs).
void RunOnUiThread(std::function<void()> work, bool wait);
bool IsUiThread();

// Pauses the calling thread.
void Sleep(DWORD milliseconds);
