// The link calls against the real kernel process.
#include "mathlink/LinkExpr.h"
#include "mathlink/MathLink.h"
#include "support/CpuTime.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/resource.h>

using namespace wire;
using Clock = std::chrono::steady_clock;

namespace {

const std::string kKernelDir = QV_BINARY_DIR "/kernelproc";

std::string openString(const std::string& name)
{
    return "-linklaunch -linkname '" + name + "' -mathlink";
}

class KernelLinkTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        env = MLInitialize();
        ASSERT_NE(env, nullptr);
        int err = -1;
        link = MLOpenString(env, openString(kKernelDir + "/qvkernel").c_str(), &err);
        ASSERT_NE(link, nullptr);
        ASSERT_EQ(err, MLEOK);
        ASSERT_EQ(MLConnect(link), 1);
    }

    void TearDown() override
    {
        MLClose(link);
        MLDeinitialize(env);
    }

    void send(const std::string& fullForm, bool wrapped = true)
    {
        Expr e = parseFullForm(fullForm);
        if (wrapped)
            e = Expr::function("EvaluatePacket", {e});
        ASSERT_TRUE(putLinkExpr(link, e));
        ASSERT_EQ(MLEndPacket(link), 1);
    }

    // Skips packets up to the return packet and reads its expression.
    std::string answer()
    {
        int p = 0;
        while ((p = MLNextPacket(link)) != MLRETURNPKT) {
            if (p == MLERRORPKT)
                return "<error " + std::to_string(MLError(link)) + ">";
        }
        Expr e;
        if (!getLinkExpr(link, e))
            return "<unreadable>";
        return toFullForm(e);
    }

    MLENV env = nullptr;
    MLINK link = nullptr;
};

} // namespace

TEST(LinkOpen, ResolvesTheKernelInTheGivenFolder)
{
    MLENV env = MLInitialize();
    for (const std::string& name : {kKernelDir, kKernelDir + "/MathKernel.exe", kKernelDir + "/qvkernel"}) {
        int err = -1;
        MLINK link = MLOpenString(env, openString(name).c_str(), &err);
        ASSERT_NE(link, nullptr) << name;
        EXPECT_EQ(err, MLEOK);
        EXPECT_EQ(MLConnect(link), 1);
        MLClose(link);
    }
    int err = 0;
    EXPECT_EQ(MLOpenString(env, openString("/nonexistent/folder/MathKernel.exe").c_str(), &err), nullptr);
    EXPECT_EQ(err, MLELAUNCH);
    EXPECT_EQ(MLOpenString(env, "-linklaunch -linkname 'unterminated", &err), nullptr);
    EXPECT_EQ(err, MLEBADARGS);
    EXPECT_EQ(MLOpenString(env, "-linkname 'x'", &err), nullptr);   // only launching is offered
    EXPECT_EQ(err, MLEBADARGS);
    MLDeinitialize(env);
    EXPECT_EQ(MLOpenString(env, openString(kKernelDir).c_str(), &err), nullptr);   // an ended environment
    EXPECT_EQ(err, MLEDEAD);
    EXPECT_EQ(MLOpenString(nullptr, openString(kKernelDir).c_str(), &err), nullptr);
}

