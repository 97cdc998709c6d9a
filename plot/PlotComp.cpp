// The plot components' common base: function lines, layout, drawing, the
// buttons and the shared parts of the file records.
#include "plot/PlotComp.h"

#include "foundation/DocPosition.h"
#include "foundation/DocReader.h"
#include "foundation/DocWriter.h"
#include "foundation/DrawContext.h"
#include "foundation/EditCodes.h"
#include "foundation/KeyCodes.h"
#include "foundation/LaTeXWriter.h"
#include "foundation/LinkRemap.h"
#include "foundation/Str255.h"
#include "foundation/TextOutBuffer.h"
#include "kernel/CompositeNode.h"
#include "kernel/KernelCodes.h"
#include "kernel/NodeSupport.h"
#include "kernel/PlotNodes.h"
#include "math/ExportElementWriters.h"
#include "platform/Exceptions.h"
#include "platform/UserInterface.h"
#include "plot/PlotCommandAxes.h"

#include <algorithm>

using namespace plot;

namespace {

PlotParametersDialog gParametersDialog = nullptr;

const char* const kOptionsLabel = "Options...";
const char* const kPlotLabel = "Plot";

int FrameX()
{
    return gDrawContext.PointsToDevX(kFramePoints);
}
int FrameY()
{
    return gDrawContext.PointsToDevY(kFramePoints);
}
int InsetX()
{
    return gDrawContext.PointsToDevX(kInsetPoints);
}
int InsetY()
{
    return gDrawContext.PointsToDevY(kInsetPoints);
}

std::string CutName(const std::string& name)
{
    return name.size() > static_cast<size_t>(kMaxName) ? name.substr(0, kMaxName) : name;
}

} // namespace

void InstallPlotParametersDialog(PlotParametersDialog dialog)
{
    gParametersDialog = dialog;
}

bool AskPlotParameters(std::vector<PlotAxisParameters>& axes)
{
    return gParametersDialog && gParametersDialog(axes);
}

// ---- construction ----

PlotComp::PlotComp()
{
    NewLine();
}

PlotComp::~PlotComp()
{
    DropPicture();
    for (CompList* line : m_lines)
        delete line;
}

CompList* PlotComp::NewLine()
{
    auto* line = new CompList;
    line->SetOwner(this, 1);
    line->SetSizeStep(m_sizeStep);
    m_lines.push_back(line);
    return line;
}

void PlotComp::CopyPlotFrom(const PlotComp& other, LinkRemap& remap)
{
    m_lines.front()->InsertAllAt(other.m_lines.front()->CloneItems(remap), 1);
    for (size_t i = 1; i < other.m_lines.size(); ++i)
        AddFunction(other.m_lines[i]->CloneItems(remap));
    SetXVariable(other.m_xName, other.m_ranges.xMin, other.m_ranges.xMax);
    SetYVariable(other.m_yName, other.m_ranges.yMin, other.m_ranges.yMax);
}

// ---- function lines ----

bool PlotComp::AddFunction(std::unique_ptr<CompArray> components)
{
    if (GetLineCount() >= plot::kMaxLines)
        return false;
    CompList* line = NewLine();
    if (components)
        line->InsertAllAt(std::move(components), 1);
    Invalidate();
    return true;
}

DocPosition PlotComp::AddFunction()
{
    if (!AddFunction(nullptr))
        return {};
    return DocPosition(m_lines.back(), 1);
}

void PlotComp::RemoveLastFunction()
{
    // A plot keeps one line at least.
    if (m_lines.size() <= 1)
        return;
    delete m_lines.back();
    m_lines.pop_back();
    Invalidate();
}

int PlotComp::LineIndex(const CompList* row) const
{
    auto found = std::find(m_lines.begin(), m_lines.end(), row);
    return found == m_lines.end() ? -1 : static_cast<int>(found - m_lines.begin());
}

CompList* PlotComp::GetChild(int i) const
{
    return i >= 1 && i <= GetChildCount() ? m_lines[static_cast<size_t>(i - 1)] : nullptr;
}

