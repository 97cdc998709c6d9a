#pragma once
// The editor's connection to the computer-algebra kernel, as the shell sees
// it: whether a kernel is connected (ready), whether a request is running
// (busy) and whether a start-up is under way. Starting, quitting and the
// requests themselves arrive with the calculation commands; until then this
// link cannot start a kernel, is never ready nor busy, and every command that
// needs a kernel stays disabled.
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

    // The process-wide link, made and deleted by the application object;
    // null outside its lifetime (headless tests).
    static KernelLink* Get() { return s_link; }
    static void Set(KernelLink* link) { s_link = link; }

protected:
    bool m_ready = false;
    bool m_busy = false;
    bool m_starting = false;

private:
    static inline KernelLink* s_link = nullptr;
};
