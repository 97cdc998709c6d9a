#pragma once
// What the program puts on the clipboard in one go: any of its private
// archive bytes, plain text, a picture (EMF with PNG and SVG beside it),
// MathML text and SVG text. Unset parts are not offered.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct ClipboardData {
    // The archive form of the copied content ("Quorvant Data").
    std::optional<std::vector<uint8_t>> privateData;
    // UTF-8 text; lines may end with CR, LF or CRLF, and a NUL ends the text.
    std::optional<std::string> text;
    // A picture as enhanced-metafile bytes, with PNG bytes for programs that
    // do not read EMF.
    std::optional<std::vector<uint8_t>> metafile;
    std::optional<std::vector<uint8_t>> png;
    // SVG text: the SVG form of a picture, or a drawing copied as SVG.
    std::optional<std::string> svg;
    // MathML text of copied mathematics.
    std::optional<std::string> mathml;

    bool IsEmpty() const { return !privateData && !text && !metafile && !png && !svg && !mathml; }
};
