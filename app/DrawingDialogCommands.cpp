#include "app/DrawingDialogCommands.h"

#include "app/CCorvellView.h"
#include "app/dialogs/CColorFillDialog.h"
#include "app/dialogs/CDrawingPropertiesDialog.h"
#include "app/dialogs/CLinePropertiesDialog.h"
#include "app/dialogs/CVariablePropertiesDialog.h"
#include "app/dialogs/CVariableValuesDialog.h"
#include "drawing/DiagramActions.h"
#include "drawing/DiagramComp.h"
#include "drawing/DrawLabel.h"
#include "drawing/DrawValueComp.h"
#include "drawing/DrawVariable.h"
#include "foundation/CharComp.h"
#include "foundation/CompList.h"
#include "foundation/DocPosition.h"
#include "foundation/DrawTargetScope.h"
#include "foundation/FontFace.h"
#include "foundation/FontManager.h"
#include "foundation/ParagraphList.h"
#include "platform/framework/CWinApp.h"
#include "plot/PlotStyle.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// The largest pixel extent that still gives a size the drawing can store.
int32_t MaxPixels(int reference)
{
    const double pixels = std::floor(static_cast<double>(INT16_MAX) * reference / drawing::kReferenceSize);
    return static_cast<int32_t>(std::clamp(pixels, 1.0, static_cast<double>(sizeunits::kMaxPixels)));
}

// Lays the drawing's paragraph out again and paints it.
void Relayout(CCorvellView& view, DiagramComp& diagram)
{
    diagram.Invalidate();
    DocSelection range(&diagram);
    ParagraphList* paragraphs = view.GetParagraphList();
    if (ParagraphComp* paragraph = range.First().GetParagraphComp(); paragraphs && paragraph)
        view.UpdateLayoutFrom(paragraphs->IndexOf(paragraph), range.First().GetParagraphIndex(false));
    diagram.Repaint();
    view.InvalidateSelection(range);
}

bool AskStyle(ShapeStyle& style, bool closed)
{
    if (closed) {
        CColorFillDialog dialog(style);
        if (dialog.DoModal() != IDOK)
            return false;
        dialog.GetStyle(style);
        return true;
    }
    CLinePropertiesDialog dialog(LineStyle{style.penStyle, style.lineColour});
    if (dialog.DoModal() != IDOK)
        return false;
    const LineStyle line = dialog.GetLineStyle();
    style.penStyle = line.flags;
    style.lineColour = line.colour;
    return true;
}

DPoint Centre(const DiagramComp& diagram)
{
    DPoint topLeft, bottomRight;
    diagram.GetVisibleWorld(topLeft, bottomRight);
    return DPoint((topLeft.x + bottomRight.x) / 2, (topLeft.y + bottomRight.y) / 2);
}

} // namespace

bool EditSelectionStyle(DiagramComp& diagram)
{
    ShapeStyle style;
    const bool closed = diagram.GetSelectionStyle(style);
    if (!AskStyle(style, closed))
        return false;
    diagram.SetSelectionStyle(style);
    return true;
}

bool EditDrawingProperties(DiagramComp& diagram)
{
    Rect bounds;
    diagram.GetBounds(bounds);
    CDrawingPropertiesDialog dialog(bounds.Width(), bounds.Height(), diagram.GetShowAxes(),
                                    diagram.GetXName().ToCString(), diagram.GetYName().ToCString(),
                                    diagram.GetShowGrid(), diagram.GetGridThickness(), diagram.GetGridColour(),
                                    diagram.GetShowFrame());
    PlotStyle plotStyle;
    dialog.SetSizeLimits(MaxPixels(plotStyle.GetScaledWidth()), MaxPixels(plotStyle.GetScaledHeight()));
    if (dialog.DoModal() != IDOK)
        return false;
    Str255 xName, yName;
    xName.AssignCString(dialog.m_strXName);
    yName.AssignCString(dialog.m_strYName);
    diagram.SetShowAxes(dialog.m_bShowAxes);
    diagram.SetPlotNames(xName, yName);
    diagram.SetGridPen(dialog.m_nGridThickness, dialog.m_gridColour);
    diagram.SetShowGrid(dialog.m_bShowGrid);
    diagram.SetShowFrame(dialog.m_bShowFrame);
    if (!diagram.SetPixelSize(dialog.m_nWidth, dialog.m_nHeight))
        AfxMessageBox("The drawing cannot take that size; it keeps its size.", MB_OK | MB_ICONEXCLAMATION);
    return true;
}

