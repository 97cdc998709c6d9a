#include "platform/clipboard/ClipboardText.h"

namespace {

std::string WithLineEnd(std::string_view text, char lineEnd)
{
    text = text.substr(0, text.find('\0'));
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r') {
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            out += lineEnd;
        } else if (c == '\n') {
            out += lineEnd;
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace

std::string ClipboardText::ForOtherPrograms(std::string_view text)
{
    return WithLineEnd(text, '\n');
}

std::string ClipboardText::ForProgram(std::string_view text)
{
    return WithLineEnd(text, '\r');
}
