#pragma once
// A document laid out by the program's own paragraph styles and layout
// items on a 96-dpi image, shown in a view stand-in that records what it is
// asked to invalidate and show, with an undo step for running commands.
// Structures are stand-ins: a two-row structure that walks its rows like a
// fraction, an enclosure, and a drawing-like whole object.
#include "foundation/ActionHost.h"
#include "foundation/ActionView.h"
#include "foundation/CompList.h"
#include "foundation/DocumentModel.h"
#include "foundation/DrawContext.h"
#include "foundation/DrawTarget.h"
#include "foundation/FontManager.h"
#include "foundation/InnerSelection.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"
#include "foundation/StyleTable.h"
#include "foundation/TextPrefs.h"
#include "platform/draw/ImageDC.h"
#include "support/model/ModelTestSupport.h"

#include <QImage>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

class RecordingTarget : public DrawTarget {
public:
    CDC* CreateTargetDC() override { return nullptr; }
    void PrepareTargetDC(CDC*) override {}
    IntPoint TargetScrollPosition() const override { return {}; }
    int TargetSizeLevel() const override { return 5; }
    void InvalidateTargetRect(const Rect& rect, bool) override { invalidated.push_back(rect); }
    void ShowTargetRect(const Rect& rect) override { shown.push_back(rect); }

    std::vector<Rect> invalidated;
    std::vector<Rect> shown;
};

class EditDocument : public DocumentModel {
public:
    int32_t GetDocId() const override { return 5; }
    void RegisterParagraph(ParagraphComp& paragraph) override { paragraph.SetId(nextId++); }
    void UnregisterParagraph(ParagraphComp& paragraph) override { paragraph.SetId(0); }
    bool LargerEquations() const override { return false; }
    bool NumberPrintedPages() const override { return false; }
    int16_t FirstPageNumber() const override { return 1; }

    int32_t nextId = 1;
};

class EditView : public ActionView {
public:
    explicit EditView(ParagraphList& list) : paragraphs(list) {}
    DocSelection GetSelection() const override { return selection; }
    void SetSelection(const DocSelection& s, bool redraw) override
    {
        selection = s;
        redrawn += redraw ? 1 : 0;
    }
    void ScrollToShow(const DocSelection& s) override { scrolledTo.push_back(s); }
    void UpdateLayoutFrom(int paragraph, int index) override { paragraphs.UpdateLayoutFrom(paragraph, index); }
    void SetDocumentModified() override { modified = true; }
    void InvalidateSelection(const DocSelection& s) override { invalidated.push_back(s); }
    void ShowSelection(const DocSelection& s) override { shown.push_back(s); }
    ParagraphList* GetParagraphList() const override { return &paragraphs; }

    ParagraphList& paragraphs;
    DocSelection selection;
    std::vector<DocSelection> scrolledTo;
    std::vector<DocSelection> invalidated;
    std::vector<DocSelection> shown;
    int redrawn = 0;
    bool modified = false;
};

// Two rows walked like a fraction: entered from the left at the top row,
// from the right at the bottom row; Tab goes from top to bottom.
class TwoRows : public TestFraction {
public:
    using TestFraction::TestFraction;
    CompList* GetListRight(CompList* from) override { return !from ? GetChild(1) : from == GetChild(1) ? GetChild(2) : nullptr; }
    CompList* GetListLeft(CompList* from) override { return !from ? GetChild(2) : from == GetChild(2) ? GetChild(1) : nullptr; }
    CompList* GetListUp(CompList* from) override { return from == GetChild(2) ? GetChild(1) : nullptr; }
    CompList* GetListDown(CompList* from) override { return from == GetChild(1) ? GetChild(2) : nullptr; }
    int IndexOfChild(const CompList* row) const override { return row == GetChild(1) ? 1 : row == GetChild(2) ? 2 : 0; }
};

// A one-row structure that a reduce replaces by its content.
class Enclosure : public TestFraction {
public:
    using TestFraction::TestFraction;
    bool IsEnclosure() const override { return true; }
    int GetChildCount() const override { return 1; }
};

// A whole object with or without a selection inside it (a drawing).
class Picture : public TestFraction, public InnerSelection {
public:
    bool SelectBetween(const DocPosition&, const DocPosition&, DocSelection&) override { return false; }
    bool HasInnerSelection() const override { return inner; }
    void GetSelectionBounds(const DocSelection&, Rect& out) const override { GetAbsBounds(out); }
    DocSelection CopySelection(const DocSelection&) override { return {}; }
    DocSelection DeleteSelection(const DocSelection&, DocPosition&) override { return {}; }
    bool CanInsert(const DocSelection&, const DocPosition&) const override { return false; }
    DocSelection Insert(DocSelection&, const DocPosition&) override { return {}; }
    void SetSelectionFont(const DocSelection&, int) override {}
    bool inner = false;
};

class EditingTest : public ::testing::Test {
protected:
    EditingTest();
    ~EditingTest() override;

    std::unique_ptr<CompArray> Chars(const std::string& text, int fontId = 0);
    static std::unique_ptr<CompArray> Items(std::vector<TextComp*> comps);
    // Appends a paragraph of the style kind holding the components.
    ParagraphComp* Add(int kind, std::unique_ptr<CompArray> comps);
    ParagraphComp* Add(int kind, const std::string& text) { return Add(kind, Chars(text)); }
    void LayOut() { list.UpdateLayout(); }

    CompList* Row(int paragraph) const { return list.GetAt(paragraph)->GetRow(); }
    DocPosition At(int paragraph, int index) const { return DocPosition(Row(paragraph), index); }
    static DocSelection Caret(const DocPosition& place) { return DocSelection(place, place); }
    DocSelection Caret(int paragraph, int index) const { return Caret(At(paragraph, index)); }

    // Runs a command through the undo step from the view's selection.
    bool Run(TAction* action) { return host.Perform(action); }
    void Select(const DocSelection& selection) { view.selection = selection; }
    DocSelection Now() const { return view.selection; }

    QImage image{900, 700, QImage::Format_RGB32};
    std::unique_ptr<CImageDC> dc;
    RecordingTarget target;
    TextPrefs prefs;
    FontManager fonts{prefs};
    StyleTable* previousTable;
    StyleTable styles;
    EditDocument document;
    ParagraphList list{&document};
    EditView view{list};
    ActionHost host{view};
};

// Prints positions readably in failure messages.
std::string Describe(const DocPosition& position);
std::string Describe(const DocSelection& selection);
void PrintTo(const DocPosition& position, std::ostream* out);
void PrintTo(const DocSelection& selection, std::ostream* out);
bool operator==(const DocSelection& a, const DocSelection& b);
