// Kernel answers read into nodes and written back in package form.
#include "kernel/KernelReader.h"
#include "kernel/LeafNodes.h"
#include "kernel/NodeSettings.h"
#include "kernel/PlotNodes.h"
#include "kernel/fuzz/ReaderFuzzEntry.h"

#include "mathlink/LinkExpr.h"
#include "support/CorpusReplay.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class KernelReaderTest : public ::testing::Test {
protected:
    KernelReaderTest()
    {
        env = MLInitialize();
        int error = 0;
        link = MLLoopbackOpen(env, &error);
    }
    ~KernelReaderTest() override
    {
        MLClose(link);
        MLDeinitialize(env);
    }

    // The answer (full-form text) as the kernel sends it, read and written back.
    std::string ReadBack(const std::string& answer)
    {
        wire::putLinkExpr(link, wire::parseFullForm(answer));
        return ReadPacket();
    }

    std::string ReadPacket()
    {
        MLEndPacket(link);
        MLNextPacket(link);
        std::unique_ptr<ExprNode> node(ReadKernelExpr(link));
        node->PutPackageForm(link, 0);
        MLEndPacket(link);
        MLNextPacket(link);
        wire::Expr expr;
        return wire::getLinkExpr(link, expr) ? wire::toFullForm(expr) : "<unreadable>";
    }

    // An atom whose digits are sent as they are.
    void PutAtom(int type, const std::string& text)
    {
        MLPutNext(link, type);
        MLPutSize(link, int(text.size()));
        MLPutData(link, text.data(), int(text.size()));
    }

    MLENV env;
    MLINK link;
};