TEST(LinkOpen, EveryCallFailsSafelyOnANullLink)
{
    const char* text = nullptr;
    int n = 0;
    char buffer[4];
    EXPECT_EQ(MLError(nullptr), MLEDEAD);
    EXPECT_STRNE(MLErrorMessage(nullptr), "");
    EXPECT_EQ(MLClearError(nullptr), 0);
    EXPECT_EQ(MLConnect(nullptr), 0);
    EXPECT_EQ(MLPutFunction(nullptr, "f", 1), 0);
    EXPECT_EQ(MLPutSymbol(nullptr, "x"), 0);
    EXPECT_EQ(MLPutString(nullptr, "x"), 0);
    EXPECT_EQ(MLPutInteger(nullptr, 1), 0);
    EXPECT_EQ(MLPutDouble(nullptr, 1.0), 0);
    EXPECT_EQ(MLPutNext(nullptr, MLTKINT), 0);
    EXPECT_EQ(MLPutSize(nullptr, 1), 0);
    EXPECT_EQ(MLPutData(nullptr, "1", 1), 0);
    EXPECT_EQ(MLPutArgCount(nullptr, 1), 0);
    EXPECT_EQ(MLEndPacket(nullptr), 0);
    EXPECT_EQ(MLPutMessage(nullptr, MLABORTMESSAGE), 0);
    EXPECT_EQ(MLGetMessage(nullptr, &n), 0);
    EXPECT_EQ(MLNextPacket(nullptr), MLERRORPKT);
    EXPECT_EQ(MLNewPacket(nullptr), 0);
    EXPECT_EQ(MLGetType(nullptr), MLTKERROR);
    EXPECT_EQ(MLGetNext(nullptr), MLTKERROR);
    EXPECT_EQ(MLGetInteger(nullptr, &n), 0);
    EXPECT_EQ(MLGetArgCount(nullptr, &n), 0);
    EXPECT_EQ(MLGetSymbol(nullptr, &text), 0);
    EXPECT_EQ(MLGetString(nullptr, &text), 0);
    EXPECT_EQ(MLBytesToGet(nullptr, &n), 0);
    EXPECT_EQ(MLGetData(nullptr, buffer, 4, &n), 0);
    MLDisownSymbol(nullptr, "x");
    MLDisownString(nullptr, "x");
    MLClose(nullptr);
    MLDeinitialize(nullptr);
    EXPECT_EQ(MLProcessId(nullptr), -1);
}

TEST_F(KernelLinkTest, TrivialRequestIsAnswered)
{
    ASSERT_EQ(MLPutFunction(link, "EvaluatePacket", 1), 1);
    ASSERT_EQ(MLPutFunction(link, "Plus", 2), 1);
    ASSERT_EQ(MLPutLongInteger(link, 1), 1);
    ASSERT_EQ(MLPutShortInteger(link, 1), 1);
    ASSERT_EQ(MLEndPacket(link), 1);
    ASSERT_EQ(MLNextPacket(link), MLRETURNPKT);
    EXPECT_EQ(MLGetType(link), MLTKINT);
    EXPECT_EQ(MLGetType(link), MLTKINT);   // peeking does not consume
    int value = 0;
    ASSERT_EQ(MLGetInteger(link, &value), 1);
    EXPECT_EQ(value, 2);
    EXPECT_EQ(MLGetType(link), MLTKERROR);   // nothing more in the packet
    EXPECT_EQ(MLError(link), MLEGETSEQ);
    EXPECT_EQ(MLClearError(link), 1);
    EXPECT_EQ(MLError(link), MLEOK);
}

