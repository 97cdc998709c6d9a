// The kernel's conversation beyond plain evaluation: constants, faults in the
// request, and the answers that travel with messages.
#include "KernelTestLink.h"
#include "kernelproc/KernelSession.h"
#include "mathlink/SocketChannel.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

using wire::Expr;

TEST(KernelSession, ConstantsAreNotSolvedFor)
{
    KernelTestLink kernel;
    // The palette's "E" is the typed capital E, sent as capE.
    EXPECT_EQ(kernel.evaluate("SetAttributes[E, Constant]"), "Null");
    EXPECT_EQ(kernel.evaluate("Solve[Equal[Plus[capE, x], 1]]"), "Equal[x, Plus[Times[-1, capE], 1]]");
    EXPECT_EQ(kernel.evaluate("SetAttributes[a, Constant]"), "Null");
    EXPECT_EQ(kernel.evaluate("Solve[Equal[Times[a, x], 1]]"), "Equal[x, Power[a, -1]]");
    EXPECT_EQ(kernel.evaluate("ClearAttributes[a, Constant]"), "Null");
    EXPECT_EQ(kernel.evaluate("Solve[Equal[Times[a, x], 1]]"), "<call packet>");
}

TEST(KernelSession, UnevaluableRequestsComeBackWithAMessage)
{
    KernelTestLink kernel;
    std::vector<std::string> messages;
    EXPECT_EQ(kernel.evaluate("Limit[x, x]", &messages), "Limit[x, x]");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("Limit::argx"), std::string::npos);
    messages.clear();
    EXPECT_EQ(kernel.evaluate(Expr::function("Plus", {Expr::integerText("12x"), Expr::integer(1)}), &messages),
              "Plus[12x, 1]");
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_EQ(kernel.evaluate("Plus[1, 1]"), "2");   // and the kernel goes on

    // Refusals that say what is wrong with what was sent, whole.
    Expr deep = Expr::symbol("x");
    for (int i = 0; i < 10000; ++i)
        deep = Expr::function("Sin", {deep});
    const struct {
        Expr request;
        std::string says;
    } refusals[] = {
        {deep, "nested more than 4096 levels deep"},
        {Expr::function("VXStringEvaluate", {Expr::string(std::string("a +\0 b", 6))}),
         "The code \"a +\\0 b\" cannot be read: \"\\0\" cannot begin an operand at character 4."},
    };
    for (const auto& r : refusals) {
        messages.clear();
        EXPECT_EQ(kernel.evaluate(r.request, &messages), "$Failed") << r.says;
        ASSERT_EQ(messages.size(), 1u) << r.says;
        EXPECT_NE(messages[0].find(r.says), std::string::npos) << messages[0];
    }
}

TEST(KernelSession, RealsWithPrecisionMarksAndLongDigitTextsAreRead)
{
    KernelTestLink kernel;
    EXPECT_EQ(kernel.evaluate(Expr::function("Times", {Expr::realText("2.5`20"), Expr::integer(2)})), "5.");
    EXPECT_EQ(kernel.evaluate(Expr::function("Plus", {Expr::realText("1.5*^3"), Expr::integer(1)})), "1501.");
    EXPECT_EQ(kernel.evaluate(Expr::realText(".5")), "0.5");
    std::string digits = "3.14159265358979323846";
    EXPECT_EQ(kernel.evaluate(Expr::realText(digits)).substr(0, 20), digits.substr(0, 20));
    std::string big(400, '9');
    EXPECT_EQ(kernel.evaluate(Expr::function("Plus", {Expr::integerText(big), Expr::integer(1)})), "1" + std::string(400, '0'));
}

TEST(KernelSession, TheChainRuleKeepsAFreeFunctionsDerivativeHead)
{
    KernelTestLink kernel;
    EXPECT_EQ(kernel.evaluate("D[g[Power[x, 2]], x]"), "Times[2, x, Derivative[1][g][Power[x, 2]]]");
}

TEST(KernelSession, MalformedPacketIsAnsweredFailedAndQuitEndsTheSession)
{
    int data[2];
    int control[2];
    ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM, 0, data), 0);
    ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM, 0, control), 0);
    int status = -1;
    std::thread kernelThread([&] {
        kernelproc::KernelSession session(data[1], control[1], false);
        status = session.run();
    });
    ASSERT_TRUE(wire::exchangeGreeting(data[0], {}, 10000));
    std::string cut;
    cut.push_back(char(wire::kTokenFunction));
    wire::appendU32(cut, 3);   // three arguments promised, none sent
    ASSERT_TRUE(wire::sendPacket(data[0], cut));
    std::vector<std::string> heads;
    for (int i = 0; i < 3; ++i) {
        std::string payload;
        ASSERT_EQ(wire::receivePacket(data[0], payload, {}), wire::ReadStatus::ok);
        wire::PacketReader reader;
        reader.reset(payload);
        Expr e;
        ASSERT_TRUE(wire::readExpr(reader, e));
        heads.push_back(wire::toFullForm(e.head()));
        if (i == 2) {
            EXPECT_EQ(wire::toFullForm(e), "ReturnPacket[$Failed]");
        }
    }
    EXPECT_EQ(heads, (std::vector<std::string>{"MessagePacket", "TextPacket", "ReturnPacket"}));

    wire::PacketWriter quit;
    wire::writeExpr(quit, wire::parseFullForm("EvaluatePacket[Quit[]]"));
    ASSERT_TRUE(wire::sendPacket(data[0], quit.bytes()));
    kernelThread.join();
    EXPECT_EQ(status, 0);
    for (int fd : {data[0], data[1], control[0], control[1]})
        ::close(fd);
}

// The program writes Euler's number and the imaginary unit as E and I, and the
// typed capitals as capE and capI; the answers must name them so that each
// reads back as what was written: e, the complex unit, capE and capI.
TEST(KernelSession, EulerAndImaginaryUnitAnswerInSpellingsThatReadBack)
{
    KernelTestLink kernel;
    EXPECT_EQ(kernel.evaluate("E"), "e");
    EXPECT_EQ(kernel.evaluate("Times[I, I]"), "-1");
    EXPECT_EQ(kernel.evaluate("Times[2, I]"), "Complex[0, 2]");
    EXPECT_EQ(kernel.evaluate("capE"), "capE");
    EXPECT_EQ(kernel.evaluate("capI"), "capI");
}

// Giac recurses thousands of frames deep on some inputs: a recursion that
// would overflow an ordinary thread's stack must not end the kernel process.
TEST(KernelSession, ADeepRecursionDoesNotEndTheKernel)
{
    ::setenv("QVKERNEL_TEST_HOOKS", "1", 1);
    KernelTestLink kernel;
    ::unsetenv("QVKERNEL_TEST_HOOKS");
    EXPECT_EQ(kernel.evaluate("QVTestDeepStack[65536]"), "Null");   // 64 MB of stack frames
    EXPECT_EQ(kernel.evaluate("Plus[1, 1]"), "2");
}
