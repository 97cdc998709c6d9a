#pragma once
// What the LaTeX writer writes for one character code of the stored
// character set, in text and in mathematics. The character table's TeX texts
// are used where pdflatex takes them as they are; the rest (raw bytes of 128
// and above, which pdflatex reads as broken UTF-8, and commands that exist
// only in mathematics) get forms that compile with the packages the writer's
// preamble declares. A form never ends in a bare command name: a blank or
// "{}" ends it so that a following letter cannot run into it.
#include <cstdint>
#include <string>

namespace LaTeXCharForms {

std::string TextForm(uint8_t code);
std::string MathForm(uint8_t code);

}  // namespace LaTeXCharForms
