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

bool IsNumber(const CompList& row)
{
    int points = 0;
    for (int i = 1; i <= row.GetCount(); ++i) {
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
    if (row.GetCount() == 1)
        return IsCharacter(row.GetAt(1)) || FencesItself(row.GetAt(1));
    return row.GetCount() > 1 && IsNumber(row);
}

bool HasLooseOperator(const CompList& row)
{
    if (row.HasOperatorChar())
        return true;
    for (int i = 1; i <= row.GetCount(); ++i)
        if (CharBinding::Of(row.GetAt(i)) >= CharBinding::kRelation)
            return true;
    return false;
}

bool NumeratorNeedsBrackets(const CompList& row)
{
    return HasLooseOperator(row);
}

bool TightNeedsBrackets(const CompList& row)
{
    return row.GetCount() > 0 && !IsAtom(row);
}

void WriteNumerator(TextOutBuffer& out, const CompList& row)
{
    WriteBracketed(out, row, NumeratorNeedsBrackets(row));
}

void WriteTight(TextOutBuffer& out, const CompList& row)
{
    WriteBracketed(out, row, TightNeedsBrackets(row));
}

} // namespace TextOperand
