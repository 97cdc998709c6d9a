#pragma once
// A document laid out with the program's own styles and items on a 96-dpi
// image, a view that records what it is asked to redraw, and an undo step.
#include "foundation/ActionHost.h"
#include "foundation/ActionView.h"
#include "foundation/ArrowKeyActions.h"
#include "foundation/ComponentFactory.h"
#include "foundation/DrawContext.h"
#include "foundation/DrawTarget.h"
#include "foundation/FieldActions.h"
#include "foundation/CharComp.h"
#include "foundation/FontFace.h"
#include "foundation/FontManager.h"
#include "foundation/HomeEndKeyActions.h"
#include "foundation/Layout.h"
#include "foundation/ParagraphList.h"
#include "foundation/StyleTable.h"
#include "foundation/TextLayoutItemMaker.h"
#include "foundation/TextPrefs.h"
#include "platform/draw/ImageDC.h"
#include "support/model/ModelTestSupport.h"

#include <QImage>

#include <gtest/gtest.h>

class RecordingTarget : public DrawTarget {
public:
    CDC* CreateTargetDC() override { return nullptr; }
    void PrepareTargetDC(CDC*) override {}
    IntPoint TargetScrollPosition() const override { return {}; }
    int TargetSizeLevel() const override { return 5; }
    void InvalidateTargetRect(const Rect& rect, bool) override { invalidated.push_back(rect); }
    void ShowTargetRect(const Rect& rect) override { shown.push_back(rect); }
    std::vector<Rect> invalidated, shown;
};

class EditView : public ActionView {
public:
    explicit EditView(ParagraphList& list) : paragraphs(list) {}
    DocSelection GetSelection() const override { return selection; }
    void SetSelection(const DocSelection& s, bool redraw) override { selection = s, redrawn += redraw; }
    void ScrollToShow(const DocSelection& s) override { scrolledTo.push_back(s); }
    void UpdateLayoutFrom(int paragraph, int index) override { paragraphs.UpdateLayoutFrom(paragraph, index); }
    void SetDocumentModified() override { modified = true; }
    void InvalidateSelection(const DocSelection& s) override { invalidated.push_back(s); }
    void ShowSelection(const DocSelection& s) override { shown.push_back(s); }
    ParagraphList* GetParagraphList() const override { return &paragraphs; }

    ParagraphList& paragraphs;
    DocSelection selection;
    std::vector<DocSelection> scrolledTo, invalidated, shown;
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
struct Enclosure : TestFraction {
    using TestFraction::TestFraction;
    bool IsEnclosure() const override { return true; }
    int GetChildCount() const override { return 1; }
};

// A component with a tag of its own (a cross-reference, a plot).
struct Tagged : TestFraction {
    explicit Tagged(TypeTag t) : tag(t) {}
    void GetTag(TypeTag& out) const override { out = tag; }
    TypeTag tag;
};

// Keys and commands as the table tests name them: a key code (with kShift,
// kCtrl), kWord (a double click) or the edit code of a caret command.
constexpr int kShift = 0x10000, kCtrl = 0x20000, kHome = 36, kEnd = 35, kWord = 1;
constexpr int kLeft = TArrowKeyAction::kLeft, kUp = TArrowKeyAction::kUp;
constexpr int kRight = TArrowKeyAction::kRight, kDown = TArrowKeyAction::kDown;

inline TAction* Command(ActionView& view, int key, const DocSelection& s)
{
    const bool shift = key & kShift, ctrl = key & kCtrl;
    switch (key & 0xFFFF) {
    case kHome: return ctrl ? static_cast<TAction*>(new TCtrlHomeKeyAction(view, s, shift)) : new THomeKeyAction(view, s, shift);
    case kEnd: return ctrl ? static_cast<TAction*>(new TCtrlEndKeyAction(view, s, shift)) : new TEndKeyAction(view, s, shift);
    case kWord: return new TSelectWordAction(view, s);
    case 2805: return new TPreviousFieldAction(view, s);
    case 2806: return new TNextFieldAction(view, s);
    case 2807: return new TSelectPreviousAction(view, s);
    case 2904: return new TLeaveAfterAction(view, s);
    case 2905: return new TLeaveBeforeAction(view, s);
    default: return new TArrowKeyAction(view, s, key & 0xFFFF, shift, ctrl);
    }
}

inline bool operator==(const DocSelection& a, const DocSelection& b)
{
    return a.GetStart() == b.GetStart() && a.GetEnd() == b.GetEnd();
}

inline void PrintTo(const DocPosition& p, std::ostream* out)
{
    *out << "kind " << p.GetKind() << " @" << p.GetIndex() << " in " << static_cast<const void*>(p.GetList());
}
inline void PrintTo(const DocSelection& s, std::ostream* out) { PrintTo(s.GetStart(), out), *out << " .. ", PrintTo(s.GetEnd(), out); }

// "ab" [two rows "xy" over "z"] "c" [enclosure "q"] | "hello" | numbered
// equation "e=1" | "see " [cross-reference] " " [plot] | 40 words on several lines
class EditingTest : public ::testing::Test {
protected:
    EditingTest()
    {
        gStyleTable = &styles;
        LayoutItemMaker::Install(&TextLayoutItemMaker::Instance());
        RegisterComponentClasses();
        image.fill(Qt::white);
        SetImageDpi(image, 96);
        dc = std::make_unique<CImageDC>(image);
        gDrawContext.BeginDrawOnDC(&target, dc.get());
        auto first = Chars("ab");
        first->Append(rows);
        first->Append(Chars("c")->GetAt(1));
        first->Append(new Enclosure(Chars("q"), nullptr));
        Add(3, std::move(first));
        Add(3, "hello");
        Add(6, "e=1");
        auto fourth = Chars("see ");
        fourth->Append(reference);
        fourth->Append(Chars(" ")->GetAt(1));
        fourth->Append(plot);
        Add(3, std::move(fourth));
        std::string words;
        for (int i = 0; i < 40; ++i)
            words += "word" + std::to_string(i) + " ";
        Add(3, words);
        list.UpdateLayout();
        for (int i = 1; i <= Row(5)->GetItems()->GetCount(); ++i)
            if (Layout* item = Row(5)->GetItems()->GetAt(i); item->IsLine())
                starts.push_back(item->GetStartIndex());
        target.invalidated.clear();
    }
    ~EditingTest() override
    {
        list.DeleteAll();
        UnwindDrawContext();
    }

