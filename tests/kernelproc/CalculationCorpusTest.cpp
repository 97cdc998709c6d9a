// The corpus of calculation requests: each goes to the kernel process as the
// program sends it. Where a fixed text would be brittle the answer is checked
// by property: an antiderivative differentiates back to the integrand, each
// solution satisfies the equation, a rewritten expression equals the original.
#include "KernelTestLink.h"
#include "kernelproc/CodeParser.h"

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
    std::string name; // what the row guards, when it says: "exact (name): ..."
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
        if (auto named = text.find(" ("); named < colon && text.find("): ", named) != std::string::npos)
            colon = text.find("): ", named) + 1;   // a name may hold a colon of its own
        auto arrow = text.find("  =>  ");
        if (colon == std::string::npos || arrow == std::string::npos)
            continue;
        auto says = text.find("  says  ", arrow);
        std::string kind = text.substr(0, colon);
        std::string name;
        if (auto open = kind.find(" ("); open != std::string::npos && kind.back() == ')') {
            name = kind.substr(open + 2, kind.size() - open - 3);
            kind.erase(open);
        }
        cases.push_back({line, kind, name, wire::parseFullForm(text.substr(colon + 2, arrow - colon - 2)),
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
            ADD_FAILURE() << "line " << c.line << (c.name.empty() ? "" : " (" + c.name + ")") << ": "
                          << wire::toFullForm(c.request) << "\n  " << fault;
        }
    }
    EXPECT_EQ(failures, 0);
}

TEST(CalculationCorpus, NestedCallsAnswerInProportionToTheirDepth)
{
    // Every function of numbers nested in each of its argument places, as
    // f[f[x - 1] - 1], answers about twice as long twice as deep, where a call
    // Giac rewrites to hold its argument twice (Mod, ArcSinh) would double.
    const std::pair<const char*, int> functions[] = {
        {"Sin", 1}, {"Tan", 1}, {"Cot", 1}, {"Sec", 1}, {"ArcSin", 1}, {"ArcTan", 1}, {"ArcTan", 2}, {"ArcSec", 1},
        {"Sinh", 1}, {"Coth", 1}, {"ArcSinh", 1}, {"ArcCosh", 1}, {"ArcTanh", 1}, {"Exp", 1}, {"Log", 1}, {"Log", 2},
        {"Sqrt", 1}, {"Power", 2}, {"Abs", 1}, {"Sign", 1}, {"Floor", 1}, {"Floor", 2}, {"Ceiling", 2}, {"Round", 2},
        {"Mod", 2}, {"Quotient", 2}, {"Quotient", 3}, {"Gamma", 1}, {"Gamma", 2}, {"Gamma", 3}, {"Beta", 2},
        {"Beta", 3}, {"Erf", 2}, {"Erfc", 1}, {"Zeta", 2}, {"PolyGamma", 1}, {"PolyGamma", 2}, {"BesselJ", 2},
        {"Factorial", 1}, {"Binomial", 2}, {"Arg", 1}, {"Max", 2}, {"ProductLog", 2}, {"UnitStep", 1},
        {"DiracDelta", 1}, {"PrimeQ", 1}, {"fn", 2}, {"Unequal", 2}};
    KernelTestLink kernel;
    ASSERT_NE(kernel.link(), nullptr);
    for (const auto& [name, arity] : functions) {
        for (int place = 0; place < arity; ++place) {
            auto nested = [&, name = name, arity = arity](int depth) {
                std::string code = "x - 1";
                for (int level = 0; level < depth; ++level) {
                    std::string call = std::string(name) + "[";
                    for (int i = 0; i < arity; ++i)
                        call += (i ? ", " : "") + (i == place ? code : std::to_string(i + 2));
                    code = call + "] - 1";
                }
                return kernel.evaluate(Expr::function("VXStringEvaluate", {Expr::string(code)}));
            };
            const std::string shallow = nested(5);
            const std::string deep = nested(10);
            EXPECT_TRUE(deep != "$Failed" && deep[0] != '<') << name << " in place " << place + 1 << ": " << deep;
            EXPECT_LT(deep.size(), shallow.size() * 5 / 2) << name << " in place " << place + 1;
        }
    }
}

