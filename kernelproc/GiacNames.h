#pragma once
// The names shared by the translation into Giac's input language and back:
// function heads, constants, and the encoding of free symbols as Giac
// identifiers.
#include <string>
#include <string_view>

namespace kernelproc {

// Giac's name for a kernel function head ("Sin" -> "sin"), or "" when unknown.
// True for the symbols that name constants or options rather than unknowns.
bool isKnownConstant(std::string_view name);

// The package spellings with a "VX" prefix map as their plain names do.
std::string giacFunctionFor(std::string_view head);
// The kernel head for a Giac function name ("sin" -> "Sin"), or "" when unknown.
std::string kernelFunctionFor(std::string_view giacName);

// A free kernel symbol as a Giac identifier that cannot clash with Giac's own
// names: "qv_" followed by the name, with every byte other than a letter or a
// digit written "_hh".
std::string encodeSymbol(std::string_view name);
// The identifier of a variable bound by one sum, product, table, integral or
// derivative: "qvb", the serial and the name as encodeSymbol writes it after
// its "qv_". A new serial for each makes a fresh Giac identifier (Giac keeps
// traces of a variable it has run over, and a later symbolic sum over it
// fails), and no "_" stands before a one-letter name (Giac takes a name
// ending in "_i" for an integer, "_d" for a real..., and cannot sum over it).
std::string encodeBoundSymbol(std::string_view name, unsigned long serial);
// The kernel name of either kind of identifier, or "" when it is neither.
std::string decodeSymbol(std::string_view identifier);

// True for the symbols that name constants or options rather than unknowns.
bool isKnownConstant(std::string_view name);

// The package spelling with the "VX" prefix dropped when the rest is a known head.
std::string_view plainHead(std::string_view head);

} // namespace kernelproc
