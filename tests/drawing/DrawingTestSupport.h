#pragma once
// The fixture of the drawing tests: the drawing and math component classes,
// the program's layout items, the fonts of the default preferences and a
// 96-dpi image the drawing context measures and draws on. It builds a
// sample document of two paragraphs with drawings that share vertices,
// show values and refer to each other's variables.
#include "drawing/DiagramComp.h"
#include "foundation/ActionView.h"
#include "foundation/DrawTarget.h"
#include "foundation/FontManager.h"
#include "foundation/ParagraphList.h"
#include "foundation/TextPrefs.h"
#include "platform/draw/ImageDC.h"
#include "support/model/ModelTestSupport.h"

#include <QImage>
#include <QString>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

class CircleShape;
class DrawingMaker;
class TAction;
class DiagramEditList;
class DrawConstraint;
class VertexShape;

// What breaks the drawings' ownership rule, empty when nothing does: every
// listed shape has no owner and is listed once; each side or edge belongs
// to one listed shape, which owns it; no listed vertex is used by another
// shape; no vertex a removed drawing lists (and frees) is held by the first
// drawing; every used vertex is owned by a shape that holds it; use counts
// count the edges and circles of the drawings and of the compound shapes
// the records hold; an equal-length constraint holds each segment once;
// labels are listed once, by their drawing (a point a removal left listed,
// by the drawing that lists it), and belong to items in it; the
// selection lists are the selected items, checked both ways (every listed
// item is selected and every selected item is listed, or is a part of a
// listed one); a constraint of the first drawing binds only items that
// drawing holds, one of a removed drawing items some drawing or record
// holds.
std::string OwnershipFaults(const std::vector<const DiagramComp*>& drawings, const DiagramEditList* edits = nullptr);

// A constraint kind of the removal tests: its name and how one is made on
// the test's scene.
template <class Scene>
struct ConstraintKindCase {
    const char* name;
    std::function<DrawConstraint*(Scene&)> make;
};

// Adds the constraint to the drawing with the label it makes.
template <class T>
T* Labelled(DiagramComp* d, T* constraint)
{
    d->AddConstraint(constraint);
    d->AddLabel(constraint->MakeLabel(d));
    return constraint;
}

// Adds the constraint to the drawing.
inline DrawConstraint* Added(DiagramComp* d, DrawConstraint* constraint)
{
    d->AddConstraint(constraint);
    return constraint;
}

// Collects what goes to the status bar while it lives.
class StatusRecorder {
public:
    StatusRecorder();
    ~StatusRecorder();
    StatusRecorder(const StatusRecorder&) = delete;
    StatusRecorder& operator=(const StatusRecorder&) = delete;

    std::vector<std::string> texts;
};

class DrawingScreen : public DrawTarget {
public:
    CDC* CreateTargetDC() override { return nullptr; }
    void PrepareTargetDC(CDC*) override {}
    IntPoint TargetScrollPosition() const override { return IntPoint(0, 0); }
    int TargetSizeLevel() const override { return 5; }
    void InvalidateTargetRect(const Rect& rect, bool) override { invalidated.push_back(rect); }
    void ShowTargetRect(const Rect&) override {}

    // What the model asked the view to paint again, in device pixels.
    std::vector<Rect> invalidated;
};

// A view for the drawing's tools and actions: it keeps the selection it is
// given and notes that the document was modified.
class DrawingView : public ActionView {
public:
    DocSelection GetSelection() const override { return selection; }
    void SetSelection(const DocSelection& s, bool) override { selection = s; }
    void ScrollToShow(const DocSelection&) override {}
    void UpdateLayoutFrom(int, int) override {}
    void SetDocumentModified() override { modified = true; }
    void InvalidateSelection(const DocSelection&) override {}
    void ShowSelection(const DocSelection&) override {}
    ParagraphList* GetParagraphList() const override { return nullptr; }

    DocSelection selection;
    bool modified = false;
};