    std::unique_ptr<CompArray> Chars(const std::string& text)
    {
        auto array = std::make_unique<CompArray>();
        for (char c : text)
            array->Append(fonts.GetFace(0)->GetCharacter(static_cast<unsigned char>(c)));
        return array;
    }
    void Add(int kind, std::unique_ptr<CompArray> comps) { list.Append(new ParagraphComp(std::move(comps), kind)); }
    void Add(int kind, const std::string& text) { Add(kind, Chars(text)); }

    CompList* Row(int paragraph) const { return list.GetAt(paragraph)->GetRow(); }
    DocPosition At(int paragraph, int index) const { return DocPosition(Row(paragraph), index); }
    static DocSelection Caret(const DocPosition& place) { return DocSelection(place, place); }
    DocSelection Caret(int paragraph, int index) const { return Caret(At(paragraph, index)); }
    DocSelection End(int paragraph) const { return Caret(paragraph, Row(paragraph)->GetCount() + 1); }
    DocPosition Top(int index) const { return DocPosition(rows->GetChild(1), index); }
    DocPosition Bottom(int index) const { return DocPosition(rows->GetChild(2), index); }
    Rect Box(int paragraph, int index) const
    {
        Rect box;
        At(paragraph, index).GetCaretRect(box);
        return box;
    }
    static IntPoint Middle(const Rect& r) { return IntPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2); }
    IntPoint CaretPoint(int paragraph, int index) const { return IntPoint(Box(paragraph, index).left, Middle(Box(paragraph, index)).y); }

    // Runs a command through the undo step; answers the view's selection.
    DocSelection Do(TAction* action) { return host.Perform(action), view.selection; }
    DocSelection Key(int key) { return Do(Command(view, key, view.selection)); }
    void Select(const DocSelection& selection) { view.selection = selection; }
    DocSelection Now() const { return view.selection; }

    // A command from a selection; after unset: only undo and redo are checked.
    struct Move { const char* what; DocSelection from; int key; DocSelection after; };
    void CheckMoves(const std::vector<Move>& moves)
    {
        for (const Move& m : moves) {
            SCOPED_TRACE(m.what);
            Select(m.from);
            TAction* action = Command(view, m.key, m.from);
            EXPECT_FALSE(action->ModifiesDocument());
            const DocSelection after = Do(action);
            EXPECT_EQ(after, m.after.GetStart().GetKind() == DocPosition::kNone ? after : m.after);
            host.UndoOrRedo();
            EXPECT_EQ(Now(), m.from) << "undo";
            host.UndoOrRedo();
            EXPECT_EQ(Now(), after) << "redo";
        }
        EXPECT_FALSE(view.modified);
    }

    SavedGlobals saved;
    QImage image{900, 700, QImage::Format_RGB32};
    std::unique_ptr<CImageDC> dc;
    RecordingTarget target;
    TextPrefs prefs;
    FontManager fonts{prefs};
    StyleTable styles;
    TestDocument document;
    ParagraphList list{&document};
    EditView view{list};
    ActionHost host{view};
    TwoRows* rows = new TwoRows(Chars("xy"), Chars("z"));
    Tagged* reference = new Tagged(tag_Ref);
    Tagged* plot = new Tagged(tag_2Plt);
    std::vector<int> starts; // of the laid-out lines of the last paragraph
};
