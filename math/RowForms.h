#pragma once
// Small helpers the math components share for their text forms: a child row
// written to LaTeX as a braced group or plain, and a row written as linear
// text, in parentheses when an operator inside it would otherwise bind to
// what stands around it.
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

} // namespace RowForms
