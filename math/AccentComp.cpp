#include "math/AccentComp.h"

#include "foundation/ArchiveCharMaps.h"
#include "foundation/DocReader.h"
#include "foundation/DocWriter.h"
#include "foundation/DrawContext.h"
#include "foundation/LaTeXWriter.h"
#include "foundation/SizeStepScope.h"
#include "foundation/TextOutBuffer.h"
#include "foundation/FontFamilyScope.h"
#include "math/RowForms.h"
#include "math/TextOperand.h"

#include <algorithm>

namespace {

// The tangent of 13 degrees: the slant of italic letters.
constexpr double kSlant = 0.23086819112556;

} // namespace

const char* AccentComp::LaTeXCommand(unsigned char code)
{
    switch (code) {
    case kHat:
        return "\\hat ";
    case kDot:
        return "\\dot ";
    case kDoubleDot:
        return "\\ddot ";
    case kVector:
        return "\\vec ";
    case kTilde:
        return "\\tilde ";
    default:
        return nullptr;
    }
}

TextComp* AccentComp::Clone(LinkRemap& remap)
{
    return new AccentComp(m_first->CloneItems(remap), m_accentChar);
}

bool AccentComp::IsEqual(const TextComp& other) const
{
    return StructComp::IsEqual(other) && static_cast<const AccentComp&>(other).m_accentChar == m_accentChar;
}

int AccentComp::AccentCentre() const
{
    TextComp* only = m_first->GetCount() == 1 ? m_first->GetAt(1) : nullptr;
    if (only && only->Tag() == tag_Char) {
        // The metric table holds whole advances: the accent centres on the
        // middle of the letter's advance.
        int advance = gDrawContext.GetCharAdvance(only->GetChar());
        if (advance != 0)
            return advance / 2;
    }
    return m_bounds.Width() / 2;
}

void AccentComp::Measure()
{
    m_first->LayoutToContextWidth();
    m_bounds = m_first->GetRect();
    SizeStepScope size(m_sizeStep);
    MathFamilyScope face;
    Rect accent;
    gDrawContext.GetCharBox(m_accentChar, accent);
    const int u = gDrawContext.GetSizeUnit();

    m_accentOffset.y = m_bounds.top - u;
    const int slant = static_cast<int>(m_accentOffset.y * -kSlant);
    m_accentOffset.x = AccentCentre() + slant - (accent.right - accent.left) / 2;
    if (m_accentOffset.x < 0) {
        m_bounds.left += m_accentOffset.x;
        m_bounds.right -= m_accentOffset.x;
    }
    const int accentRight = m_bounds.left + m_accentOffset.x - accent.left + accent.right;
    m_bounds.right = std::max(m_bounds.right, accentRight);
    m_bounds.top += (accent.top - accent.bottom) - u;
    m_needsLayout = 0;
}

void AccentComp::SetOrigin(const IntPoint& point)
{
    m_origin = point;
    const int shift = m_accentOffset.x < 0 ? -m_accentOffset.x : 0;
    m_first->SetOrigin(IntPoint(point.x + shift, point.y));
}

void AccentComp::Draw()
{
    m_first->Draw();
    SizeStepScope size(m_sizeStep);
    MathFamilyScope face;
    gDrawContext.MoveTo(IntPoint(m_origin.x + std::max(m_accentOffset.x, 0), m_origin.y + m_accentOffset.y));
    gDrawContext.DrawChar(m_accentChar);
}

void AccentComp::WriteLaTeX(LaTeXWriter& writer)
{
    if (const char* command = LaTeXCommand(m_accentChar))
        writer.WriteString(command);
    RowForms::WriteGroup(writer, *m_first);
}

void AccentComp::WriteText(TextOutBuffer& out) const
{
    TextOperand::WriteTight(out, *m_first);
    out.WriteCode(m_accentChar, FontId::kMath);
}

void AccentComp::Write(DocWriter& writer)
{
    m_first->Write(writer);
    writer.WriteByte(EncodeArchiveChar(m_accentChar, true));
}

void AccentComp::Read(DocReader& reader)
{
    m_first->Read(reader);
    m_accentChar = DecodeArchiveChar(reader.ReadByte(), true);
    m_needsLayout = 1;
}