TAction* ChooseVariableValueLabel(DiagramComp& diagram)
{
    diagram.UpdateNamedVariables();
    diagram.ResolveDeficits();
    const DrawVarTable& table = diagram.GetVariables();
    if (table.GetCount() == 0) {
        MessageBeep(0);
        return nullptr;
    }
    std::vector<Str255> names;
    for (int i = 0; i < table.GetCount(); ++i)
        names.push_back(table.GetAt(i).name);
    CVariableValuesDialog dialog(names);
    if (dialog.DoModal() != IDOK || dialog.m_nChosen < 0 || dialog.m_nChosen >= table.GetCount())
        return nullptr;
    const DrawVarEntry& entry = table.GetAt(dialog.m_nChosen);
    auto* row = new CompList;
    auto character = [row](unsigned char c) { row->Append(gMathFace->GetCharacter(c)); };
    for (int i = 0; i < entry.name.GetLength(); ++i)
        character(entry.name.GetByteAt(i));
    for (char c : {' ', '=', ' '})
        character(static_cast<unsigned char>(c));
    row->Append(new DrawValueComp(entry.variable.get()));
    auto* label = new DrawLabel(nullptr, &diagram, row);
    label->SetAnchor(Centre(diagram));
    return new TAddLabelAction(&diagram, nullptr, label);
}

TAction* EditValueDisplay(DrawValueComp& display)
{
    DrawVariable* variable = display.GetVariable();
    if (!variable)
        return nullptr;
    CVariablePropertiesDialog dialog(variable->IsFixed(), display.GetText().ToCString());
    if (dialog.DoModal() != IDOK)
        return nullptr;
    Str255 text;
    text.AssignCString(dialog.m_strValue);
    // A text refused is answered with its message there; the variable keeps its value.
    return display.MakeEdit(dialog.m_bLocked, text).release();
}

void OnDrawingColor(CCorvellView& view, DiagramComp& diagram)
{
    if (!EditSelectionStyle(diagram))
        return;
    DrawTargetScope draw(&view);
    diagram.Repaint();
    view.SetDocumentModified();
}

void OnDrawingProperties(CCorvellView& view, DiagramComp& diagram)
{
    if (!EditDrawingProperties(diagram))
        return;
    DrawTargetScope draw(&view);
    Relayout(view, diagram);
    view.SetDocumentModified();
}

TAction* OnShowVariableValue(CCorvellView&, DiagramComp& diagram)
{
    return ChooseVariableValueLabel(diagram);
}

void OnValueDisplayProperties(CCorvellView& view, DrawValueComp& display)
{
    TAction* edit = nullptr;
    {
        DrawTargetScope draw(&view);
        edit = EditValueDisplay(display);
    }
    DrawVariable* variable = display.GetVariable();
    const DiagramComp* owner = variable ? variable->GetOwner() : nullptr;
    if (!edit || !view.PerformAction(edit))
        return;
    // The display may stand in a drawing's label or in a line of text; the
    // step repaints the drawing of its variable.
    DrawTargetScope draw(&view);
    DocSelection range(&display);
    ParagraphList* paragraphs = view.GetParagraphList();
    if (ParagraphComp* paragraph = range.First().GetParagraphComp(); paragraphs && paragraph)
        view.UpdateLayoutFrom(paragraphs->IndexOf(paragraph), range.First().GetParagraphIndex(false));
    auto* diagram = dynamic_cast<DiagramComp*>(range.First().FindEnclosing(tag_Draw));
    if (diagram && diagram != owner)
        diagram->Repaint();
    view.InvalidateSelection(range);
}
