#include "math/ExponentComp.h"

#include "foundation/CharComp.h"
#include "foundation/DocPosition.h"
#include "foundation/DrawContext.h"
#include "foundation/FontFace.h"
#include "foundation/FontManager.h"
#include "foundation/LaTeXWriter.h"
#include "foundation/RunExtentCache.h"
#include "foundation/SizeStepScope.h"
#include "platform/Exceptions.h"
#include "math/RowForms.h"
#include "math/TextOperand.h"

#include <algorithm>

ExponentComp::ExponentComp(int code)
{
    FontFace* face = gFontManager ? gFontManager->GetFace(FontManager::kMathFace) : nullptr;
    if (!face)
        throw CException("The fonts are not set up");
    m_first->Append(face->GetCharacter(static_cast<unsigned char>(code)));
}

TextComp* ExponentComp::Clone(LinkRemap& remap)
{
    return new ExponentComp(m_first->CloneItems(remap));
}

int ExponentComp::PrecedingTop() const
{
    int index = IndexInOwner();
    TextComp* before = index > 1 ? m_owner->GetAt(index - 1) : nullptr;
    if (!before)
        return 0;
    Rect box;
    if (before->Tag() == tag_Char) {
        // Measured as the runs of text are, so that the letters before a
        // long answer's exponents are shaped once.
        const int saved = gDrawContext.GetFontFamily();
        const char code = static_cast<char>(before->GetChar());
        RunExtentCache::GetTextExtent(before->GetFontId(), &code, 1, box);
        gDrawContext.SetFontFamily(saved);
    } else {
        before->GetBounds(box);
    }
    return box.top;
}

void ExponentComp::Measure()
{
    const Rect s = LayOutScript();
    int reference;
    {
        SizeStepScope size(m_sizeStep);
        reference = gDrawContext.GetEmBox().top;
    }
    if (IndexInOwner() > 1)
        reference = std::min(reference, PrecedingTop());
    m_scriptOffset = reference + (-s.top / 3);
    m_bounds = Rect(0, s.top + m_scriptOffset, s.right - s.left, 0);
    m_needsLayout = 0;
}

void ExponentComp::SetOrigin(const IntPoint& point)
{
    m_origin = point;
    m_first->SetOrigin(IntPoint(point.x, point.y + m_scriptOffset));
}

void ExponentComp::WriteLaTeX(LaTeXWriter& writer)
{
    TextComp* only = m_first->GetCount() == 1 ? m_first->GetAt(1) : nullptr;
    if (only && only->Tag() == tag_Char && only->GetChar() == kPrime) {
        writer.WriteString("'");
    } else if (only && only->Tag() == tag_Char && only->GetChar() == kDoublePrime) {
        writer.WriteString("''");
    } else {
        writer.WriteString("^");
        RowForms::WriteGroup(writer, *m_first);
    }
}

void ExponentComp::WriteText(TextOutBuffer& out) const
{
    out.WriteChar('^');
    TextOperand::WriteTight(out, *m_first);
}

void ExponentComp::GetEntryPosition(DocPosition& out)
{
    if (m_first->GetCount() == 0)
        out = DocPosition(m_first, 1);
    else
        TextComp::GetEntryPosition(out);
}