int PlotComp::IndexOfChild(const CompList* row) const
{
    return LineIndex(row) + 1;
}

CompList* PlotComp::GetListLeft(CompList* from)
{
    if (!from)
        return m_lines.back();
    const int i = LineIndex(from);
    return i > 0 ? m_lines[static_cast<size_t>(i - 1)] : nullptr;
}

CompList* PlotComp::GetListRight(CompList* from)
{
    if (!from)
        return m_lines.front();
    const int i = LineIndex(from);
    return i >= 0 && i + 1 < GetChildCount() ? m_lines[static_cast<size_t>(i + 1)] : nullptr;
}

void PlotComp::GetEntryPosition(DocPosition& out)
{
    out = DocPosition(m_lines.front(), 1);
}

void PlotComp::SetSizeStep(signed char step)
{
    BoxComp::SetSizeStep(step);
    for (CompList* line : m_lines)
        line->SetSizeStep(step);
}

int PlotComp::MapKey(DocPosition& position, int key, bool shift, bool ctrl)
{
    // Ctrl+Enter arrives as a line feed.
    if (key == KeyCode::kLineFeed || (ctrl && key == KeyCode::kReturn))
        return EditCode::kInsertExpression;
    return BoxComp::MapKey(position, key, shift, ctrl);
}

bool PlotComp::IsEqual(const TextComp& other) const
{
    auto* plot = dynamic_cast<const PlotComp*>(&other);
    if (!plot || plot->Tag() != Tag() || plot->m_lines.size() != m_lines.size())
        return false;
    for (size_t i = 0; i < m_lines.size(); ++i)
        if (!m_lines[i]->IsEqual(*plot->m_lines[i]))
            return false;
    return true;
}

// ---- variables ----

void PlotComp::SetXVariable(const std::string& name, double minimum, double maximum)
{
    m_xName = CutName(name);
    m_ranges.xMin = minimum;
    m_ranges.xMax = maximum;
    DropPicture();
    Invalidate();
}

void PlotComp::SetYVariable(const std::string& name, double minimum, double maximum)
{
    m_yName = CutName(name);
    m_ranges.yMin = minimum;
    m_ranges.yMax = maximum;
    DropPicture();
    Invalidate();
}

bool PlotComp::TakeKernelResult(ExprNode* answer)
{
    SetResult(answer);
    return true;
}

// ---- layout ----

void PlotComp::MarkDirty()
{
    for (CompList* line : m_lines)
        line->InvalidateAll();
    DropPicture();
    m_needsLayout = 1;
}

void PlotComp::Measure()
{
    SetDefaultSize();
    m_bounds = Rect(0, -(m_pictureHeight + FrameY()), m_pictureWidth + FrameX(), 0);
    for (CompList* line : m_lines) {
        line->Layout(m_pictureWidth);
        m_bounds.bottom += line->GetRect().Height() + FrameY();
    }
    if (!m_picture)
        m_picture = RenderPicture();
    m_needsLayout = 0;
}

// Each function line is centred under the picture.
void PlotComp::SetOrigin(const IntPoint& point)
{
    m_origin = point;
    const int inner = m_bounds.right - FrameX() - m_bounds.left;
    int y = point.y + InsetY();
    for (CompList* line : m_lines) {
        const Rect& row = line->GetRect();
        const int indent = std::max(0, (inner - row.Width()) / 2);
        line->SetOrigin(IntPoint(point.x + InsetX() + indent, y - row.top));
        y += row.Height() + FrameY();
    }
}

Rect PlotComp::GetPictureRect() const
{
    const int left = m_origin.x + InsetX();
    const int bottom = m_origin.y - InsetY();
    return Rect(left, bottom - m_pictureHeight, left + m_pictureWidth, bottom);
}

