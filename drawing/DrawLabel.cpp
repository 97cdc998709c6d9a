#include "drawing/DrawLabel.h"

#include "drawing/DiagramComp.h"
#include "drawing/DiagramDC.h"
#include "drawing/DiagramItem.h"
#include "drawing/DrawingCodes.h"
#include "drawing/ItemCopyMap.h"
#include "foundation/CompList.h"
#include "foundation/DocReader.h"
#include "foundation/DocWriter.h"
#include "foundation/LinkRemap.h"
#include "platform/Exceptions.h"

#include <cmath>
#include <memory>

DrawLabel::DrawLabel() : m_text(new CompList) {}

DrawLabel::DrawLabel(DiagramItem* owner, DiagramComp* diagram, CompList* text)
    : m_owner(owner), m_text(text ? text : new CompList)
{
    m_text->SetSizeStep(0);
    SetDiagram(diagram);
    if (diagram)
        m_anchor = diagram->GetDC().WindowCentre();
}

DrawLabel::DrawLabel(DiagramComp* diagram, const DPoint& anchor, const DPoint& offset, bool shown, CompList* text)
    : m_text(text ? text : new CompList), m_anchor(anchor), m_offset(offset), m_shown(shown)
{
    SetDiagram(diagram);
}

DrawLabel::~DrawLabel()
{
    delete m_text;
}

DrawLabel* DrawLabel::Clone(ItemCopyMap& map) const
{
    LinkRemap local;
    LinkRemap* remap = map.GetRemap() ? map.GetRemap() : &local;
    return new DrawLabel(m_diagram, m_anchor, m_offset, m_shown, m_text->CloneWithRemap(*remap));
}

void DrawLabel::SetDiagram(DiagramComp* diagram)
{
    m_diagram = diagram;
    m_text->SetOwner(diagram, 1);
}

// An anchor worked out from shapes at the far end of what a double holds can
// come out infinite; the label then stays where it was, so that what is
// saved opens again.
void DrawLabel::SetAnchor(const DPoint& anchor)
{
    if (std::isfinite(anchor.x) && std::isfinite(anchor.y))
        m_anchor = anchor;
    Layout();
}

void DrawLabel::Layout()
{
    if (!m_diagram)
        return;
    const DiagramDC& dc = m_diagram->GetDC();
    const IntPoint d = dc.WorldToScreen(m_anchor + m_offset);
    m_text->SetOrigin(IntPoint(d.x - m_text->GetWidth() / 2, d.y));
    Rect frame = m_text->GetAbsRect();
    frame.Deflate(-drawing::kLabelFrameMargin, -drawing::kLabelFrameMargin);
    m_frameTopLeft = dc.ScreenToWorld(IntPoint(frame.left, frame.top));
    m_frameBottomRight = dc.ScreenToWorld(IntPoint(frame.right, frame.bottom));
}

void DrawLabel::Relayout()
{
    m_text->InvalidateAll();
    m_text->LayoutToContextWidth();
    Layout();
}

bool DrawLabel::HitFrame(const DPoint& w) const
{
    return m_frameTopLeft.x <= w.x && w.x <= m_frameBottomRight.x && m_frameBottomRight.y <= w.y
        && w.y <= m_frameTopLeft.y;
}

bool DrawLabel::HitText(const IntPoint& point) const
{
    return m_shown && m_text->HitTest(point);
}

void DrawLabel::Draw(DiagramDC& dc)
{
    if (!m_shown)
        return;
    m_text->Draw();
    if (m_owner && m_owner->HasLabelDecoration())
        m_owner->DrawLabelDecoration(dc);
    if (!m_selected)
        return;
    if (m_owner && m_owner->HasLabelAnchor())
        dc.LabelFrame(m_frameTopLeft, m_frameBottomRight, m_owner->GetLabelAnchor(dc));
    else
        dc.SelectionFrame(m_frameTopLeft, m_frameBottomRight);
}

void DrawLabel::Write(DocWriter& writer) const
{
    writer.WriteDouble(m_anchor.x);
    writer.WriteDouble(m_anchor.y);
    writer.WriteDouble(m_offset.x);
    writer.WriteDouble(m_offset.y);
    m_text->Write(writer);
}

void DrawLabel::Read(DocReader& reader)
{
    m_anchor.x = reader.ReadDouble();
    m_anchor.y = reader.ReadDouble();
    m_offset.x = reader.ReadDouble();
    m_offset.y = reader.ReadDouble();
    if (!std::isfinite(m_anchor.x) || !std::isfinite(m_anchor.y) || !std::isfinite(m_offset.x)
        || !std::isfinite(m_offset.y))
        throw CFormatException("A drawing label's position is damaged");
    m_text->Read(reader);
    m_selected = false;
}

DrawLabel* DrawLabel::ReadFor(DiagramItem* owner, DocReader& reader, void* context)
{
    auto* diagram = static_cast<DiagramComp*>(context);
    auto label = std::make_unique<DrawLabel>();
    label->SetOwner(owner);
    label->SetDiagram(diagram);
    label->Read(reader);
    if (diagram)
        diagram->AddReadLabel(label.get());
    return label.release();
}
