// The kernel's numeric quadrature, against integrals known in closed form:
// a value within its stated error where the integral converges (singular
// ends, infinite ends, jumps, an integrand that lives in a small part of a
// long range), and none where it diverges or oscillates without end, where
// the integrand has no value, or once it is stopped. A value never rests on
// samples that were all 0 where the integrand lives.
#include "kernelproc/NumericQuadrature.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

using kernelproc::integrateNumerically;

TEST(NumericQuadrature, ConvergesWhereTheIntegralDoesAndNowhereElse)
{
    const double pi = std::acos(-1.0);
    const auto normal = [=](double mean, double deviation) {
        return [=](double x) {
            return std::exp(-std::pow((x - mean) / deviation, 2) / 2) / (deviation * std::sqrt(2 * pi));
        };
    };
    const struct {
        const char* name;
        std::function<double(double)> f;
        double a, b;
        std::vector<double> breaks;
        double expected; // NAN: no value may be given
    } cases[] = {
        {"exp", [](double x) { return std::exp(x); }, 0, 1, {}, std::exp(1.0) - 1},
        {"exp backwards", [](double x) { return std::exp(x); }, 1, 0, {}, 1 - std::exp(1.0)},
        {"1/sqrt(x)", [](double x) { return 1 / std::sqrt(x); }, 0, 1, {}, 2},
        {"log", [](double x) { return std::log(x); }, 0, 1, {}, -1},
        {"1/sqrt(1-x^2)", [](double x) { return 1 / std::sqrt(1 - x * x); }, -1, 1, {}, pi},
        {"1/sqrt|x| split at 0", [](double x) { return 1 / std::sqrt(std::abs(x)); }, -1, 1, {0}, 4},
        {"exp(-x^2)", [](double x) { return std::exp(-x * x); }, -INFINITY, INFINITY, {}, std::sqrt(pi)},
        {"1/(1+x^2) to infinity", [](double x) { return 1 / (1 + x * x); }, 0, INFINITY, {}, pi / 2},
        {"x^-3/2 from infinity", [](double x) { return std::pow(-x, -1.5); }, -INFINITY, -1, {}, 2},
        {"a step not named", [](double x) { return x < 0.3 ? 0.0 : 1.0; }, 0, 1, {}, 0.7},
        {"a kink named", [](double x) { return std::abs(x - 1.0 / 3); }, 0, 1, {1.0 / 3}, 5.0 / 18},
        {"1/x at an end", [](double x) { return 1 / x; }, 0, 1, {}, NAN},
        {"1/x to infinity", [](double x) { return 1 / x; }, 1, INFINITY, {}, NAN},
        {"a pole inside", [](double x) { return 1 / (x - 0.5); }, 0, 1, {}, NAN},
        {"sin to infinity", [](double x) { return std::sin(x); }, 0, INFINITY, {}, NAN},
        // Every first sample of these is 0: the integrand lives far out, or
        // short of the first sample at an end.
        {"a normal density at 100", normal(100, 1), -INFINITY, INFINITY, {}, 1},
        {"a normal density at -1000", normal(-1000, 1), -INFINITY, 0, {}, 1},
        {"exp over 10^6", [](double x) { return std::exp(-x); }, 0, 1e6, {}, 1},
        {"x^2 exp over 10^6", [](double x) { return x * x * std::exp(-x); }, 0, 1e6, {}, 2},
        {"exp(-10 x) over 10^5", [](double x) { return std::exp(-10 * x); }, 0, 1e5, {}, 0.1},
        {"exp(-1000 x) over 10^5", [](double x) { return std::exp(-1000 * x); }, 0, 1e5, {}, 1e-3},
        {"exp ending at 0 after 10^6", [](double x) { return std::exp(x); }, -1e6, 0, {}, 1},
        {"a narrow peak at a break", normal(1000, 1 / std::sqrt(200.0)), -INFINITY, INFINITY, {1000}, 1},
        {"0 before a step at a break", [](double x) { return x < 1.0 / 3 ? 0.0 : 1.0; }, 0, 1, {1.0 / 3}, 2.0 / 3},
        {"1/sqrt|x^2 - 1| split at 1",
         [](double x) { return 1 / std::sqrt(std::abs(x * x - 1)); },
         0,
         2,
         {1},
         pi / 2 + std::log(2 + std::sqrt(3.0))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto f = [&](double x) { return std::optional<std::complex<double>>(c.f(x)); };
        const std::optional<kernelproc::Quadrature> q = integrateNumerically(f, c.a, c.b, c.breaks);
        if (std::isnan(c.expected)) {
            EXPECT_FALSE(q.has_value()) << q->value.real();
            continue;
        }
        ASSERT_TRUE(q.has_value());
        EXPECT_LE(std::abs(q->value.real() - c.expected), std::max(q->error, 1e-12 * c.expected)) << q->value.real();
        EXPECT_LT(q->error, 1e-6 * std::abs(c.expected));
    }
    // An integrand without a value somewhere, and a stopped quadrature, give none.
    auto partly = [](double x) { return x < 0.5 ? std::optional<std::complex<double>>(x) : std::nullopt; };
    EXPECT_FALSE(integrateNumerically(partly, 0, 1, {}).has_value());
    kernelproc::QuadratureLimits stopped;
    stopped.stopped = [] { return true; };
    EXPECT_FALSE(integrateNumerically([](double) { return std::complex<double>(1); }, 0, 1, {}, stopped).has_value());
}
