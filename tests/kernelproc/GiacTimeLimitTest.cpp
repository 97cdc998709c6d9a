// Time limits on the steps of a Giac computation, and the user's stop beside them.
#include "kernelproc/GiacBounds.h"

#include <gtest/gtest.h>

#include <thread>

using namespace kernelproc;
using namespace std::chrono_literals;

namespace {

// Waits, as a computation would run, until Giac is told to stop; the limit
// only catches a limit that never runs out, however busy the machine.
bool interruptedSoon()
{
    for (auto waited = 0ms; waited < 60000ms; waited += 5ms) {
        if (giacInterrupted())
            return true;
        std::this_thread::sleep_for(5ms);
    }
    return false;
}

class GiacTimeLimitTest : public ::testing::Test {
protected:
    void SetUp() override { clearGiacStops(); }
    void TearDown() override { clearGiacStops(); }
};

} // namespace

TEST_F(GiacTimeLimitTest, AnInnerLimitThatRanOutLetsTheOuterComputationGoOn)
{
    GiacTimeLimit outer(10s);
    {
        GiacTimeLimit inner(30ms);
        EXPECT_TRUE(interruptedSoon());
        EXPECT_TRUE(inner.passed());
    }
    EXPECT_FALSE(giacInterrupted());
    EXPECT_FALSE(outer.passed());
}

TEST_F(GiacTimeLimitTest, AnInnerLimitNeverOutlastsTheOuterOne)
{
    GiacTimeLimit outer(30ms);
    {
        GiacTimeLimit inner(10s);
        EXPECT_TRUE(interruptedSoon());
        EXPECT_TRUE(inner.passed());
    }
    EXPECT_TRUE(giacInterrupted()); // the outer computation stops too
}

TEST_F(GiacTimeLimitTest, TheUsersStopOutlivesTheLimitsItInterrupted)
{
    {
        GiacTimeLimit step(30ms);
        EXPECT_TRUE(interruptedSoon());
        stopGiacForUser();
    }
    EXPECT_TRUE(giacInterrupted());
    EXPECT_TRUE(giacStoppedByUser());
}

TEST_F(GiacTimeLimitTest, ALimitWithdrawnInTimeInterruptsNothing)
{
    {
        GiacTimeLimit step(10s);
        EXPECT_FALSE(step.passed());
    }
    std::this_thread::sleep_for(20ms);
    EXPECT_FALSE(giacInterrupted());
}
