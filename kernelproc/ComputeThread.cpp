#include "kernelproc/ComputeThread.h"

#include "kernelproc/GiacBounds.h"

namespace kernelproc {

namespace {

// The stack is reserved, not used: pages are taken as a recursion reaches them.
constexpr std::size_t kStackBytes = std::size_t(512) << 20;
// Giac stops a recursion this deep; the rest is room for the frames between
// its checks and for the unwinding.
constexpr std::size_t kRecursionBytes = std::size_t(384) << 20;

} // namespace

ComputeThread::ComputeThread()
{
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setstacksize(&attributes, kStackBytes);
    started_ = pthread_create(&thread_, &attributes, &ComputeThread::main, this) == 0;
    pthread_attr_destroy(&attributes);
}

ComputeThread::~ComputeThread()
{
    if (!started_)
        return;
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    pthread_join(thread_, nullptr);
}

void ComputeThread::run(const std::function<void()>& job)
{
    if (!started_) {
        // Without a thread of its own the computation runs here, on the ordinary stack.
        job();
        return;
    }
    std::unique_lock lock(mutex_);
    job_ = &job;
    done_ = false;
    failure_ = nullptr;
    wake_.notify_all();
    wake_.wait(lock, [this] { return done_; });
    job_ = nullptr;
    if (failure_)
        std::rethrow_exception(failure_);
}

void* ComputeThread::main(void* self)
{
    static_cast<ComputeThread*>(self)->serve();
    return nullptr;
}

void ComputeThread::serve()
{
    boundGiacRecursion(kRecursionBytes);
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || (job_ && !done_); });
        if (stopping_)
            break;
        const std::function<void()>* job = job_;
        lock.unlock();
        std::exception_ptr failure;
        try {
            (*job)();
        } catch (...) {
            failure = std::current_exception();
        }
        lock.lock();
        failure_ = failure;
        done_ = true;
        wake_.notify_all();
    }
    // The depth check measures from this thread's stack; Giac on another thread must not use it.
    boundGiacRecursion(0);
}

} // namespace kernelproc