TEST_F(KernelLinkTest, EveryTokenKindTravelsBothWays)
{
    std::string digits(4000, '3');
    digits.front() = '9';
    ASSERT_EQ(MLPutFunction(link, "EvaluatePacket", 1), 1);
    ASSERT_EQ(MLPutFunction(link, "List", 7), 1);
    ASSERT_EQ(MLPutString(link, "text with \xCE\xB1"), 1);
    ASSERT_EQ(MLPutString(link, ""), 1);
    ASSERT_EQ(MLPutSymbol(link, "y"), 1);
    ASSERT_EQ(MLPutInteger(link, -17), 1);
    ASSERT_EQ(MLPutDouble(link, 2.5e20), 1);
    ASSERT_EQ(MLPutNext(link, MLTKINT), 1);
    ASSERT_EQ(MLPutSize(link, int(digits.size())), 1);
    ASSERT_EQ(MLPutData(link, digits.data(), 1000), 1);
    ASSERT_EQ(MLPutData(link, digits.data() + 1000, int(digits.size()) - 1000), 1);
    ASSERT_EQ(MLPutNext(link, MLTKFUNC), 1);   // a compound head: f[a][b]
    ASSERT_EQ(MLPutArgCount(link, 1), 1);
    ASSERT_EQ(MLPutFunction(link, "f", 1), 1);
    ASSERT_EQ(MLPutSymbol(link, "a"), 1);
    ASSERT_EQ(MLPutSymbol(link, "b"), 1);
    ASSERT_EQ(MLEndPacket(link), 1);

    int packet = 0;
    while ((packet = MLNextPacket(link)) != MLRETURNPKT)   // f[a][b] has no value: a message says so
        ASSERT_NE(packet, MLERRORPKT);
    int count = 0;
    ASSERT_EQ(MLGetType(link), MLTKFUNC);
    ASSERT_EQ(MLGetArgCount(link, &count), 1);
    EXPECT_EQ(count, 7);
    const char* text = nullptr;
    ASSERT_EQ(MLGetNext(link), MLTKSYM);
    ASSERT_EQ(MLGetSymbol(link, &text), 1);
    EXPECT_STREQ(text, "List");
    MLDisownSymbol(link, text);
    ASSERT_EQ(MLGetString(link, &text), 1);
    EXPECT_STREQ(text, "text with \xCE\xB1");
    MLDisownString(link, text);
    ASSERT_EQ(MLGetString(link, &text), 1);
    EXPECT_STREQ(text, "");
    MLDisownString(link, text);
    ASSERT_EQ(MLGetSymbol(link, &text), 1);
    EXPECT_STREQ(text, "y");
    MLDisownSymbol(link, text);
    int value = 0;
    ASSERT_EQ(MLGetInteger(link, &value), 1);
    EXPECT_EQ(value, -17);
    ASSERT_EQ(MLGetType(link), MLTKREAL);
    Expr real;
    ASSERT_TRUE(getLinkExpr(link, real));
    EXPECT_EQ(real.text, "2.5e20");
    ASSERT_EQ(MLGetType(link), MLTKINT);
    EXPECT_EQ(MLGetInteger(link, &value), 0);   // too large for an int: not consumed
    EXPECT_EQ(MLError(link), MLEGETSEQ);
    int size = 0;
    ASSERT_EQ(MLBytesToGet(link, &size), 1);
    ASSERT_EQ(size, 4000);
    std::string back(std::size_t(size) + 1, '\0');
    int taken = 0;
    ASSERT_EQ(MLGetData(link, back.data(), size, &taken), 1);
    EXPECT_EQ(back.substr(0, std::size_t(taken)), digits);
    Expr compound;
    ASSERT_TRUE(getLinkExpr(link, compound));
    EXPECT_EQ(toFullForm(compound), "f[a][b]");
}

TEST_F(KernelLinkTest, PutsOutOfSequenceAreRefusedAndTheLinkGoesOn)
{
    ASSERT_EQ(MLPutFunction(link, "Plus", 2), 1);
    ASSERT_EQ(MLPutInteger(link, 1), 1);
    EXPECT_EQ(MLEndPacket(link), 0);   // one argument missing
    EXPECT_EQ(MLError(link), MLEPUTSEQ);
    EXPECT_EQ(MLPutSize(link, 3), 0);  // no MLPutNext before it
    MLClearError(link);
    EXPECT_EQ(MLEndPacket(link), 1);   // an empty packet is legal; the kernel ignores it
    send("Times[6, 7]");
    EXPECT_EQ(answer(), "42");

    // A put past the end of a whole expression spoils the packet: the puts
    // after it fail too, and nothing at all is sent.
    ASSERT_EQ(MLPutFunction(link, "ToString", 2), 1);
    ASSERT_EQ(MLPutFunction(link, "Hold", 1), 1);
    ASSERT_EQ(MLPutSymbol(link, "a"), 1);
    ASSERT_EQ(MLPutSymbol(link, "b"), 1);
    EXPECT_EQ(MLPutSymbol(link, "StandardForm"), 0);
    EXPECT_EQ(MLPutSymbol(link, "c"), 0);
    EXPECT_EQ(MLEndPacket(link), 0);
    EXPECT_EQ(MLError(link), MLEPUTSEQ);
    MLClearError(link);
    send("Times[6, 8]");
    EXPECT_EQ(answer(), "48");
}

TEST_F(KernelLinkTest, UnreadPacketsAreSkipped)
{
    send("Plus[2, 3]");
    ASSERT_EQ(MLNextPacket(link), MLRETURNPKT);   // the answer is left unread
    send("Plus[4, 5]");
    ASSERT_EQ(MLNextPacket(link), MLRETURNPKT);
    int value = 0;
    ASSERT_EQ(MLGetInteger(link, &value), 1);
    EXPECT_EQ(value, 9);

    send("Needs[\"Missing`\"]", false);
    EXPECT_EQ(MLNextPacket(link), MLMESSAGEPKT);
    EXPECT_EQ(MLNewPacket(link), 1);
    EXPECT_EQ(MLNextPacket(link), MLTEXTPKT);
    EXPECT_EQ(answer(), "$Failed");
}

