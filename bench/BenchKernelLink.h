#pragma once
// The kernel program started on a link of its own, for benchmarks that
// measure requests through the link: each request goes out wrapped in an
// EvaluatePacket and its answer is read back whole.
#include "mathlink/LinkExpr.h"
#include "mathlink/MathLink.h"

#include <stdexcept>

class BenchKernelLink {
public:
    BenchKernelLink()
    {
        env_ = MLInitialize();
        int err = 0;
        link_ = MLOpenString(env_, "-linklaunch -linkname '" QV_BINARY_DIR "/kernelproc/qvkernel'", &err);
        if (!link_ || !MLConnect(link_))
            throw std::runtime_error("the kernel did not start");
    }
    ~BenchKernelLink()
    {
        MLClose(link_);
        MLDeinitialize(env_);
    }
    BenchKernelLink(const BenchKernelLink&) = delete;
    BenchKernelLink& operator=(const BenchKernelLink&) = delete;

    wire::Expr Ask(const wire::Expr& request)
    {
        wire::putLinkExpr(link_, wire::Expr::function("EvaluatePacket", {request}));
        MLEndPacket(link_);
        while (MLNextPacket(link_) != MLRETURNPKT) {
        }
        wire::Expr answer;
        if (!wire::getLinkExpr(link_, answer))
            throw std::runtime_error("the kernel's answer could not be read");
        return answer;
    }

private:
    MLENV env_ = nullptr;
    MLINK link_ = nullptr;
};
