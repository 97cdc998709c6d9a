// The corpus of calculation requests: each goes to the kernel process as the
// program sends it. Where a fixed text would be brittle the answer is checked
// by property: an antiderivative differentiates back to the integrand, each
// solution satisfies the equation, a rewritten expression equals the original.
#include "KernelTestLink.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <thread>

using wire::Expr;

namespace {

struct CorpusCase {
    int line = 0;
    std::string kind;
    Expr request;
    std::string expected;
    std::string says; // a text one of the kernel's messages holds
};

// "<<text*n>>" stands for n copies of text, so that a row can hold a long name or deep brackets.
std::string expanded(std::string line)
{
    for (auto open = line.find("<<"); open != std::string::npos; open = line.find("<<", open)) {
        const auto close = line.find(">>", open);
        const auto star = line.rfind('*', close);
        std::string copies;
        for (int n = std::stoi(line.substr(star + 1, close - star - 1)); n > 0; --n)
            copies += line.substr(open + 2, star - open - 2);
        line.replace(open, close + 2 - open, copies);
        open += copies.size();
    }
    return line;
}

std::vector<CorpusCase> readCorpus(const std::string& path = QV_TEST_DATA "/calculation-corpus.txt")
{
    std::ifstream in(path);
    std::vector<CorpusCase> cases;
    std::string text;
    for (int line = 1; std::getline(in, text); ++line) {
        if (text.empty() || text[0] == '#')
            continue;
        text = expanded(text);
        auto colon = text.find(": ");
        auto arrow = text.find("  =>  ");
        if (colon == std::string::npos || arrow == std::string::npos)
            continue;
        auto says = text.find("  says  ", arrow);
        cases.push_back({line, text.substr(0, colon), wire::parseFullForm(text.substr(colon + 2, arrow - colon - 2)),
                         text.substr(arrow + 6, says == std::string::npos ? says : says - arrow - 6),
                         says == std::string::npos ? "" : text.substr(says + 8)});
    }
    return cases;
}

bool containsReal(const Expr& e)
{
    return e.type == wire::kTokenReal ||
        std::any_of(e.parts.begin(), e.parts.end(), [](const Expr& p) { return containsReal(p); });
}

// A held integral, whose value another kernel would compute when asked to judge it.
bool holdsIntegral(const Expr& e)
{
    return e.hasHead("Integrate") || e.hasHead("VXIntegrate") ||
        std::any_of(e.parts.begin(), e.parts.end(), [](const Expr& p) { return holdsIntegral(p); });
}

Expr without(const Expr& e, const Expr& term)
{
    return replacedIn(e, term, Expr::integer(0));
}

Expr difference(const Expr& a, const Expr& b)
{
    return Expr::function("Plus", {a, Expr::function("Times", {Expr::integer(-1), b})});
}

class Checker {
public:
    explicit Checker(KernelTestLink& kernel) : kernel_(kernel) {}

    // Empty when the case holds, else what went wrong.
    std::string check(const CorpusCase& c)
    {
        std::vector<std::string> messages;
        const std::string answerText = kernel_.evaluate(c.request, &messages);
        return judge(c, answerText, messages);
    }

