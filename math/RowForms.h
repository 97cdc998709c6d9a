#pragma once
// Small helpers the math components share for their text forms: a child row
// written to LaTeX as a braced group or plain, and a row written as linear
// text, in parentheses when an operator inside it would otherwise bind to
// what stands around it, and limits in the text that shows them.
#include "foundation/CompList.h"
#include "foundation/LaTeXWriter.h"
#include "foundation/TextOutBuffer.h"

namespace RowForms {

// The row in braces.
inline void WriteGroup(LaTeXWriter& writer, const CompList& row)
{
    row.WriteLaTeX(writer, 1, false);
}

// The row without braces.
inline void WritePlain(LaTeXWriter& writer, const CompList& row)
{
    row.WriteLaTeX(writer, 0, false);
}

// The row's linear text, in "(" and ")" when it holds an operator after its
// first component.
inline void WriteOperand(TextOutBuffer& out, const CompList& row)
{
    bool parenthesize = row.HasOperatorChar();
    if (parenthesize)
        out.WriteChar('(');
    row.WriteTextAll(out);
    if (parenthesize)
        out.WriteChar(')');
}

// A limit or bound, after the mark ("_" below, "^" above) and in
// parentheses unless it is one character, where the text shows limits and
// the row is not empty.
inline void WriteLimit(TextOutBuffer& out, const char* mark, const CompList& row)
{
    if (!out.ShowsLimits() || row.GetCount() == 0)
        return;
    out.WriteString(mark);
    const bool parenthesize = row.GetCount() > 1 || row.GetAt(1)->Tag() != tag_Char;
    if (parenthesize)
        out.WriteChar('(');
    row.WriteTextAll(out);
    if (parenthesize)
        out.WriteChar(')');
}

} // namespace RowForms
