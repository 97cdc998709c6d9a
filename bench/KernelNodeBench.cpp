// Expression nodes against the link: a formula of 200 terms built and written
// in both kernel forms, and an answer of 10,000 nodes read into a tree.
#include "kernel/KernelReader.h"
#include "kernel/LeafNodes.h"
#include "kernel/NodeBuilders.h"
#include "kernel/SumProductNodes.h"
#include "mathlink/MathLink.h"
#include "mathlink/WireFormat.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

constexpr int kTerms = 200;
constexpr int kAnswerNodes = 10000;

struct Loopback {
    Loopback()
    {
        env = MLInitialize();
        int error = 0;
        link = MLLoopbackOpen(env, &error);
    }
    ~Loopback()
    {
        MLClose(link);
        MLDeinitialize(env);
    }
    // Ends the packet and takes it off the link unread.
    void Drop()
    {
        MLEndPacket(link);
        MLNextPacket(link);
        MLNewPacket(link);
    }
    MLENV env;
    MLINK link;
};

// c_1 x + c_2 x^2 + ... : each term a product of a coefficient and a power.
ExprNode* Formula()
{
    SumNode* sum = nullptr;
    for (int k = 1; k <= kTerms; ++k) {
        ExprNode* term = MakeProduct(MakeIntegerNode(k), MakePower(new SymbolNode(std::string("x")), MakeIntegerNode(k)));
        if (sum)
            sum->AppendChild(term);
        else
            sum = new SumNode(term);
    }
    return sum;
}

void BuildAndWriteFormula(benchmark::State& state)
{
    Loopback loop;
    for (auto _ : state) {
        std::unique_ptr<ExprNode> formula(Formula());
        formula->PutPackageForm(loop.link, 0);
        loop.Drop();
        formula->PutPlainForm(loop.link);
        loop.Drop();
    }
}
BENCHMARK(BuildAndWriteFormula)->Unit(benchmark::kMicrosecond);

// VXPlus of products VXTimes[k, x_k]: one sum, 3,333 products of 2 leaves.
std::string LargeAnswer()
{
    wire::PacketWriter writer;
    const int products = (kAnswerNodes - 1) / 3;
    writer.putFunction(uint32_t(products));
    writer.putAtom(wire::kTokenSymbol, "VXPlus");
    for (int k = 0; k < products; ++k) {
        writer.putFunction(2);
        writer.putAtom(wire::kTokenSymbol, "VXTimes");
        writer.putAtom(wire::kTokenInteger, std::to_string(k + 1));
        std::string name = "x";
        name += std::to_string(k);
        writer.putAtom(wire::kTokenSymbol, name);
    }
    return writer.bytes();
}

void ReadLargeAnswer(benchmark::State& state)
{
    Loopback loop;
    const std::string packet = LargeAnswer();
    for (auto _ : state) {
        // The packet arriving and the tree's deletion are not the reading.
        state.PauseTiming();
        MLLoopbackPutPacket(loop.link, packet.data(), int(packet.size()));
        MLNextPacket(loop.link);
        state.ResumeTiming();
        std::unique_ptr<ExprNode> answer(ReadKernelExpr(loop.link));
        benchmark::DoNotOptimize(answer.get());
        state.PauseTiming();
        answer.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(ReadLargeAnswer)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
