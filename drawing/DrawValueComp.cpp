#include "drawing/DrawValueComp.h"

#include "drawing/CircleShape.h"
#include "drawing/ConstraintEqn.h"
#include "drawing/DiagramComp.h"
#include "drawing/DiagramShape.h"
#include "drawing/DrawConstraint.h"
#include "drawing/DrawVarTable.h"
#include "drawing/DrawVariable.h"
#include "drawing/DrawingCodes.h"
#include "drawing/DrawingKernelHooks.h"
#include "drawing/LocalSolver.h"
#include "drawing/TEditValueAction.h"
#include "foundation/CompList.h"
#include "foundation/DocReader.h"
#include "foundation/DocWriter.h"
#include "foundation/DrawContext.h"
#include "foundation/FontFamilyScope.h"
#include "foundation/FontIds.h"
#include "foundation/LinkRemap.h"
#include "foundation/SizeStepScope.h"
#include "foundation/TextOutBuffer.h"
#include "platform/draw/CDC.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unordered_set>
#include <vector>

namespace {

constexpr const char* kEmptyText = "0.0";

// Infinities, not-a-number and what overflows a double are no number.
std::optional<double> ParseText(const Str255& text)
{
    const std::string chars(text.GetPtrAt(0), static_cast<size_t>(text.GetLength()));
    const char* start = chars.c_str();
    char* end = nullptr;
    const double value = std::strtod(start, &end);
    if (end == start || !std::isfinite(value))
        return std::nullopt;
    while (*end == ' ')
        ++end;
    if (*end != '\0')
        return std::nullopt;
    return value;
}

// A distance's value or a circle's radius.
bool IsLength(const DrawVariable* variable)
{
    const DiagramComp* drawing = variable ? variable->GetOwner() : nullptr;
    if (!drawing)
        return false;
    for (const ConstraintEqn* eqn : DiagramEquations(*drawing))
        if (dynamic_cast<const DistanceEqn*>(eqn) && eqn->GetField(0) == variable)
            return true;
    for (const DiagramShape* shape : drawing->GetShapes())
        if (auto* circle = dynamic_cast<const CircleShape*>(shape); circle && circle->GetRadiusVar() == variable)
            return true;
    return false;
}

// As the other value dialogs write the bounds of a range.
std::string FormatBound(double bound)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.15g", bound);
    return buffer;
}

} // namespace

DrawValueComp::DrawValueComp() : m_text(kEmptyText) {}

DrawValueComp::DrawValueComp(DrawVariable* variable) : m_text(FormatValue(variable ? variable->GetValue() : 0.0))
{
    if (variable)
        m_observer.Attach(variable);
}

DrawValueComp::DrawValueComp(DrawVariable* variable, const Str255& text) : m_text(text)
{
    if (variable)
        m_observer.Attach(variable);
}

DrawVariable* DrawValueComp::GetVariable() const
{
    return dynamic_cast<DrawVariable*>(m_observer.GetTarget());
}

TextComp* DrawValueComp::Clone(LinkRemap& remap)
{
    auto* copy = new DrawValueComp(GetVariable(), m_text);
    copy->m_sizeStep = m_sizeStep;
    if (LinkTarget* target = m_observer.GetTarget())
        remap.AddLink(target, &copy->m_observer);
    return copy;
}

bool DrawValueComp::IsEqual(const TextComp& other) const
{
    auto* display = dynamic_cast<const DrawValueComp*>(&other);
    return display && display->m_text == m_text;
}

Str255 DrawValueComp::FormatValue(double value)
{
    char buffer[512];
    int n = std::snprintf(buffer, sizeof buffer, "%.2f", value);
    if (n < 0 || n > Str255::kCapacity)
        std::snprintf(buffer, sizeof buffer, "%.6g", value);
    return Str255(buffer);
}

std::optional<double> DrawValueComp::ParseValue() const
{
    return ParseText(m_text);
}

std::optional<std::string> DrawValueComp::RefusalOf(const Str255& text) const
{
    const std::optional<double> typed = ParseText(text);
    if (!typed)
        return kEnterNumber;
    const double lowest = IsLength(GetVariable()) ? 0.0 : -kLargestValue;
    if (*typed < lowest || *typed > kLargestValue)
        return "Please enter a number between " + FormatBound(lowest) + " and " + FormatBound(kLargestValue) + ".";
    return std::nullopt;
}

bool DrawValueComp::ValueDiffers() const
{
    DrawVariable* variable = GetVariable();
    if (!variable)
        return false;
    std::optional<double> typed = ParseValue();
    return !typed || std::fabs(variable->GetValue() - *typed) > drawing::kValueTolerance;
}

bool DrawValueComp::Accepts(const Str255& text) const
{
    if (!GetVariable())
        return false;
    if (const std::optional<std::string> refusal = RefusalOf(text)) {
        ShowMessageOrBeep(*refusal);
        return false;
    }
    return true;
}

