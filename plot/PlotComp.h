#pragma once
// The common base of the plot components: a boxed component of a row that
// holds one or more function lines (rows the user types, never fewer than
// one), the names and ranges of its variables, and a cached picture of the
// items the kernel computed. It shows the picture above its function lines,
// each line followed by a rule, and while selected two small buttons:
// "Options..." top left (the parameter dialog) and "Plot" top right (the
// kernel computes the plot).
//
// The picture is dropped by every change of ranges, names, items or size;
// the next layout renders it again. Editing a function line leaves the
// picture alone: it shows the last computed result until "Plot" is pressed.
#include "foundation/BoxComp.h"
#include "foundation/CompList.h"
#include "foundation/PictureSource.h"
#include "foundation/PlotFunctionLines.h"
#include "foundation/XMLWriter.h"
#include "plot/PlotGeometry.h"
#include "platform/draw/EnhMetafile.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class PlotCommandNode;

namespace plot {
// Names of the variables are cut to this many characters.
constexpr int kMaxName = 31;
// The record counts the function lines in 16 bits: a plot holds no more.
constexpr int kMaxLines = INT16_MAX;
constexpr const char* kFunctionsLeftOut =
    "The plot holds 32767 functions; the functions after them were left out.";
// Lengths of the layout, in points.
constexpr int kFramePoints = 20;
constexpr int kInsetPoints = 10;
} // namespace plot

// One axis as the parameter dialog shows it.
struct PlotAxisParameters {
    std::string name;
    double minimum = -1;
    double maximum = 1;
};

// The parameter dialog: edits the axes in place and answers true for OK.
// The shell installs it; without it a plot's options change nothing.
using PlotParametersDialog = bool (*)(std::vector<PlotAxisParameters>& axes);
void InstallPlotParametersDialog(PlotParametersDialog dialog);
// Runs the installed dialog; false without one.
bool AskPlotParameters(std::vector<PlotAxisParameters>& axes);

class PlotComp : public BoxComp, public PlotFunctionLines, public PictureSource, public XhtmlForm {
public:
    // Alone in a paragraph: a centred table of the picture (a PNG file
    // beside the page) and one row of MathML for each function line. 2-D
    // and 3-D plots share it through RenderPicture (PlotCompXhtml.cpp).
    void WriteXhtml(XMLWriter& writer) override;

    ~PlotComp() override;
    PlotComp(const PlotComp&) = delete;
    PlotComp& operator=(const PlotComp&) = delete;

    // ---- component interface ----
    void MarkDirty() override;
    void Measure() override;
    void SetOrigin(const IntPoint& point) override;
    void Draw() override;
    void PositionFromPoint(DocPosition& out, const IntPoint& point, bool nearest) override;
    TextComp* ComponentAt(const IntPoint& point) override;
    // Same kind and equal function lines; ranges, names and items are not compared.
    bool IsEqual(const TextComp& other) const override;
    bool IsPlot() const override { return true; }
    CompList* GetChild(int i) const override;
    int GetChildCount() const override { return static_cast<int>(m_lines.size()); }
    int IndexOfChild(const CompList* row) const override;
    CompList* GetListLeft(CompList* from) override;
    CompList* GetListRight(CompList* from) override;
    CompList* GetListUp(CompList* from) override { return GetListLeft(from); }
    CompList* GetListDown(CompList* from) override { return GetListRight(from); }
    void GetEntryPosition(DocPosition& out) override;
    bool AcceptsSelection() const override { return true; }
    void SetSizeStep(signed char step) override;
    // Ctrl+Enter (a line feed) inserts a function line.
    int MapKey(DocPosition& position, int key, bool shift, bool ctrl) override;
    void WriteText(TextOutBuffer& out) const override;
    // A boxed array: the picture at the smallest size, then each function line.
    void WriteLaTeX(LaTeXWriter& writer) override;
    bool TakeKernelResult(ExprNode* answer) override;

