#pragma once
// The kernel program as the kernel benchmarks reach it: one process for the
// whole run, started on first use, asked one packet at a time.
#include "mathlink/LinkExpr.h"
#include "mathlink/MathLink.h"

#include <benchmark/benchmark.h>

#include <stdexcept>

class BenchKernel {
public:
    BenchKernel()
    {
        env_ = MLInitialize();
        int err = 0;
        link_ = MLOpenString(env_, "-linklaunch -linkname '" QV_BINARY_DIR "/kernelproc/qvkernel'", &err);
        if (!link_ || !MLConnect(link_))
            throw std::runtime_error("the kernel did not start");
    }
    ~BenchKernel()
    {
        MLClose(link_);
        MLDeinitialize(env_);
    }
    BenchKernel(const BenchKernel&) = delete;
    BenchKernel& operator=(const BenchKernel&) = delete;

    // Sends one packet and reads packets up to the answer, which it answers.
    wire::Expr roundTrip(const wire::Expr& packet)
    {
        wire::putLinkExpr(link_, packet);
        MLEndPacket(link_);
        while (MLNextPacket(link_) != MLRETURNPKT) {
        }
        wire::Expr answer;
        if (!wire::getLinkExpr(link_, answer))
            throw std::runtime_error("the kernel's answer could not be read");
        benchmark::DoNotOptimize(answer);
        return answer;
    }
    // The request inside an EvaluatePacket, as the program sends its requests.
    wire::Expr evaluate(const wire::Expr& request)
    {
        return roundTrip(wire::Expr::function("EvaluatePacket", {request}));
    }

    static BenchKernel& instance()
    {
        static BenchKernel kernel;
        return kernel;
    }

private:
    MLENV env_ = nullptr;
    MLINK link_ = nullptr;
};
