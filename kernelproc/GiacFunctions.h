#pragma once
// The kernel language's meaning of the functions that have a Giac namesake,
// wherever a call stands: how many arguments each takes, how it threads
// over the elements of lists, the shape of list it needs, and the forms
// Giac reads otherwise (the second argument of Round, Floor and Ceiling is
// the multiple to round to, that of ProductLog the branch; Numerator of a
// sum is the sum; PrimeQ of anything but an integer is False).
#include "mathlink/Expr.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kernelproc {

class GiacInput;

class GiacFunctions {
public:
    explicit GiacFunctions(GiacInput& input) : input_(input) {}

    // Giac's text for a call of a known function, or none where Giac's
    // namesake applied to the same arguments means what the kernel does.
    // Throws TranslationError for a call the kernel refuses.
    std::optional<std::string> translate(const wire::Expr& e);
    // Refuses lists whose shapes do not fit the arithmetic: unequal lengths
    // added, multiplied, divided, raised or reduced (Mod, Log) element by
    // element, a Dot of vectors or matrices whose inner dimensions differ.
    static void checkShapes(const wire::Expr& e);
    // Unequal[a, b, ...]: False when two are equal, True when all are numbers
    // (or, of two, differ by one), as written otherwise.
    std::string unequal(const wire::Expr& e);

private:
    std::string text(const wire::Expr& e);
    std::string arguments(const wire::Expr& e);
    // The call as written: a function of the kernel's name that Giac leaves alone.
    std::string keptAsWritten(const wire::Expr& e);
    // The call with the values of its arguments bound to names (see GiacInput::once).
    static std::string keptWith(const wire::Expr& e, const std::vector<std::string>& values);
    std::optional<std::string> threaded(const wire::Expr& e);
    std::optional<std::string> meaning(std::string_view head, const wire::Expr& e);
    std::optional<std::string> numberTheory(std::string_view head, const wire::Expr& e);
    std::optional<std::string> matrices(std::string_view head, const wire::Expr& e);
    std::string multiple(std::string_view head, const wire::Expr& e);
    std::string angle(const wire::Expr& e);
    std::string hurwitzZeta(const wire::Expr& e);
    std::string factorPairs(const wire::Expr& e);
    std::string fractionPart(bool numerator, const wire::Expr& e);
    std::string trace(const wire::Expr& e);
    std::string norm(const wire::Expr& e);
    std::string cross(const wire::Expr& e);

    GiacInput& input_;
};

} // namespace kernelproc