TEST_F(KernelLinkTest, MessagePacketIsFollowedByItsText)
{
    send("Needs[\"Missing`\"]", false);
    ASSERT_EQ(MLNextPacket(link), MLMESSAGEPKT);
    const char* symbol = nullptr;
    const char* tag = nullptr;
    ASSERT_EQ(MLGetSymbol(link, &symbol), 1);
    ASSERT_EQ(MLGetString(link, &tag), 1);
    EXPECT_STREQ(symbol, "Needs");
    EXPECT_STREQ(tag, "nocont");
    MLDisownSymbol(link, symbol);
    MLDisownString(link, tag);
    ASSERT_EQ(MLNextPacket(link), MLTEXTPKT);
    const char* text = nullptr;
    ASSERT_EQ(MLGetString(link, &text), 1);
    EXPECT_NE(std::string(text).find("Missing` is not available"), std::string::npos);
    MLDisownString(link, text);
    EXPECT_EQ(answer(), "$Failed");

    send("Needs[\"VXCompute`\"]", false);
    EXPECT_EQ(MLNextPacket(link), MLRETURNPKT);
    Expr e;
    ASSERT_TRUE(getLinkExpr(link, e));
    EXPECT_EQ(e, Expr::symbol("Null"));
}

TEST_F(KernelLinkTest, CallPacketIsAnsweredByTheProgram)
{
    for (const char* reply : {"y", "$Canceled"}) {
        send("Solve[Equal[Plus[x, y], 1]]");
        ASSERT_EQ(MLNextPacket(link), MLCALLPKT);
        int question = 0;
        ASSERT_EQ(MLGetInteger(link, &question), 1);
        EXPECT_EQ(question, 3);
        Expr argument;
        ASSERT_TRUE(getLinkExpr(link, argument));
        EXPECT_EQ(toFullForm(argument), "List[\"Solve for which variable?\", List[x, y]]");
        ASSERT_EQ(MLPutSymbol(link, reply), 1);
        ASSERT_EQ(MLEndPacket(link), 1);
        std::string result = answer();
        if (std::string(reply) == "y")
            EXPECT_EQ(result.rfind("Equal[y, ", 0), 0u) << result;
        else
            EXPECT_EQ(result, "$Canceled");
    }
}

TEST_F(KernelLinkTest, QuitClosesTheLink)
{
    send("Quit[]");
    EXPECT_EQ(MLNextPacket(link), MLERRORPKT);
    EXPECT_EQ(MLError(link), MLECLOSED);
    EXPECT_STREQ(MLErrorMessage(link), "the kernel closed the link");
    MLClearError(link);
    EXPECT_EQ(MLNextPacket(link), MLERRORPKT);   // and stays closed
    EXPECT_EQ(MLError(link), MLECLOSED);
    EXPECT_EQ(MLPutSymbol(link, "x"), 0);
    EXPECT_EQ(MLProcessId(link), -1);
}

TEST_F(KernelLinkTest, AbortStopsALongComputationQuickly)
{
    // The kernel's processor time from the abort to the answer: a busy
    // machine does not stretch it.
    const pid_t kernel = MLProcessId(link);
    double abortAt = -1;
    int yields = 0;
    std::vector<int> words;   // what the kernel said about the abort
    MLSetYieldFunction(link, [&] {
        ++yields;
        if (abortAt < 0 && yields == 10) { // about 0.2 s into the wait
            abortAt = CpuSecondsOf(kernel);
            EXPECT_EQ(MLPutMessage(link, MLABORTMESSAGE), 1);
        }
        for (int word = 0; MLGetMessage(link, &word);)
            words.push_back(word);
    });
    send("Sum[Power[k, k], List[k, 1, 30000]]");   // seconds of big-number work
    EXPECT_EQ(answer(), "$Aborted");
    EXPECT_LT(CpuSecondsOf(kernel) - abortAt, 0.5);
    EXPECT_GE(yields, 10);
    for (int word = 0; MLGetMessage(link, &word);)
        words.push_back(word);
    EXPECT_FALSE(words.empty() || words.front() != MLSTOPPINGMESSAGE) << words.size();
    MLSetYieldFunction(link, {});
    send("Plus[1, 1]");
    EXPECT_EQ(answer(), "2");

    // An abort while idle is forgotten; the kernel's word that it has nothing
    // to stop is about the earlier request, and is not read after the next.
    EXPECT_EQ(MLPutMessage(link, MLABORTMESSAGE), 1);
    send("Plus[2, 2]");
    EXPECT_EQ(answer(), "4");
    int word = 0;
    EXPECT_EQ(MLGetMessage(link, &word), 0) << word;
}

