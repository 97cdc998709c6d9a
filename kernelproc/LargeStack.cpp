#include "kernelproc/LargeStack.h"

#include "kernelproc/GiacBounds.h"

#include <cstddef>
#include <pthread.h>

namespace kernelproc {

namespace {

// The stack is reserved, not used: pages are taken as a recursion reaches them.
constexpr std::size_t kStackBytes = std::size_t(512) << 20;
// Giac stops a recursion this deep; the rest is room for the frames between
// its checks and for the unwinding.
constexpr std::size_t kRecursionBytes = std::size_t(384) << 20;

struct Job {
    const std::function<int()>* body;
    int result;
};

void* runJob(void* data)
{
    Job* job = static_cast<Job*>(data);
    boundGiacRecursion(kRecursionBytes);
    job->result = (*job->body)();
    // The depth check measures from this thread's stack; Giac on another thread must not use it.
    boundGiacRecursion(0);
    return nullptr;
}

} // namespace

int runWithLargeStack(const std::function<int()>& body)
{
    Job job{&body, 0};
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setstacksize(&attributes, kStackBytes);
    pthread_t thread;
    const bool started = pthread_create(&thread, &attributes, &runJob, &job) == 0;
    pthread_attr_destroy(&attributes);
    if (!started)
        return body();
    pthread_join(thread, nullptr);
    return job.result;
}

} // namespace kernelproc
