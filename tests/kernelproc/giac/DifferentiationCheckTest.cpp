// The check that an antiderivative differentiates back to its integrand, in
// Giac's own terms: right answers it must accept promptly, wrong ones it must
// refuse.
#include "kernelproc/GiacIntegration.h"
#include "support/CpuTime.h"

#include <gtest/gtest.h>

namespace {

struct CheckCase {
    const char* antiderivative; // empty: Giac's own antiderivative
    const char* integrand;
    bool right;
};

const CheckCase kCases[] = {
    {"x^2/2", "x", true},
    {"x^2", "x", false},
    // Right for x > 0 only, where x is real and finite: the negative sample points see it.
    {"x*abs(x)/2", "x", false},
    {"ln(x)+x/1000000", "1/x", false},
    // Real only for x > 0, and Giac's answer is right there.
    {"-1/2*ln((ln(abs(x))-2)^2+((1-sign(x))*pi/2)^2)", "1/(x*(2-ln(x)))", true},
    {"", "1/(x*(2-ln(x)))", true},
    // Simplifying the difference takes Giac half a minute and more.
    {"", "x^7*2^x*3^x*sin(x)*cos(x)", true},
    {"", "x^6*2^x*5^x*sin(3*x)*cos(x)", true},
    // Real nowhere on the real line: complex points decide.
    {"i*(x^3/3+x)", "i*(x^2+1)", true},
    {"i*x^3/3", "i*(x^2+1)", false},
};

} // namespace

TEST(DifferentiationCheck, AcceptsRightAntiderivativesPromptlyAndRefusesWrongOnes)
{
    giac::context context;
    giac::gen x("x", &context);
    for (const CheckCase& c : kCases) {
        giac::gen f = giac::eval(giac::gen(c.integrand, &context), 1, &context);
        giac::gen F = *c.antiderivative ? giac::eval(giac::gen(c.antiderivative, &context), 1, &context)
                                        : giac::_integrate(giac::makesequence(f, x), &context);
        const double start = CpuSeconds();
        EXPECT_EQ(kernelproc::differentiatesTo(F, f, x, &context), c.right)
            << c.antiderivative << " for " << c.integrand;
        EXPECT_LT(CpuSeconds() - start, 4.0) << c.integrand;
    }
}