TEST_F(KernelReaderTest, AnswersBecomeTheNodesOfTheirHeads)
{
    const struct {
        const char* answer;
        const char* written;
    } cases[] = {
        {"123456789", "123456789"},
        {"1234567890", "1234567890"},
        {"x", "x"},
        {"a$b", "a$b"},
        {"x$vxhat", "x$vxhat"},
        {"y$vxtilde", "y$vxtilde"},
        {"vxDefaultVar", "x"},
        {"plusMinus", "plusMinus"},
        {"Sin", "VXSin"},
        {"e", "E"},
        {"i", "I"},
        {"capE", "capE"},
        {"Pi", "Pi"},
        {"Complex[0, 2]", "VXTimes[2, I]"},
        {"Complex[1, 2]", "VXPlus[1, VXTimes[2, I]]"},
        {"DirectedInfinity[]", "Infinity"},
        {"DirectedInfinity[-1]", "VXTimes[-1, Infinity]"},
        {"Log[x]", "VXLog[x]"},
        {"Log[2, x]", "VXLog[2, x]"},
        {"f[x, y]", "f[x, y]"},
        {"f[x][y]", "f[x][y]"},
        {"Plus[a, Times[-1, b]]", "VXPlus[a, VXTimes[-1, b]]"},
        {"VXPostPlus[a, b]", "VXPlus[a, b]"},
        {"Power[x, -1]", "VXPower[x, -1]"},
        {"Rational[1, 2]", "VXDivide[1, 2]"},
        {"Sin[x]", "VXSin[x]"},
        {"Sqrt[x]", "VXRadical[x, 2]"},
        {"Or[a, b]", "VXOr[a, b]"},
        {"Product[a, b]", "VXProduct[a, b]"},
        {"Equal[a, b, c]", "VXInequality[a, Equal, b, Equal, c]"},
        {"Inequality[a, Less, b]", "VXInequality[a, Less, b]"},
        {"Rule[x, 2]", "Rule[x, 2]"},
        {"Part[x, k, j]", "VXSubscript[x, k, j]"},
        {"VXSum[Subscript[a, k], List[k, 1, n]]", "VXSum[VXSubscript[a, k], List[k, 1, n]]"},
        {"VXIntegrate[f, List[x, 0, 1]]", "VXIntegrate[f, List[x, 0, 1]]"},
        {"Integrate[f, x]", "VXIntegrate[f, x]"},
        {"Limit[f, Rule[x, 0], Rule[Direction, -1]]", "VXLimit[f, Rule[x, 0]]"},
        {"VXMatrix[List[1, 2], List[3, 4]]", "VXMatrix[List[1, 2], List[3, 4]]"},
        {"VXSplit[List[a, q], List[b, vxOtherwise]]", "VXSplit[List[a, q], List[b, vxOtherwise]]"},
        {"Derivative[1][f][x]", "Derivative[1][f][x]"},
        {"VXD[f, x, List[y, 2]]", "VXD[f, x, List[y, 2]]"},
        {"VXBesselJ[n, x]", "VXSubscript[VXBesselJ, n][x]"},
        {"VXBesselJ[n]", "VXSubscript[VXBesselJ, n]"},
        {"VXKroneckerDelta[k, j]", "VXSubscript[VXKroneckerDelta, k, j]"},
        {"VXLaplaceTransform[F, s, t]", "VXLaplaceTransform[F]"},
        {"VXInverseLaplaceTransform[F, s, t]", "VXPower[VXInverseLaplaceTransform, -1][F]"},
        {"VXAiryAiPrime[x]", "Derivative[1][VXAiryAi][x]"},
        {"VXOverVector[v]", "VXOverVector[v]"},
        {"VXDoubleOverDot[v]", "VXDoubleOverDot[v]"},
        {"QVPoint[1, 2]", "QVPoint[1, 2]"},
        {"VXOr[a, b]", "VXOr[a, b]"},
        {"Null", "Null"},
        {"\u03B1", "alpha"},
        {"\"text\"", "\"text\""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadBack(c.answer), c.written) << c.answer;
}

// The heads that once read a fixed number of arguments, whatever arrived,
// left the rest of the answer out of step.
TEST_F(KernelReaderTest, ArgumentCountMismatchKeepsTheAnswerInStep)
{
    const struct {
        const char* answer;
        const char* written;
    } cases[] = {
        {"List[Hold[a, b], c]", "List[a, c]"},
        {"List[Literal[a, b, d], c]", "List[a, c]"},
        {"List[VXMover[a, b], VXTarget[c, d], g]", "List[a, c, g]"},
        {"List[Hold[], c]", "List[Error, c]"},
        {"List[VXMod[a], c]", "List[VXMod[a, Null], c]"},
        {"List[VXMod[a, b, d], c]", "List[VXMod[a, b], c]"},
        {"List[VXTagVar[x], c]", "List[VXTagVar[x, Null], c]"},
        {"List[VXTagVar[x, 1, 2], c]", "List[VXTagVar[x, 1], c]"},
        {"List[Limit[f, Rule[x, 0], Rule[Direction, 1], z], c]", "List[VXLimit[f, Rule[x, 0]], c]"},
        {"List[Graphics[a, b, d], c]", "List[Graphics[a, b], c]"},
        {"List[Complex[1], c]", "List[VXPlus[1, VXTimes[0, I]], c]"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadBack(c.answer), c.written) << c.answer;
}

// The 3-D command keeps its functions and three ranges when they are lists
// and sends them back in that order; the computed graphics are never sent.
TEST_F(KernelReaderTest, TheThreeDPlotCommandReadsItsRangesAndGraphics)
{
    const struct {
        const char* answer;
        const char* written;
    } cases[] = {
        {"VXThreeDPlot[List[f], List[x, 0, 1], List[y, 2, 3], List[z, 4, 5], SurfaceGraphics[List[List[1]]]]",
         "VXThreeDPlot[List[f], List[x, 0, 1], List[y, 2, 3], List[z, 4, 5]]"},
        {"VXThreeDPlot[List[f], 7, List[y, 2, 3], List[z, 4, 5]]",
         "VXThreeDPlot[List[f], Null, List[y, 2, 3], List[z, 4, 5]]"},
        {"List[VXThreeDPlot[List[f], List[x, 0, 1], List[y, 2, 3], List[z, 4, 5], g, h], c]",
         "List[VXThreeDPlot[List[f], List[x, 0, 1], List[y, 2, 3], List[z, 4, 5]], c]"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadBack(c.answer), c.written) << c.answer;
    wire::putLinkExpr(link,
                      wire::parseFullForm("VXThreeDPlot[List[f, g], List[x, 0, 1], List[y, 2, 3], List[z, 4, 5], "
                                          "SurfaceGraphics[List[List[1]]]]"));
    MLEndPacket(link);
    MLNextPacket(link);
    std::unique_ptr<ExprNode> node(ReadKernelExpr(link));
    auto* command = dynamic_cast<ThreeDPlotNode*>(node.get());
    ASSERT_NE(command, nullptr);
    std::unique_ptr<ExprNode> extra(command->TakeExtra());
    EXPECT_EQ(extra ? extra->GetTag() : tag_null, tag_surN);
    command->PutPlainForm(link);
    MLEndPacket(link);
    MLNextPacket(link);
    wire::Expr plain;
    ASSERT_TRUE(wire::getLinkExpr(link, plain));
    EXPECT_EQ(wire::toFullForm(plain),
              "Show[List[Plot3D[f, List[x, 0, 1], List[y, 2, 3]], "
              "Plot3D[g, List[x, 0, 1], List[y, 2, 3]]]]");
}

TEST_F(KernelReaderTest, CommonLogarithmIsNotWrittenBackAsTheNaturalOne)
{
    EXPECT_EQ(ReadBack("Log[10, x]"), "VXLog[10, x]");
}

TEST_F(KernelReaderTest, RealsAcceptBothExponentFormsAndDropThePrecisionMark)
{
    const struct {
        const char* digits;
        const char* written;
    } cases[] = {
        {"1.5*^20", "1.5e20"},
        {"1.5e20", "1.5e20"},
        {"2.5", "2.5"},
        {"3.14159265358979323846`20", "3.14159265358979323846"},
        {"3.14159265358979323846 `20", "3.14159265358979323846"},
        {"1.2.3", "Error"},
        {"abc", "Error"},
    };
    for (const auto& c : cases) {
        PutAtom(MLTKREAL, c.digits);
        EXPECT_EQ(ReadPacket(), c.written) << c.digits;
    }
    NodeSettings::Get().modelBuilding = true;
    PutAtom(MLTKREAL, "3.14159265358979323846`20");
    std::string model = ReadPacket();
    NodeSettings::Get().modelBuilding = false;
    EXPECT_EQ(model, "3.141592653589793");
    PutAtom(MLTKINT, "12a");
    EXPECT_EQ(ReadPacket(), "Error");
}

TEST_F(KernelReaderTest, HostileAnswersEndInErrorNodes)
{
    // Deeper than the reader follows.
    std::string deep;
    for (int i = 0; i < KernelReader::kMaxDepth + 10; ++i)
        deep += "f[";
    deep += "x";
    deep += std::string(KernelReader::kMaxDepth + 10, ']');
    wire::putLinkExpr(link, wire::parseFullForm(deep));
    MLEndPacket(link);
    MLNextPacket(link);
    KernelReader reader(link);
    std::unique_ptr<ExprNode> node(reader.ReadExpr());
    EXPECT_TRUE(reader.Failed());

    // A count of two billion arguments with none behind it reads at once.
    std::string packet;
    packet += char(70);
    wire::appendU32(packet, 0x7fffffffu);
    packet += char(35);
    wire::appendU32(packet, 4);
    packet += "List";
    MLLoopbackPutPacket(link, packet.data(), int(packet.size()));
    MLNextPacket(link);
    KernelReader counted(link);
    node.reset(counted.ReadExpr());
    EXPECT_TRUE(counted.Failed());
    EXPECT_EQ(node->GetChildCount(), 1);
}

TEST(ReaderCorpusTest, ReplaysTheFuzzCorpus)
{
    ReplayCorpus("tests/kernel/fuzz/corpus", readerfuzz::RunReaderInput);
}

} // namespace
