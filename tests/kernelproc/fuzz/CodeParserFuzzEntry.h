#pragma once
// The fuzz entry of the parser of the user's kernel code, shared by the
// libFuzzer target and the replay of its corpus: the text is parsed and, when
// it parses, classified as a selection would be.
#include "kernelproc/CalculationChoices.h"
#include "kernelproc/CodeParser.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace codefuzz {

inline bool RunCodeInput(const std::uint8_t* data, std::size_t size)
{
    try {
        wire::Expr e = kernelproc::parseCode(std::string_view(reinterpret_cast<const char*>(data), size));
        kernelproc::calculationChoices(e, kernelproc::ChoiceContext{});
        return true;
    } catch (const kernelproc::CodeParseError&) {
        return false;
    }
}

} // namespace codefuzz