    // ---- function lines ----
    // Appends a line holding the components (an empty one without); a
    // plot that holds kMaxLines lines takes no more and answers false.
    bool AddFunction(std::unique_ptr<CompArray> components);
    DocPosition AddFunction() override;
    int GetLineCount() const { return static_cast<int>(m_lines.size()); }
    void RemoveLastFunction() override;

    // ---- variables ----
    void SetXVariable(const std::string& name, double minimum, double maximum);
    void SetYVariable(const std::string& name, double minimum, double maximum);
    const std::string& GetXName() const { return m_xName; }
    const std::string& GetYName() const { return m_yName; }
    const PlotRanges& GetRanges() const { return m_ranges; }

    // ---- the kernel ----
    // Takes the kernel's answer over. Answers whether the answer was graphics
    // the plot could show; any other answer leaves the plot as it was.
    virtual bool SetResult(ExprNode* answer) = 0;
    // Why the last answer's graphics were refused; empty when they were
    // taken or were no graphics at all.
    const std::string& ResultProblem() const { return m_problem; }
    // The parameter dialog; on OK the new names and ranges replace the old
    // and the computed curves go until the next computation.
    virtual bool OnOptions() = 0;

    // ---- selection and buttons ----
    // The view whose selection enters or leaves the plot selects or deselects
    // it, as its drawing target, so that the buttons are drawn or erased there.
    void Select();
    void Deselect();
    bool IsSelected() const { return m_selected; }
    bool HitPlotButton(const IntPoint& point) const;
    bool HitOptionsButton(const IntPoint& point) const;
    bool HitButtons(const IntPoint& point) const { return HitPlotButton(point) || HitOptionsButton(point); }

    // ---- picture ----
    HENHMETAFILE GetPicture() const { return m_picture; }
    // A copy of the cached picture, rendered first when there is none.
    HENHMETAFILE CopyPicture() override;
    void SetPicture(HENHMETAFILE picture);
    // The picture's rectangle in the document.
    Rect GetPictureRect() const;
    int GetPictureWidth() const { return m_pictureWidth; }
    int GetPictureHeight() const { return m_pictureHeight; }

protected:
    PlotComp();
    // The copy's lines, names and ranges; no picture.
    void CopyPlotFrom(const PlotComp& other, LinkRemap& remap);
    virtual void SetDefaultSize() = 0;
    virtual HENHMETAFILE RenderPicture() = 0;
    void DropPicture();
    // The fields both records share, in their order.
    void WriteAxis(DocWriter& writer, double maximum, double minimum, const std::string& name) const;
    void ReadAxis(DocReader& reader, double& maximum, double& minimum, std::string& name);
    void WriteLines(DocWriter& writer) const;
    void ReadLines(DocReader& reader);
    // The x and y axes as the parameter dialog edits them, and back.
    std::vector<PlotAxisParameters> GetXYAxes() const;
    void SetXYAxes(const std::vector<PlotAxisParameters>& axes);
    // The function lines and the x and y axes of a command the kernel answered.
    void TakeLinesAndAxes(PlotCommandNode& node);
    // Whether a picture of the current size can be recorded at this depth.
    bool CanRecordPicture() const;
    // A picture of the current size holding what draw draws; null when
    // none can be recorded. A throw drops the half-recorded picture.
    HENHMETAFILE RecordPicture(const std::function<void()>& draw);

    std::vector<CompList*> m_lines;
    HENHMETAFILE m_picture = nullptr;
    std::string m_xName = "x";
    std::string m_yName = "y";
    PlotRanges m_ranges;
    int m_pictureWidth = 0;
    int m_pictureHeight = 0;
    bool m_selected = false;
    // Set while the picture is rendered at the fixed smallest size (LaTeX).
    bool m_smallest = false;
    std::string m_problem;

private:
    CompList* NewLine();
    void SetSelected(bool selected);
    int LineIndex(const CompList* row) const;
    Rect OptionsButtonRect() const;
    Rect PlotButtonRect() const;
};