TEST_F(KernelLinkTest, WaitingNeitherSpinsNorStarvesTheYieldHook)
{
    int yields = 0;
    MLSetYieldFunction(link, [&] {
        if (++yields == 20)
            MLPutMessage(link, MLABORTMESSAGE);
    });
    send("Sum[Power[k, k], List[k, 1, 30000]]");   // seconds of big-number work
    rusage before {};
    getrusage(RUSAGE_THREAD, &before);
    auto start = Clock::now();
    EXPECT_EQ(answer(), "$Aborted");
    auto waitedMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    rusage after {};
    getrusage(RUSAGE_THREAD, &after);
    auto cpuMs = [](const rusage& r) {
        return (r.ru_utime.tv_sec + r.ru_stime.tv_sec) * 1000.0 + (r.ru_utime.tv_usec + r.ru_stime.tv_usec) / 1000.0;
    };
    EXPECT_GE(yields, 20);
    EXPECT_GE(waitedMs, 300.0);
    EXPECT_LT(cpuMs(after) - cpuMs(before), waitedMs / 10);
}

TEST_F(KernelLinkTest, AWaitGivenUpLeavesTheLinkAndItsAnswerForTheNextRead)
{
    int yields = 0;
    MLSetYieldFunction(link, [&] {
        if (++yields == 5)
            MLStopWaiting(link);
    });
    send("Sum[Power[k, k], List[k, 1, 30000]]");   // seconds of big-number work
    EXPECT_EQ(MLNextPacket(link), MLERRORPKT);
    EXPECT_EQ(MLError(link), MLEWAITSTOPPED);
    EXPECT_EQ(MLClearError(link), 1);
    EXPECT_EQ(MLPutMessage(link, MLABORTMESSAGE), 1);
    EXPECT_EQ(answer(), "$Aborted");
    MLSetYieldFunction(link, {});
}

TEST_F(KernelLinkTest, KernelKilledWhileComputingGivesAClosedLink)
{
    send("Sum[Power[k, k], List[k, 1, 30000]]");   // seconds of big-number work
    ASSERT_GT(MLProcessId(link), 0);
    ::kill(MLProcessId(link), SIGKILL);
    EXPECT_EQ(MLNextPacket(link), MLERRORPKT);
    EXPECT_EQ(MLError(link), MLECLOSED);
}

TEST(KernelCrash, KernelDyingMidAnswerGivesAClosedLink)
{
    ::setenv("QVKERNEL_TEST_HOOKS", "1", 1);
    MLENV env = MLInitialize();
    int err = 0;
    MLINK link = MLOpenString(env, openString(kKernelDir).c_str(), &err);
    ::unsetenv("QVKERNEL_TEST_HOOKS");
    ASSERT_NE(link, nullptr);
    ASSERT_TRUE(putLinkExpr(link, parseFullForm("EvaluatePacket[QVTestCrash[]]")));
    ASSERT_EQ(MLEndPacket(link), 1);
    EXPECT_EQ(MLNextPacket(link), MLERRORPKT);
    EXPECT_EQ(MLError(link), MLECLOSED);
    // The program closes the link while still holding the handle; later calls fail safely.
    MLClose(link);
    MLDeinitialize(env);
    EXPECT_EQ(MLGetType(link), MLTKERROR);
    EXPECT_EQ(MLEndPacket(link), 0);
    EXPECT_NE(MLError(link), MLEOK);
}