TEST(CalculationCorpus, RealsOfEveryDigitCountAreEqualToTheBitsTheyHold)
{
    // 1 against 1.0...01 of d significant digits, as the editor sends a real
    // it read: equal where they differ only in the last seven bits of the
    // real, which holds those of a machine real (53) up to 15 digits and
    // d log2(10) beyond; a difference near that edge is left out.
    KernelTestLink kernel;
    ASSERT_NE(kernel.link(), nullptr);
    for (int digits = 2; digits <= 30; ++digits) {
        const std::string real = "1." + std::string(digits - 2, '0') + "1";
        const double bits = digits <= 15 ? 53 : std::max(53.0, digits * std::log2(10.0));
        const double tolerance = std::pow(2.0, 7 - bits);
        const double difference = std::pow(10.0, 1 - digits);
        if (difference > tolerance / 2 && difference < tolerance * 2)
            continue;
        const bool equal = difference <= tolerance;
        for (const char* relation : {"Equal", "Unequal"}) {
            const Expr request = Expr::function(
                "VXEvaluate", {Expr::integer(1), Expr::function(relation, {Expr::integer(1), Expr::realText(real)})});
            const bool expected = equal == (std::string(relation) == "Equal");
            EXPECT_EQ(kernel.evaluate(request), expected ? "True" : "False") << relation << " of 1 and " << real;
        }
    }
}

TEST(CalculationCorpus, LongProductsAreRefusedWithTheDigitsOfTheirValue)
{
    // Digits of n! and (n!)^2 from log Gamma, of 2^n from log10(2): a value of
    // more than a million is refused with its size, a shorter one shown whole.
    KernelTestLink kernel;
    ASSERT_NE(kernel.link(), nullptr);
    const auto factorialDigits = [](double n, int power) {
        return static_cast<long long>(power * std::lgamma(n + 1) / std::log(10.0)) + 1;
    };
    for (const char* end : {"10^6", "10^7", "10^9"}) {
        const double n = std::pow(10.0, std::stoi(std::string(end).substr(3)));
        const std::pair<std::string, long long> products[] = {
            {"k", factorialDigits(n, 1)},
            {"k^2", factorialDigits(n, 2)},
            {"2", static_cast<long long>(n * std::log10(2.0)) + 1},
        };
        for (const auto& [factor, digits] : products) {
            std::vector<std::string> messages;
            const std::string code = "Product[" + factor + ", {k, 1, " + end + "}]";
            const std::string answer = kernel.evaluate(Expr::function("VXStringEvaluate", {Expr::string(code)}), &messages);
            if (digits <= 1000000) {   // short enough to show
                EXPECT_EQ(static_cast<long long>(answer.size()), digits) << code;
                continue;
            }
            EXPECT_EQ(answer, wire::toFullForm(kernelproc::parseCode(code)));
            const std::string says = "about " + std::to_string(digits) + " digits";
            EXPECT_TRUE(std::any_of(messages.begin(), messages.end(), [&](const std::string& m) {
                return m.find(says) != std::string::npos;
            })) << code << " does not say " << says;
        }
    }
}

namespace {

// One kernel's answer to a row, with its messages and the seconds it took.
struct Asked {
    std::string answer;
    std::vector<std::string> messages;
    double seconds = 0;
};

std::vector<Asked> askAll(const std::string& program, const std::vector<CorpusCase>& cases)
{
    // A request still unanswered after two minutes is aborted: a kernel
    // without bounds of its own can take an hour over one.
    constexpr std::chrono::seconds kLimit(120);
    using Clock = std::chrono::steady_clock;
    KernelTestLink kernel(program);
    Clock::time_point start;
    bool aborted = false;
    MLSetYieldFunction(kernel.link(), [&] {
        if (!aborted && Clock::now() - start > kLimit) {
            aborted = true;
            MLPutMessage(kernel.link(), MLABORTMESSAGE);
        }
    });
    std::vector<Asked> answers(cases.size());
    for (std::size_t i = 0; i < cases.size(); ++i) {
        start = Clock::now();
        aborted = false;
        answers[i].answer = kernel.evaluate(cases[i].request, &answers[i].messages);
        answers[i].seconds = std::chrono::duration<double>(Clock::now() - start).count();
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
    std::vector<std::string> files = {QV_TEST_DATA "/calculation-corpus.txt", QV_TEST_DATA "/definite-integrals.txt"};
    if (const char* listed = std::getenv("QV_SWEEP_FILES")) {
        std::istringstream in(listed);
        files.clear();
        for (std::string file; std::getline(in, file, ':');)
            files.push_back(file);
    }
    KernelTestLink judgeKernel;
    Checker checker(judgeKernel);
    for (const std::string& file : files) {
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
