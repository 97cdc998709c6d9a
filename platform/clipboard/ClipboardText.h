#pragma once
// Plain text across the clipboard. The program ends its paragraphs with a
// carriage return and ends a text block with a NUL; other programs on Linux
// end lines with a line feed, and some with CR LF.
#include <string>
#include <string_view>

namespace ClipboardText {

// Text as offered to other programs: everything before the first NUL, with
// every CR LF and lone CR turned into LF.
std::string ForOtherPrograms(std::string_view text);

// Text as the program reads it: everything before the first NUL, with every
// CR LF, lone LF and lone CR turned into one CR.
std::string ForProgram(std::string_view text);

} // namespace ClipboardText