    // The same for an answer had already, of this kernel or another.
    std::string judge(const CorpusCase& c, const std::string& answerText, const std::vector<std::string>& messages)
    {
        if (!c.says.empty() && std::none_of(messages.begin(), messages.end(), [&](const std::string& m) {
                return m.find(c.says) != m.npos;
            }))
            return "no message says " + c.says + " (" + std::to_string(messages.size()) + " messages)";
        if (c.kind == "says")
            return "";
        Expr answer;
        try {
            answer = wire::parseFullForm(answerText);
        } catch (const std::exception&) {
            return "unreadable answer " + answerText;
        }
        if (c.kind == "exact")
            return answerText == c.expected ? "" : "got " + answerText;
        if (c.kind == "first")
            return firstChoice(answer) == c.expected ? "" : "first choice " + firstChoice(answer) + " in " + answerText;
        if (c.kind == "fails")
            return answer.isSymbol("$Failed") ? "" : "expected $Failed, got " + answerText;
        Expr expected = wire::parseFullForm(c.expected);
        if (c.kind == "integral")
            return isZero(difference(Expr::function("D", {without(answer, kConstant), Expr::symbol("x")}), expected))
                       ? ""
                       : "does not differentiate back: " + answerText;
        if (c.kind == "equals")
            return isZero(difference(answer, expected)) ? "" : "not equal to " + c.expected + ": " + answerText;
        if (c.kind == "value") {
            if (containsReal(answer) && !containsReal(expected))
                return "a decimal for an exact value: " + answerText;
            if (holdsIntegral(answer))
                return "held: " + answerText;
            return isZero(difference(answer, expected)) ? "" : "not equal to " + c.expected + ": " + answerText;
        }
        if (c.kind == "solves")
            return solves(answer, expected) ? "" : "not a solution: " + answerText;
        return "unknown kind " + c.kind;
    }

private:
    static std::string firstChoice(const Expr& choices)
    {
        if (!choices.hasHead("List") || choices.argCount() == 0 || !choices.arg(0).hasHead("List", 3))
            return "<none>";
        return choices.arg(0).arg(0).text + " " + choices.arg(0).arg(2).text;
    }

    bool isZero(const Expr& e)
    {
        std::string simplified = kernel_.evaluate(Expr::function("Simplify", {e}));
        if (simplified == "0" || simplified == "0.")
            return true;
        // Numeric comparison where simplification cannot decide (branches of roots and logarithms).
        Expr value;
        try {
            value = wire::parseFullForm(kernel_.evaluate(e));
        } catch (const std::exception&) {
            return false;
        }
        std::string numeric = kernel_.evaluate(Expr::function(
            "N", {replacedIn(replacedIn(value, Expr::symbol("x"), Expr::realText("0.731")), Expr::symbol("y"),
                           Expr::realText("1.37"))}));
        try {
            return std::abs(std::stod(numeric)) < 1e-9;
        } catch (const std::exception&) {
            return false;
        }
    }

    bool solves(const Expr& answer, const Expr& equation)
    {
        std::vector<Expr> alternatives;
        if (answer.hasHead("VXOr"))
            alternatives.assign(answer.parts.begin() + 1, answer.parts.end());
        else
            alternatives.push_back(answer);
        for (const Expr& a : alternatives) {
            std::vector<Expr> rules;
            if (a.hasHead("Equal", 2))
                rules.push_back(a);
            else if (a.hasHead("List"))
                rules.assign(a.parts.begin() + 1, a.parts.end());
            else
                return false;
            std::vector<Expr> equations;
            if (equation.hasHead("List"))
                equations.assign(equation.parts.begin() + 1, equation.parts.end());
            else
                equations.push_back(equation);
            for (const Expr& eq : equations) {
                Expr substituted = difference(eq.arg(0), eq.arg(1));
                for (const Expr& rule : rules)
                    substituted = replacedIn(substituted, rule.arg(0), rule.arg(1));
                if (!isZero(substituted))
                    return false;
            }
        }
        return true;
    }

    const Expr kConstant = Expr::function("VXSubscript", {Expr::symbol("C"), Expr::symbol("vxReplSub")});
    KernelTestLink& kernel_;
};

} // namespace

TEST(CalculationCorpus, EveryRequestAnswersAsItShould)
{
    std::vector<CorpusCase> cases = readCorpus();
    ASSERT_GE(cases.size(), 300u);
    KernelTestLink kernel;
    ASSERT_NE(kernel.link(), nullptr);
    Checker checker(kernel);
    int failures = 0;
    for (const CorpusCase& c : cases) {
        std::string fault = checker.check(c);
        if (!fault.empty()) {
            ++failures;
            ADD_FAILURE() << "line " << c.line << ": " << wire::toFullForm(c.request) << "\n  " << fault;
        }
    }
    EXPECT_EQ(failures, 0);
}