// The items of the sample drawing, for tests that look at them.
struct SampleParts {
    DiagramComp* diagram = nullptr;
    VertexShape* a = nullptr;  // the centre of c1, with a coordinate label
    VertexShape* b = nullptr;  // the centre shared by c2 and c3
    CircleShape* c1 = nullptr;
    CircleShape* c2 = nullptr;
    CircleShape* c3 = nullptr;
};

// Paragraph lists free their paragraphs when asked to.
struct ListDeleter {
    void operator()(ParagraphList* list) const;
};
using ListPtr = std::unique_ptr<ParagraphList, ListDeleter>;

class DrawingTest : public ::testing::Test {
protected:
    DrawingTest();
    ~DrawingTest() override;

    // A 298 x 224 pixel drawing: circle c1 around the labelled vertex a
    // (its body is written inside c1's), two circles around one centre b, a free label "r=" with c1's radius, and
    // a named variable "a".
    SampleParts MakeSample();
    // A 298 x 224 pixel drawing of every shape kind: a labelled segment
    // with arrowheads, a dashed curve, a filled triangle, a rectangle, an
    // open polygon of a segment and a curve, a filled closed polygon and a
    // pending plot with its curve and formula.
    DiagramComp* MakeShapeKinds();
    // One paragraph holding the drawing.
    ListPtr ListOf(DiagramComp* drawing);
    // Two paragraphs: text and the sample; a copy of the sample and a value
    // display of the first sample's vertex.
    ListPtr MakeSampleDocument();
    ListPtr NewList();

    static std::vector<uint8_t> WriteList(const ParagraphList& list);
    // Reads the paragraphs and binds the value displays; raises what the reader raises.
    ListPtr ReadList(const std::vector<uint8_t>& bytes);
    static std::vector<uint8_t> WriteComponent(TextComp& comp);
    // Reads one component record (links bound); raises what the reader raises.
    static std::unique_ptr<TextComp, void (*)(TextComp*)> ReadComponent(const std::vector<uint8_t>& bytes);

    static QString OutputDir();

    TextPrefs prefs;
    FontManager fonts{prefs};
    TestDocument document;
    DrawingScreen screen;
    QImage image;
    std::unique_ptr<CImageDC> dc;
};

// The makers' tests: a 2000 x 2000 drawing with its world origin at (-5, 6),
// in one paragraph; Select picks shapes in the order a user clicks them.
class MakerTest : public DrawingTest {
protected:
    MakerTest();
    const ItemArray<DiagramShape>& Select(const std::vector<DiagramShape*>& shapes);
    // Which makers accept the selection, in order: '1' for yes, '0' for no.
    std::string Accepts(std::span<const DrawingMaker* const> makers, const ItemArray<DiagramShape>& selected) const;
    // Undoes and redoes the performed action `rounds` times: each undo gives
    // back the drawing's record `before`, each redo the record it had done.
    void ExpectUndoRedo(TAction& action, const std::vector<uint8_t>& before, int rounds = 1);

    DiagramComp* drawing;
    ListPtr list;
};

class ConstraintEqn;

// How far the figure is from meeting an equation of the constraint,
// measured from the coordinates with this file's own geometry (a length, an
// angle times its shorter arm, a point's distance from a line, from a curve
// built by halving its control polygon, or from a plot's computed samples
// within their bow; a locked value's distance from where it was locked).
double FigureMiss(const DrawConstraint& constraint, const ConstraintEqn& equation);
// The diagonal of the box of the drawing's vertices, or its largest circle's
// radius when that is larger.
double FigureExtent(const DiagramComp& drawing);
// The equations of the drawing's constraints that the figure misses by more
// than `share` of its extent (or the rounding of its coordinates); a constraint whose label gives its value is
// judged by the name's value in place of its own, when the name has one.
std::vector<const ConstraintEqn*> FigureMisses(const DiagramComp& drawing, double share);
