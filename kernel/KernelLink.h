#pragma once
// The editor's connection to the computer-algebra kernel, as the shell sees
// it: whether a kernel is connected (ready), whether a request is running
// (busy) and whether a start-up is under way. Starting, quitting and the
// requests themselves arrive with the calculation commands; until then this
// link cannot start a kernel, is never ready nor busy, and every command that
// needs a kernel stays disabled.
//
// The start-up worker writes the flags while the user-interface thread reads
// them, so they are atomic; everything else a worker learns reaches the
// user-interface thread by a queued call.
#include <atomic>

class KernelLink {
public:
    virtual ~KernelLink() = default;

    bool IsReady() const { return m_ready; }
    bool IsBusy() const { return m_busy; }
    bool IsStarting() const { return m_starting; }

    // Whether this link can start a kernel at all (Start Kernel and Kernel
    // Connection are offered only then).
    virtual bool CanStartKernel() const { return false; }
    // Starts a kernel in the background (a worker thread connects it).
    virtual void StartKernel() {}
    // Sends the kernel its quit request and disconnects; nothing without a kernel.
    virtual void QuitKernel() {}
    // Cancels a start-up that is under way and waits until its worker no
    // longer uses this link; called before the link is deleted at exit.
    virtual void EndStartup() {}

    // The process-wide link, made and deleted by the application object on
    // the user-interface thread; null outside its lifetime (headless tests).
    static KernelLink* Get() { return s_link.load(); }
    static void Set(KernelLink* link) { s_link.store(link); }

protected:
    std::atomic<bool> m_ready = false;
    std::atomic<bool> m_busy = false;
    std::atomic<bool> m_starting = false;

private:
    static inline std::atomic<KernelLink*> s_link = nullptr;
};
