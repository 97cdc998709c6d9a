#include "math/TextOperand.h"

#include "foundation/CharBinding.h"
#include "foundation/TextComp.h"

namespace TextOperand {

namespace {

bool IsCharacter(const TextComp* comp)
{
    return comp && comp->Tag() == tag_Char;
}

bool IsDigit(unsigned char c)
{
    return c >= '0' && c <= '9';
}

// Whether components 1..count of the row are a number.
bool IsNumber(const CompList& row, int count)
{
    int points = 0;
    for (int i = 1; i <= count; ++i) {
        TextComp* comp = row.GetAt(i);
        if (!IsCharacter(comp))
            return false;
        unsigned char c = comp->GetChar();
        if (c == '.' && i > 1)
            ++points;
        else if (!IsDigit(c))
            return false;
    }
    return points <= 1;
}

bool FencesItself(const TextComp* comp)
{
    TypeTag tag = comp->Tag();
    return tag == tag_parG || tag == tag_brcG || tag == tag_AbsV || tag == tag_Over || tag == tag_Miss;
}

// Components 1..count are one typed bracketed run: "(" or "[" first, and its
// matching close at component count ("(b+c)", not "(a)(b)").
bool IsTypedGroup(const CompList& row, int count)
{
    if (count < 2 || !IsCharacter(row.GetAt(1)))
        return false;
    const unsigned char open = row.GetAt(1)->GetChar();
    const unsigned char close = open == '(' ? ')' : open == '[' ? ']' : 0;
    if (close == 0)
        return false;
    int depth = 0;
    for (int i = 1; i <= count; ++i) {
        TextComp* comp = row.GetAt(i);
        if (!IsCharacter(comp))
            continue;
        const unsigned char c = comp->GetChar();
        if (c == open)
            ++depth;
        else if (c == close && --depth == 0)
            return i == count;
    }
    return false;
}

// One of the first count components: a character, a number, one component
// that fences itself, or a typed bracketed run.
bool IsAtomPrefix(const CompList& row, int count)
{
    if (count == 1)
        return IsCharacter(row.GetAt(1)) || FencesItself(row.GetAt(1));
    return count > 1 && (IsNumber(row, count) || IsTypedGroup(row, count));
}

// A non-empty superscript or subscript, which binds to what precedes it.
bool IsScript(const TextComp* comp)
{
    const TypeTag tag = comp->Tag();
    return (tag == tag_Expo || tag == tag_Subs) && comp->GetChild(1) && comp->GetChild(1)->GetCount() > 0;
}

// An atom followed by nothing but scripts (b^2, x_1, x_1^2, (a+b)^2).
bool IsScriptedAtom(const CompList& row)
{
    int base = row.GetCount();
    while (base > 0 && IsScript(row.GetAt(base)))
        --base;
    return IsAtomPrefix(row, base);
}

void WriteBracketed(TextOutBuffer& out, const CompList& row, bool bracket)
{
    if (bracket)
        out.WriteChar('(');
    row.WriteTextAll(out);
    if (bracket)
        out.WriteChar(')');
}

} // namespace

bool IsAtom(const CompList& row)
{
    return IsAtomPrefix(row, row.GetCount());
}

bool HasLooseOperator(const CompList& row)
{
    // Signs inside typed brackets stay there ((a+b)c/d is ((a+b)c)/d), as
    // long as the brackets pair up; a sign in first place is a prefix ("-a"),
    // which binds tighter than "/".
    bool outside = false;
    bool anywhere = false;
    bool paired = true;
    int depth = 0;
    for (int i = 1; i <= row.GetCount(); ++i) {
        TextComp* comp = row.GetAt(i);
        const unsigned char c = IsCharacter(comp) ? comp->GetChar() : 0;
        const CharBinding::Level level = CharBinding::Of(comp);
        const bool loose = level >= CharBinding::kRelation || (i > 1 && level >= CharBinding::kQuotient);
        anywhere = anywhere || loose;
        outside = outside || (loose && depth == 0);
        if (c == '(' || c == '[')
            ++depth;
        else if (c == ')' || c == ']')
            paired = paired && --depth >= 0;
    }
    return paired && depth == 0 ? outside : anywhere;
}

bool NumeratorNeedsBrackets(const CompList& row)
{
    return HasLooseOperator(row);
}

bool TightNeedsBrackets(const CompList& row)
{
    return row.GetCount() > 0 && !IsAtom(row);
}

bool DenominatorNeedsBrackets(const CompList& row)
{
    return row.GetCount() > 0 && !IsScriptedAtom(row);
}

void WriteNumerator(TextOutBuffer& out, const CompList& row)
{
    WriteBracketed(out, row, NumeratorNeedsBrackets(row));
}

void WriteTight(TextOutBuffer& out, const CompList& row)
{
    WriteBracketed(out, row, TightNeedsBrackets(row));
}

void WriteDenominator(TextOutBuffer& out, const CompList& row)
{
    WriteBracketed(out, row, DenominatorNeedsBrackets(row));
}

} // namespace TextOperand
