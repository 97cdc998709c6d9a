// The corpus of plain kernel forms: each request goes to the kernel process
// and its answer must be exactly the expected one.
#include "KernelTestLink.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

struct CorpusCase {
    int line = 0;
    std::string request;
    std::string expected;
};

std::vector<CorpusCase> readCorpus()
{
    std::ifstream in(QV_TEST_DATA "/translation-corpus.txt");
    std::vector<CorpusCase> cases;
    std::string text;
    for (int line = 1; std::getline(in, text); ++line) {
        if (text.empty() || text[0] == '#')
            continue;
        auto arrow = text.find("  =>  ");
        if (arrow == std::string::npos)
            continue;
        cases.push_back({line, text.substr(0, arrow), text.substr(arrow + 6)});
    }
    return cases;
}

} // namespace

TEST(TranslationCorpus, EveryRequestGetsItsExpectedAnswer)
{
    std::vector<CorpusCase> cases = readCorpus();
    ASSERT_GE(cases.size(), 200u);
    KernelTestLink kernel;
    ASSERT_NE(kernel.link(), nullptr);
    int failures = 0;
    for (const CorpusCase& c : cases) {
        std::string answer = kernel.evaluate(c.request);
        if (answer != c.expected) {
            ++failures;
            ADD_FAILURE() << "line " << c.line << ": " << c.request << "\n  expected " << c.expected << "\n  got      "
                          << answer;
        }
    }
    EXPECT_EQ(failures, 0);
}

TEST(TranslationCorpus, AnswersUseTheSpellingsTheProgramReads)
{
    std::vector<CorpusCase> cases = readCorpus();
    for (const CorpusCase& c : cases) {
        // Never the bare symbols E and I, Sqrt, Or, or the kernel's "*^" exponent.
        for (const char* banned : {"Sqrt[", "Or[", "*^", "[E]", "[I]", " E]", " I]", "[E,", "[I,"}) {
            if (std::string(banned) == "Or[" && c.expected.find("VXOr[") != std::string::npos)
                continue;
            EXPECT_EQ(c.expected.find(banned), std::string::npos) << c.expected;
        }
    }
}