std::unique_ptr<TAction> DrawValueComp::MakeEdit(bool locked, const Str255& text)
{
    if (!Accepts(text))
        return nullptr;
    DrawVariable* variable = GetVariable();
    m_text = text;
    Invalidate();
    const std::optional<double> value = ValueDiffers() ? ParseValue() : std::nullopt;
    if (DiagramComp* diagram = variable->GetOwner())
        return std::make_unique<TEditValueAction>(diagram, variable, locked, value);
    variable->SetFixed(locked);
    if (value)
        variable->SetValue(*value);
    return nullptr;
}

bool DrawValueComp::ApplyProperties(bool locked, const Str255& text)
{
    if (!Accepts(text))
        return false;
    if (std::unique_ptr<TAction> edit = MakeEdit(locked, text)) {
        edit->Perform();
        edit->Commit();
    }
    return true;
}

void DrawValueComp::OnValueChanged()
{
    if (DrawVariable* variable = GetVariable()) {
        m_text = FormatValue(variable->GetValue());
        Invalidate();
    }
}

// ---- layout and drawing ----

void DrawValueComp::Measure()
{
    SizeStepScope size(m_sizeStep);
    FontFamilyScope face(FontId::kText);
    gDrawContext.GetTextExtent(m_text, m_bounds);
    m_needsLayout = 0;
}

void DrawValueComp::Draw()
{
    SizeStepScope size(m_sizeStep);
    FontFamilyScope face(FontId::kText);
    gDrawContext.MoveTo(m_origin);
    CDC* dc = gDrawContext.GetDC();
    const COLORREF colour = ValueDiffers() ? drawing::kActiveGreen : drawing::kValuePurple;
    const COLORREF previous = dc ? dc->SetTextColor(colour) : 0;
    gDrawContext.DrawString(m_text);
    if (dc)
        dc->SetTextColor(previous);
}

// ---- forms ----

ExprNode* DrawValueComp::BuildNode()
{
    return MakeDrawVariableNode(GetVariable());
}

void DrawValueComp::WriteText(TextOutBuffer& out) const
{
    for (int i = 0; i < m_text.GetLength(); ++i)
        out.WriteChar(m_text.GetAt(i));
}

// The drawing whose label holds the display, or null.
const DiagramComp* DrawValueComp::DrawingAround() const
{
    for (const CompList* row = GetOwner(); row && row->GetOwner();) {
        const TextComp* holder = row->GetOwner();
        if (holder->IsDiagram())
            return static_cast<const DiagramComp*>(holder);
        row = holder->GetOwner();
    }
    return nullptr;
}

namespace {

// The variables a drawing's own items hold, so that its record writes them:
// a constraint a removal has dropped (it waits in the removal's records for
// an undo) keeps the drawing as its variables' owner.
struct HeldVariables {
    explicit HeldVariables(const DiagramComp& drawing);
    std::unordered_set<const DrawVariable*> variables;
};

HeldVariables::HeldVariables(const DiagramComp& drawing)
{
    for (const DrawConstraint* constraint : drawing.GetConstraints()) {
        for (int i = 0; i < constraint->GetVariableCount(); ++i)
            variables.insert(constraint->GetVariable(i));
        for (const DrawVariable* variable : constraint->GetUsedVariables())
            variables.insert(variable);
    }
    const DrawVarTable& named = drawing.GetVariables();
    for (int i = 0; i < named.GetCount(); ++i)
        variables.insert(named.GetAt(i).variable.get());
    std::vector<const DiagramShape*> pending(drawing.GetShapes().begin(), drawing.GetShapes().end());
    std::unordered_set<const DiagramShape*> seen;
    while (!pending.empty()) {
        const DiagramShape* shape = pending.back();
        pending.pop_back();
        if (!seen.insert(shape).second)
            continue;
        for (const DrawVariable* variable : shape->GetVariables())
            variables.insert(variable);
        for (const DiagramShape* part : shape->GetParts())
            pending.push_back(part);
    }
}

} // namespace

// A variable that a removal not yet final holds lies in a drawing of no
// document, or is held by none of its drawing's items: it is written as no
// link, as it will be once the removal is final, so that no link names a
// variable the file lacks. What a drawing holds is worked out once per file.
void DrawValueComp::Write(DocWriter& writer)
{
    DrawVariable* variable = GetVariable();
    const DiagramComp* drawing = variable ? variable->GetOwner() : nullptr;
    bool inDocument = !drawing;
    if (drawing && (drawing->GetOwner() || drawing == DrawingAround()))
        inDocument = writer.Once<HeldVariables>(drawing, [drawing] { return HeldVariables(*drawing); })
                         .variables.count(variable) != 0;
    writer.WriteLinkId(inDocument ? m_observer.GetTarget() : nullptr);
    writer.WritePString(m_text, false);
}

void DrawValueComp::Read(DocReader& reader)
{
    reader.ReadLinkId(&m_observer);
    reader.ReadPString(m_text, false);
    m_needsLayout = 1;
}