void PlotComp::Draw()
{
    Rect box;
    GetAbsBounds(box);
    // The buttons of a selected plot are for editing on the screen: paper
    // and pictures show the document.
    if (m_selected && !gDrawContext.IsPrinting() && !gDrawContext.IsRecording()) {
        gDrawContext.DrawLabelBox(IntPoint(box.left, box.top), Str255(kOptionsLabel));
        gDrawContext.DrawLabelBoxLeftOf(IntPoint(box.right, box.top), Str255(kPlotLabel));
    }
    gDrawContext.FrameRegion(box);
    if (m_picture)
        gDrawContext.PlayMetafile(m_picture, GetPictureRect());
    IntPoint at = m_origin;
    for (CompList* line : m_lines) {
        gDrawContext.MoveTo(at);
        gDrawContext.DrawLineRel(GetWidth() - 1, 0);
        line->Draw();
        at.y += FrameY() + line->GetRect().Height();
    }
}

void PlotComp::SetPicture(HENHMETAFILE picture)
{
    if (picture == m_picture)
        return;
    DrawContext::DeleteMetafile(m_picture);
    m_picture = picture;
}

HENHMETAFILE PlotComp::CopyPicture()
{
    if (!m_picture)
        m_picture = RenderPicture();
    return m_picture ? CopyEnhMetaFile(m_picture) : nullptr;
}

void PlotComp::DropPicture()
{
    SetPicture(nullptr);
}

// ---- positions ----

// A point beside a function line, or below it, stands for that line; one
// above the lines for the first.
void PlotComp::PositionFromPoint(DocPosition& out, const IntPoint& point, bool nearest)
{
    CompList* chosen = m_lines.front();
    for (CompList* line : m_lines)
        if (point.y >= line->GetAbsRect().top - InsetY())
            chosen = line;
    if (point.y < m_origin.y) {
        out = DocPosition(m_lines.front(), 1);
        return;
    }
    chosen->PositionFromPoint(out, point, nearest);
}

TextComp* PlotComp::ComponentAt(const IntPoint& point)
{
    for (CompList* line : m_lines)
        if (line->HitTest(point))
            if (TextComp* comp = line->ComponentAtPoint(point))
                return comp;
    return this;
}

// ---- selection and buttons ----

void PlotComp::Select()
{
    SetSelected(true);
}

void PlotComp::Deselect()
{
    SetSelected(false);
}

// The buttons appear or go in the view that is the drawing target.
void PlotComp::SetSelected(bool selected)
{
    if (m_selected == selected)
        return;
    m_selected = selected;
    Rect box;
    GetAbsBounds(box);
    gDrawContext.InvalidateLogicalRect(box);
}

Rect PlotComp::OptionsButtonRect() const
{
    Rect box, button;
    GetAbsBounds(box);
    gDrawContext.MeasureLabel(IntPoint(box.left, box.top), Str255(kOptionsLabel), button);
    return button;
}

Rect PlotComp::PlotButtonRect() const
{
    Rect box, button;
    GetAbsBounds(box);
    gDrawContext.MeasureLabelLeftOf(IntPoint(box.right, box.top), Str255(kPlotLabel), button);
    return button;
}

bool PlotComp::HitPlotButton(const IntPoint& point) const
{
    return m_selected && PlotButtonRect().Contains(point);
}

bool PlotComp::HitOptionsButton(const IntPoint& point) const
{
    return m_selected && OptionsButtonRect().Contains(point);
}

// ---- text forms ----

void PlotComp::WriteText(TextOutBuffer& out) const
{
    out.WriteString("Picture");
}

