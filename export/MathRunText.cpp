#include "export/MathRunText.h"

#include "foundation/CompList.h"
#include "foundation/TextComp.h"
#include "foundation/TypeTag.h"
#include "platform/draw/TextCodec.h"

#include <QChar>

namespace MathRunText {

namespace {

bool IsBlankCharacter(const TextComp& comp)
{
    if (comp.Tag() != tag_Char)
        return false;
    const char32_t ch = Shown(comp);
    return ch != TextCodec::kNoCharacter && QChar::isSpace(ch);
}

} // namespace

char32_t Shown(const TextComp& comp)
{
    return TextCodec::ToUnicode(comp.GetChar(), TextCodec::CharSetOfFontId(comp.GetFontId()));
}

int TextCode(const TextComp& comp)
{
    const char32_t ch = Shown(comp);
    const int code = ch == TextCodec::kNoCharacter ? TextCodec::kNoCode : TextCodec::FromUnicode(ch, ANSI_CHARSET);
    return code >= 32 ? code : TextCodec::kNoCode;
}

bool IsBlank(const CompList& row, int first, int end)
{
    for (int i = first; i < end; ++i)
        if (!IsBlankCharacter(*row.GetAt(i)))
            return false;
    return true;
}

std::pair<int, int> WithoutOuterBlanks(const CompList& row, int first, int end)
{
    int from = first;
    int to = end;
    while (from < to && IsBlankCharacter(*row.GetAt(from)))
        ++from;
    while (to > from && IsBlankCharacter(*row.GetAt(to - 1)))
        --to;
    return from < to ? std::pair(from, to) : std::pair(first, end);
}

} // namespace MathRunText
