#pragma once
// What the LaTeX writer writes for one character, given by its code in its
// face and the face's character set, in text and in mathematics. The code is
// taken to the stored character set, in which the character table is indexed,
// through the archive's writer map of its face (the mathematics face's alpha,
// 168, is the table's 172). The character table's TeX texts
// are used where pdflatex takes them as they are; the rest (raw bytes of 128
// and above, which pdflatex reads as broken UTF-8, and commands that exist
// only in mathematics) get forms that compile with the packages the writer's
// preamble declares. A form never ends in a bare command name: a blank or
// "{}" ends it so that a following letter cannot run into it.
#include "platform/draw/GdiTypes.h"

#include <cstdint>
#include <string>

namespace LaTeXCharForms {

// The character table's index of a character of a face.
uint8_t StoredCode(uint8_t code, int charSet);

std::string TextForm(uint8_t code, int charSet = ANSI_CHARSET);
std::string MathForm(uint8_t code, int charSet = SYMBOL_CHARSET);
// Source code in the typewriter face: the character as it shows in that
// face, the characters TeX acts on as the face's own glyphs by number, those
// above ASCII in their text forms and a blank as a space that neither
// stretches nor breaks. Nothing written can end the code or start a command.
std::string VerbatimForm(uint8_t code);
// A character of a command's argument that names something (a label, an
// address): characters TeX acts on as their escaped forms, the rest as they
// are, so that the argument stays one argument whatever it holds. Codes of
// 128 and above have no form there and show as "?".
std::string ArgumentForm(uint8_t code);

}  // namespace LaTeXCharForms