// The picture is rendered afresh at the smallest size; its size in points
// comes from the pixels at the current resolution.
void PlotComp::WriteLaTeX(LaTeXWriter& writer)
{
    writer.WriteString("\\fbox{$\\begin{array}{c}");
    const int savedWidth = m_pictureWidth, savedHeight = m_pictureHeight;
    m_smallest = true;
    HENHMETAFILE picture = nullptr;
    try {
        picture = RenderPicture();
    } catch (...) {
        m_smallest = false;
        throw;
    }
    m_smallest = false;
    if (auto* objects = dynamic_cast<LaTeXObjectWriter*>(&writer)) {
        const int resX = std::max(1, gDrawContext.GetResolutionX());
        const int resY = std::max(1, gDrawContext.GetResolutionY());
        objects->WritePicture(m_pictureWidth * 72 / resX, m_pictureHeight * 72 / resY, picture);
    }
    DrawContext::DeleteMetafile(picture);
    m_pictureWidth = savedWidth;
    m_pictureHeight = savedHeight;
    for (CompList* line : m_lines) {
        writer.WriteString("\\\\ ");
        line->WriteLaTeX(writer, 0, false);
    }
    writer.WriteString("\\end{array}$} ");
}

// ---- file records ----

void PlotComp::WriteAxis(DocWriter& writer, double maximum, double minimum, const std::string& name) const
{
    writer.WriteDouble(maximum);
    writer.WriteDouble(minimum);
    writer.WritePString(Str255(name.c_str()), true);
}

void PlotComp::ReadAxis(DocReader& reader, double& maximum, double& minimum, std::string& name)
{
    maximum = reader.ReadDouble();
    minimum = reader.ReadDouble();
    Str255 text;
    reader.ReadPString(text, true);
    name = CutName(std::string(text.GetText(), static_cast<size_t>(text.GetLength())));
}

void PlotComp::WriteLines(DocWriter& writer) const
{
    if (GetLineCount() > plot::kMaxLines)
        throw CFormatException("The plot has more function lines than can be stored");
    writer.WriteShort(static_cast<int16_t>(m_lines.size()));
    for (CompList* line : m_lines)
        line->Write(writer);
}

// The first stored line goes into the line the plot already has.
void PlotComp::ReadLines(DocReader& reader)
{
    const int16_t count = reader.ReadShort();
    for (int i = 0; i < count; ++i) {
        CompList* line = i == 0 ? m_lines.front() : NewLine();
        line->Read(reader);
        line->SetOwner(this, 1);
    }
}

std::vector<PlotAxisParameters> PlotComp::GetXYAxes() const
{
    return {{m_xName, m_ranges.xMin, m_ranges.xMax}, {m_yName, m_ranges.yMin, m_ranges.yMax}};
}

void PlotComp::SetXYAxes(const std::vector<PlotAxisParameters>& axes)
{
    SetXVariable(axes[0].name, axes[0].minimum, axes[0].maximum);
    SetYVariable(axes[1].name, axes[1].minimum, axes[1].maximum);
}

void PlotComp::TakeLinesAndAxes(PlotCommandNode& node)
{
    if (auto* functions = dynamic_cast<CompositeNode*>(node.Functions())) {
        ExprNode* f = functions->First();
        for (; f && GetLineCount() < plot::kMaxLines; f = f->next) {
            if (f == functions->First())
                m_lines.front()->InsertAllAt(nodes::Built(f, Level::Whole), 1);
            else
                AddFunction(nodes::Built(f, Level::Whole));
        }
        // Functions past the most a plot holds are not kept, and the user is told.
        if (f)
            UserInterface::Current().SetStatusText(plot::kFunctionsLeftOut);
    }
    SetXYAxes({AxisOf(node.XRange(), "x"), AxisOf(node.YRange(), "y")});
}

// ---- picture recording ----

bool PlotComp::CanRecordPicture() const
{
    return m_pictureWidth > 0 && m_pictureHeight > 0 && gDrawContext.GetDepth() < DrawContext::kMaxLevels - 1;
}

HENHMETAFILE PlotComp::RecordPicture(const std::function<void()>& draw)
{
    if (!CanRecordPicture())
        return nullptr;
    gDrawContext.BeginMetafile(gDrawContext.GetTarget(), Rect(0, 0, m_pictureWidth, m_pictureHeight));
    try {
        draw();
    } catch (...) {
        DrawContext::DeleteMetafile(gDrawContext.EndMetafile());
        throw;
    }
    return gDrawContext.EndMetafile();
}