namespace {

// One kernel's answer to a row, with its messages and the seconds it took.
struct Asked {
    std::string answer;
    std::vector<std::string> messages;
    double seconds = 0;
};

// A request still unanswered after this long is aborted: a kernel without
// bounds of its own can take an hour over one.
constexpr std::chrono::seconds kSweepLimit(120);

std::vector<Asked> askAll(const std::string& program, const std::vector<CorpusCase>& cases)
{
    using Clock = std::chrono::steady_clock;
    KernelTestLink kernel(program);
    Clock::time_point start;
    bool aborted = false;
    MLSetYieldFunction(kernel.link(), [&] {
        if (!aborted && Clock::now() - start > kSweepLimit) {
            aborted = true;
            MLPutMessage(kernel.link(), MLABORTMESSAGE);
        }
    });
    std::vector<Asked> answers;
    for (const CorpusCase& c : cases) {
        Asked a;
        start = Clock::now();
        aborted = false;
        a.answer = kernel.evaluate(c.request, &a.messages);
        a.seconds = std::chrono::duration<double>(Clock::now() - start).count();
        answers.push_back(std::move(a));
    }
    MLSetYieldFunction(kernel.link(), {});
    return answers;
}

std::string shown(const Asked& a, const std::string& fault)
{
    std::ostringstream out;
    out << a.answer << "   (" << a.seconds << " s; " << (fault.empty() ? "as the row says" : fault) << ")";
    for (const std::string& m : a.messages)
        out << "\n      says " << m;
    return out.str();
}

std::vector<std::string> sweepFiles()
{
    const char* listed = std::getenv("QV_SWEEP_FILES");
    if (!listed)
        return {QV_TEST_DATA "/calculation-corpus.txt", QV_TEST_DATA "/definite-integrals.txt"};
    std::vector<std::string> files;
    std::istringstream in(listed);
    for (std::string file; std::getline(in, file, ':');)
        files.push_back(file);
    return files;
}

} // namespace

// Not run by default: the before-and-after sweep of a change to the kernel.
// Every row of the corpus files goes to two kernel programs, this build's and
// the one QV_SWEEP_BEFORE names (an earlier build's kernelproc/qvkernel), and
// each row whose answer or messages differ is printed with both, as the row's
// check judges each, and the seconds each took. QV_SWEEP_FILES lists the
// files, separated by colons (by default the calculation corpus and the
// definite integrals of known value). Run it with
// --gtest_also_run_disabled_tests --gtest_filter='*Sweep*'.
TEST(CalculationCorpus, DISABLED_SweepAgainstAnotherKernel)
{
    const char* before = std::getenv("QV_SWEEP_BEFORE");
    ASSERT_NE(before, nullptr) << "QV_SWEEP_BEFORE names the kernel program to compare with";
    KernelTestLink judgeKernel;
    Checker checker(judgeKernel);
    for (const std::string& file : sweepFiles()) {
        const std::vector<CorpusCase> cases = readCorpus(file);
        ASSERT_FALSE(cases.empty()) << file;
        std::vector<Asked> old;
        std::thread other([&] { old = askAll(before, cases); });
        const std::vector<Asked> now = askAll(QV_BINARY_DIR "/kernelproc/qvkernel", cases);
        other.join();
        int changed = 0, rightBefore = 0, rightAfter = 0;
        double secondsBefore = 0, secondsAfter = 0;
        for (std::size_t i = 0; i < cases.size(); ++i) {
            const std::string faultBefore = checker.judge(cases[i], old[i].answer, old[i].messages);
            const std::string faultAfter = checker.judge(cases[i], now[i].answer, now[i].messages);
            rightBefore += faultBefore.empty();
            rightAfter += faultAfter.empty();
            secondsBefore += old[i].seconds;
            secondsAfter += now[i].seconds;
            const bool slower = now[i].seconds > 2 * old[i].seconds + 1;
            if (old[i].answer == now[i].answer && old[i].messages == now[i].messages && !slower)
                continue;
            ++changed;
            std::cout << file.substr(file.rfind('/') + 1) << " line " << cases[i].line << ": "
                      << wire::toFullForm(cases[i].request) << "\n  before " << shown(old[i], faultBefore)
                      << "\n  after  " << shown(now[i], faultAfter) << "\n";
        }
        std::cout << file << ": " << cases.size() << " rows, " << changed
                  << " changed; as the rows say: " << rightBefore << " before, " << rightAfter
                  << " after; seconds: " << secondsBefore << " before, " << secondsAfter << " after\n";
    }
}
