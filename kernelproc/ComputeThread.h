#pragma once
// The thread on which the kernel runs Giac. Giac recurses deeply on some
// inputs, and is not safe to use from two threads at once: all its work
// runs here, one at a time, on a stack large enough that Giac's own depth
// check (set well inside it) ends a runaway recursion with an error long
// before the stack runs out, so the process and its session survive.
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <mutex>
#include <pthread.h>

namespace kernelproc {

class ComputeThread {
public:
    ComputeThread();
    ~ComputeThread();
    ComputeThread(const ComputeThread&) = delete;
    ComputeThread& operator=(const ComputeThread&) = delete;

    // Runs job on the thread and waits for it; what it throws is thrown here.
    void run(const std::function<void()>& job);

private:
    static void* main(void* self);
    void serve();

    pthread_t thread_{};
    bool started_ = false;
    std::mutex mutex_;
    std::condition_variable wake_;
    const std::function<void()>* job_ = nullptr;
    std::exception_ptr failure_;
    bool done_ = false;
    bool stopping_ = false;
};

} // namespace kernelproc
