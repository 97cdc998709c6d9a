// Term dragging through the document view against the real kernel program:
// a selected term pressed, the mouse moved to another place, the timer's
// tick arming the gesture, the status bar saying what releasing will do, and
// the release making the calculation, undone and redone to the same bytes.
#include "app/views/KernelViewFixture.h"

#include "app/CalculationHold.h"
#include "app/TermDragTracker.h"
#include "foundation/DrawTargetScope.h"
#include "foundation/ExprNode.h"
#include "foundation/MouseTracker.h"
#include "kernel/KernelLink.h"
#include "kernel/KernelServices.h"
#include "platform/InputGate.h"
#include "platform/framework/InputGateFilter.h"
#include "support/PauseProcess.h"
#include "support/kernel/KernelProgram.h"
#include "support/kernel/NodeWireText.h"
#include "support/kernel/SilentQuestions.h"
#include "support/model/ModelTestSupport.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QTemporaryDir>
#include <QTimer>

#include <chrono>
#include <csignal>
#include <memory>
#include <utility>

namespace {

constexpr UINT kUndo = 57643;
constexpr UINT kPlainText = 32701 + 3;
constexpr UINT kPlainEquation = 32701 + 5;

struct DocumentBytes : ModelTest {
    static std::vector<uint8_t> Of(const ParagraphList& list) { return WriteList(list); }
};

class QuietQuestions : public SilentQuestions {
public:
    void Yield() override
    {
        if (m_onYield)
            std::exchange(m_onYield, nullptr)();
    }
    // Runs hook once, at the first wait while the answer lives: it goes
    // before the locals it captures, also when the wait never came.
    [[nodiscard]] auto OnYield(std::function<void()> hook)
    {
        m_onYield = std::move(hook);
        auto clear = [](QuietQuestions* questions) { questions->m_onYield = nullptr; };
        return std::unique_ptr<QuietQuestions, decltype(clear)>(this, clear);
    }

private:
    std::function<void()> m_onYield;
};

// A gesture written as the typed formula with the pressed characters in
// braces and a caret before the character dropped on: "2x+{3}=^7".
struct Gesture {
    std::string typed;
    int pressFirst = 0, pressLast = 0; // 1-based character indices
    int dropAt = 0;
};

Gesture Parse(const std::string& written)
{
    Gesture g;
    for (char c : written) {
        if (c == '{')
            g.pressFirst = int(g.typed.size()) + 1;
        else if (c == '}')
            g.pressLast = int(g.typed.size());
        else if (c == '^')
            g.dropAt = int(g.typed.size()) + 1;
        else
            g.typed += c;
    }
    return g;
}

class TermDragTest : public KernelViewTest<QuietQuestions> {
protected:
    // A new paragraph holding the typed text, at the end: an equation, or text.
    int Formula(const std::string& typed, UINT style = kPlainEquation)
    {
        if (Row(Paragraphs().GetCount())->GetCount() > 0) {
            PutCaret(Paragraphs().GetCount(), Row(Paragraphs().GetCount())->GetCount() + 1);
            Key(VK_RETURN, 13);
        }
        Command(style);
        Type(typed);
        return Paragraphs().GetCount();
    }
    // The view's timer tick.
    void Tick()
    {
        DrawTargetScope draw(view);
        if (MouseTracker* tracker = view->GetTracker())
            tracker->SetCursor();
    }
    // The middle of characters first..last of a paragraph, and a point just
    // inside the left edge of one (a place before it).
    IntPoint Middle(int paragraph, int first, int last)
    {
        DrawTargetScope draw(view);
        Rect r;
        DocSelection(Row(paragraph), first, last + 1).GetBounds(r);
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    IntPoint LeftOf(int paragraph, int index)
    {
        DrawTargetScope draw(view);
        Rect r;
        DocSelection(Row(paragraph), index, index + 1).GetBounds(r);
        return {r.left + std::max(1, r.Width() / 4), (r.top + r.bottom) / 2};
    }
    TermDragTracker* Drag() { return dynamic_cast<TermDragTracker*>(view->GetTracker()); }
    // Chooses an item of the open popup menu by its text; answers the
    // calculations it offered (the items after the last separator).
    static std::vector<std::string> ChooseFromPopup(const QString& label)
    {
        std::vector<std::string> offered;
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return offered;
        for (QAction* item : menu->actions()) {
            if (item->isSeparator())
                offered.clear();
            else
                offered.push_back(item->text().toStdString());
            if (item->text() == label)
                menu->setActiveAction(item);
        }
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QCoreApplication::sendEvent(menu, &enter);
        return offered;
    }

    // Selects the pressed characters, presses there, moves to the drop
    // point, lets the timer arm the gesture; answers the status then shown.
    std::string Hold(int from, int first, int last, const IntPoint& drop)
    {
        Select(from, first, last + 1);
        Mouse(QEvent::MouseButtonPress, Middle(from, first, last));
        if (!Drag())
            return "<no drag>";
        Mouse(QEvent::MouseMove, drop);
        Tick();
        return ui.LastStatus();
    }
    // The formula of a paragraph as the parser reads it back.
    std::string FormulaOf(int paragraph)
    {
        std::unique_ptr<ExprNode> node(Paragraphs().GetAt(paragraph)->BuildNode());
        return node ? FullFormOf(std::move(node)) : "<none>";
    }
};

struct DragCase {
    const char* gesture;
    const char* status;
    const char* result; // the new paragraph's formula; "" when nothing is made
};

} // namespace

TEST_F(TermDragTest, SixtyGesturesMakeTheirRearrangementsUndoneAndRedoneToTheSameBytes)
{
    const DragCase cases[] = {
        // A term across "=" (or onto the "=" itself): subtracted from both sides.
        {"2x+{3}=^7", "Subtract 3 from both sides", "VXInequality[VXTimes[2, x], Equal, VXPlus[7, VXTimes[-3]]]"},
        {"{2x}+3=^7", "Subtract 2x from both sides", "VXInequality[3, Equal, VXPlus[7, VXTimes[-2, x]]]"},
        {"x-{5}=^1", "Add 5 to both sides", "VXInequality[x, Equal, VXPlus[1, 5]]"},
        {"a+b+{c}=^d", "Subtract c from both sides", "VXInequality[VXPlus[a, b], Equal, VXPlus[d, VXTimes[-1, c]]]"},
        {"{a}+b+c=^d", "Subtract a from both sides", "VXInequality[VXPlus[b, c], Equal, VXPlus[d, VXTimes[-1, a]]]"},
        {"a+{b}+c=^d", "Subtract b from both sides", "VXInequality[VXPlus[a, c], Equal, VXPlus[d, VXTimes[-1, b]]]"},
        {"x+{y}=^0", "Subtract y from both sides", "VXInequality[x, Equal, VXPlus[0, VXTimes[-1, y]]]"},
        {"{x}=^y", "Subtract x from both sides", "VXInequality[0, Equal, VXPlus[y, VXTimes[-1, x]]]"},
        {"3x+{4}=^x", "Subtract 4 from both sides", "VXInequality[VXTimes[3, x], Equal, VXPlus[x, VXTimes[-4]]]"},
        {"{3x}+4=^x", "Subtract 3x from both sides", "VXInequality[4, Equal, VXPlus[x, VXTimes[-3, x]]]"},
        {"^a=b+{c}", "Subtract c from both sides", "VXInequality[VXPlus[a, VXTimes[-1, c]], Equal, b]"},
        {"^y={3}+x", "Subtract 3 from both sides", "VXInequality[VXPlus[y, VXTimes[-3]], Equal, x]"},
        {"^0=x-{7}", "Add 7 to both sides", "VXInequality[VXPlus[0, 7], Equal, x]"},
        {"^2x=x+{1}", "Subtract 1 from both sides", "VXInequality[VXPlus[VXTimes[2, x], VXTimes[-1]], Equal, x]"},
        {"^p=q+{r}", "Subtract r from both sides", "VXInequality[VXPlus[vxP, VXTimes[-1, r]], Equal, q]"},
        {"2x+{3}^=7", "Subtract 3 from both sides", "VXInequality[VXTimes[2, x], Equal, VXPlus[7, VXTimes[-3]]]"},
        {"a+{b}^=c", "Subtract b from both sides", "VXInequality[a, Equal, VXPlus[c, VXTimes[-1, b]]]"},
        {"x+{2}<^5", "Subtract 2 from both sides", "VXInequality[x, Less, VXPlus[5, VXTimes[-2]]]"},
        {"-{3}+x>^1", "Add 3 to both sides", "VXInequality[x, Greater, VXPlus[1, 3]]"},
        {"y-{6}>^2y", "Add 6 to both sides", "VXInequality[y, Greater, VXPlus[VXTimes[2, y], 6]]"},
        // A factor across: both sides divided (a negative number turns an inequality round, a letter
        // of unknown sign does not cross one).
        {"{2}x=^6", "Divide both sides by 2", "VXInequality[x, Equal, VXDivide[6, 2]]"},
        {"{a} x=^b", "Divide both sides by a", "VXInequality[x, Equal, VXDivide[b, a]]"},
        {"{5}y=^10", "Divide both sides by 5", "VXInequality[y, Equal, VXDivide[10, 5]]"},
        {"x {y}=^z", "Divide both sides by y", "VXInequality[x, Equal, VXDivide[z, y]]"},
        {"^3={4}x", "Divide both sides by 4", "VXInequality[VXDivide[3, 4], Equal, x]"},
        {"{2}x<^8", "Divide both sides by 2", "VXInequality[x, Less, VXDivide[8, 2]]"},
        {"{a} x<^b", "No action possible", ""},
        {"-{2}x<^6", "Divide both sides by -2", "VXInequality[x, Greater, VXDivide[6, -2]]"},
        // Within one sum or product the term takes the place dropped on.
        {"{a}+b+^c=0", "Move the term here", "VXInequality[VXPlus[b, c, a], Equal, 0]"},
        {"^a+b+{c}=0", "Move the term here", "VXInequality[VXPlus[c, a, b], Equal, 0]"},
        {"x+{y}+^z=1", "Move the term here", "VXInequality[VXPlus[x, z, y], Equal, 1]"},
        {"{x} y ^z=1", "Move the factor here", "VXInequality[VXTimes[y, z, x], Equal, 1]"},
        {"p+q+{r}+^s=t", "Move the term here", "VXInequality[VXPlus[vxP, q, s, r], Equal, t]"},
        {"{p}+q+r+^s=t", "Move the term here", "VXInequality[VXPlus[q, r, s, vxP], Equal, t]"},
        // A factor onto the sum it multiplies; a factor of every term onto their sum.
        {"{a}(^b+c)=d", "Multiply out a", "VXInequality[VXPlus[VXTimes[a, b], VXTimes[a, c]], Equal, d]"},
        {"{2}(^x+1)=6", "Multiply out 2", "VXInequality[VXPlus[VXTimes[2, x], 2], Equal, 6]"},
        {"{x}(^x+y)=0", "Multiply out x", "VXInequality[VXPlus[VXTimes[x, x], VXTimes[x, y]], Equal, 0]"},
        {"{a} b^+a c=0", "Factor out a", "VXInequality[VXTimes[a, VXPlus[b, c]], Equal, 0]"},
        {"{x}^+x y=2", "Factor out x", "VXInequality[VXTimes[x, VXPlus[1, y]], Equal, 2]"},
        {"{2}x^+4=0", "Factor out 2", "VXInequality[VXTimes[2, VXPlus[x, 2]], Equal, 0]"},
        {"{3}a^+6b=9", "Factor out 3", "VXInequality[VXTimes[3, VXPlus[a, VXTimes[2, b]]], Equal, 9]"},
        // Nothing fits inside the sum: the equation round it is the target. More of each kind.
        {"{a}^+b=c", "Subtract a from both sides", "VXInequality[b, Equal, VXPlus[c, VXTimes[-1, a]]]"},
        {"4x+{1}=^x", "Subtract 1 from both sides", "VXInequality[VXTimes[4, x], Equal, VXPlus[x, VXTimes[-1]]]"},
        {"m+{n}=^k+1", "Subtract n from both sides", "VXInequality[m, Equal, VXPlus[k, 1, VXTimes[-1, n]]]"},
        {"^m+n=k+{1}", "Subtract 1 from both sides", "VXInequality[VXPlus[m, n, VXTimes[-1]], Equal, k]"},
        {"^u+v={w}", "Subtract w from both sides", "VXInequality[VXPlus[u, v, VXTimes[-1, w]], Equal, 0]"},
        {"^u+v=w-{2}", "Add 2 to both sides", "VXInequality[VXPlus[u, v, 2], Equal, w]"},
        {"{10}+x=^20", "Subtract 10 from both sides", "VXInequality[x, Equal, VXPlus[20, VXTimes[-10]]]"},
        {"x+{10}=^20", "Subtract 10 from both sides", "VXInequality[x, Equal, VXPlus[20, VXTimes[-10]]]"},
        {"{b}+a=^0", "Subtract b from both sides", "VXInequality[a, Equal, VXPlus[0, VXTimes[-1, b]]]"},
        {"a {b} c=^d", "Divide both sides by b", "VXInequality[VXTimes[a, c], Equal, VXDivide[d, b]]"},
        {"{7}t=^21", "Divide both sides by 7", "VXInequality[t, Equal, VXDivide[21, 7]]"},
        {"^21={7}t", "Divide both sides by 7", "VXInequality[VXDivide[21, 7], Equal, t]"},
        {"{k}+2x=^5", "Subtract k from both sides", "VXInequality[VXTimes[2, x], Equal, VXPlus[5, VXTimes[-1, k]]]"},
        {"2x+{k}=^5", "Subtract k from both sides", "VXInequality[VXTimes[2, x], Equal, VXPlus[5, VXTimes[-1, k]]]"},
        {"x+y+{z}=^1+w", "Subtract z from both sides",
         "VXInequality[VXPlus[x, y], Equal, VXPlus[1, w, VXTimes[-1, z]]]"},
        {"^1+w=x+y+{z}", "Subtract z from both sides",
         "VXInequality[VXPlus[1, w, VXTimes[-1, z]], Equal, VXPlus[x, y]]"},
        {"{e}+f=^g", "Subtract e from both sides", "VXInequality[f, Equal, VXPlus[g, VXTimes[-1, E]]]"},
        {"e+{f}=^g", "Subtract f from both sides", "VXInequality[E, Equal, VXPlus[g, VXTimes[-1, f]]]"},
        {"{6}m=^3", "Divide both sides by 6", "VXInequality[m, Equal, VXDivide[3, 6]]"},
        {"s-{t}=^0", "Add t to both sides", "VXInequality[s, Equal, VXPlus[0, t]]"},
        {"^0=s-{t}", "Add t to both sides", "VXInequality[VXPlus[0, t], Equal, s]"},
        {"{c}+d^+e=0", "Subtract c from both sides", "VXInequality[VXPlus[d, E], Equal, VXPlus[0, VXTimes[-1, c]]]"},
        {"{z} w=^1", "Divide both sides by z", "VXInequality[w, Equal, VXDivide[1, z]]"},
        // A run of terms moves as one.
        {"a+{b+c}=^d", "Subtract the terms from both sides",
         "VXInequality[a, Equal, VXPlus[d, VXTimes[-1, b], VXTimes[-1, c]]]"},
        {"{a+b}+c=^d", "Subtract the terms from both sides",
         "VXInequality[c, Equal, VXPlus[d, VXTimes[-1, a], VXTimes[-1, b]]]"},
    };
    int checked = 0;
    for (const DragCase& c : cases) {
        SCOPED_TRACE(c.gesture);
        const Gesture g = Parse(c.gesture);
        const int source = Formula(g.typed);
        const int count = Paragraphs().GetCount();
        const std::vector<uint8_t> before = DocumentBytes::Of(Paragraphs());
        EXPECT_EQ(Hold(source, g.pressFirst, g.pressLast, LeftOf(source, g.dropAt)), c.status);
        Mouse(QEvent::MouseButtonRelease, LeftOf(source, g.dropAt));
        EXPECT_EQ(view->GetTracker(), nullptr);
        if (!*c.result) {
            EXPECT_EQ(Paragraphs().GetCount(), count);
            EXPECT_EQ(DocumentBytes::Of(Paragraphs()), before);
            continue;
        }
        ASSERT_EQ(Paragraphs().GetCount(), count + 1);
        EXPECT_EQ(FormulaOf(source + 1), c.result);
        const std::vector<uint8_t> done = DocumentBytes::Of(Paragraphs());
        EXPECT_EQ(Update(kUndo).text, "Undo calculation");
        Command(kUndo);
        EXPECT_EQ(DocumentBytes::Of(Paragraphs()), before);
        Command(kUndo);
        EXPECT_EQ(DocumentBytes::Of(Paragraphs()), done);
        ++checked;
    }
    EXPECT_GE(checked, 60);
}

// Shift on release continues the equation with a rearranged part: the source
// paragraph becomes itself, " = " and the part's side rearranged. A move
// across the relation makes no equal expression: Shift leaves it as it is.
TEST_F(TermDragTest, ShiftOnReleaseContinuesTheEquationWithARearrangedPart)
{
    const struct {
        const char* gesture;
        const char* source; // the source paragraph's formula afterwards
        const char* added;  // the new paragraph's formula; "" when none is made
    } cases[] = {
        {"y={a}+b+^c", "VXInequality[y, Equal, VXPlus[a, b, c], Equal, VXPlus[b, c, a]]", ""},
        {"{a}(^b+c)", "VXInequality[VXTimes[a, VXPlus[b, c]], Equal, VXPlus[VXTimes[a, b], VXTimes[a, c]]]", ""},
        {"2x+{3}=^7", "VXInequality[VXPlus[VXTimes[2, x], 3], Equal, 7]",
         "VXInequality[VXTimes[2, x], Equal, VXPlus[7, VXTimes[-3]]]"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.gesture);
        const Gesture g = Parse(c.gesture);
        const int source = Formula(g.typed);
        const int count = Paragraphs().GetCount();
        const std::vector<uint8_t> before = DocumentBytes::Of(Paragraphs());
        Hold(source, g.pressFirst, g.pressLast, LeftOf(source, g.dropAt));
        Mouse(QEvent::MouseButtonRelease, LeftOf(source, g.dropAt), MK_SHIFT);
        EXPECT_EQ(FormulaOf(source), c.source);
        ASSERT_EQ(Paragraphs().GetCount(), count + (*c.added ? 1 : 0));
        if (*c.added) {
            EXPECT_EQ(FormulaOf(source + 1), c.added);
        }
        Command(kUndo);
        EXPECT_EQ(DocumentBytes::Of(Paragraphs()), before);
        Command(kUndo);
    }
}

TEST_F(TermDragTest, AReleaseBeforeTheTickMakesNothingAndADropOnTheTermItselfOffersNothing)
{
    const int p = Formula("2x+3=7");
    const std::vector<uint8_t> before = DocumentBytes::Of(Paragraphs());
    Select(p, 4, 5);
    Mouse(QEvent::MouseButtonPress, Middle(p, 4, 4));
    ASSERT_NE(Drag(), nullptr);
    Mouse(QEvent::MouseMove, LeftOf(p, 6));
    Mouse(QEvent::MouseButtonRelease, LeftOf(p, 6));
    EXPECT_EQ(DocumentBytes::Of(Paragraphs()), before);
    // It was a click: the caret stands where the button came up.
    EXPECT_FALSE(view->GetSelection().HasExtent());
    EXPECT_EQ(view->GetSelection().First().GetIndex(), 6);

    // Back on the term itself after a preview: no target, no action.
    EXPECT_EQ(Hold(p, 4, 4, LeftOf(p, 6)), "Subtract 3 from both sides");
    Mouse(QEvent::MouseMove, Middle(p, 4, 4));
    EXPECT_EQ(Drag()->Target(), nullptr);
    Mouse(QEvent::MouseButtonRelease, Middle(p, 4, 4));
    EXPECT_EQ(DocumentBytes::Of(Paragraphs()), before);
}

TEST_F(TermDragTest, TheStatusFollowsTheMouseOverOtherPlacesTextAndFormulasThatDoNotParse)
{
    const int p = Formula("a+b+c=d");
    const int text = Formula("q", kPlainText);
    const int broken = Formula("2+=");
    EXPECT_EQ(Hold(p, 5, 5, LeftOf(p, 7)), "Subtract c from both sides");
    Mouse(QEvent::MouseMove, LeftOf(p, 1));
    EXPECT_EQ(ui.LastStatus(), "Move the term here");
    Mouse(QEvent::MouseMove, Middle(text, 1, 1));
    EXPECT_EQ(ui.LastStatus(), "No action possible");
    Mouse(QEvent::MouseMove, Middle(broken, 1, 1));
    EXPECT_EQ(ui.LastStatus(), "Syntax Error");
    Mouse(QEvent::MouseMove, LeftOf(p, 7));
    EXPECT_EQ(ui.LastStatus(), "Subtract c from both sides");
    Mouse(QEvent::MouseButtonRelease, LeftOf(p, 7));
    EXPECT_EQ(FormulaOf(p + 1), "VXInequality[VXPlus[a, b], Equal, VXPlus[d, VXTimes[-1, c]]]");

    // Released over the formula that does not parse (one further down now): nothing is made.
    const std::vector<uint8_t> before = DocumentBytes::Of(Paragraphs());
    EXPECT_EQ(Hold(p, 5, 5, Middle(broken + 1, 1, 1)), "Syntax Error");
    Mouse(QEvent::MouseButtonRelease, Middle(broken + 1, 1, 1));
    EXPECT_EQ(DocumentBytes::Of(Paragraphs()), before);
}

TEST_F(TermDragTest, APressWhileAKernelRequestRunsStartsNoDrag)
{
    const int p = Formula("2x+3=7");
    Select(p, 4, 5);
    const pid_t kernel = MLProcessId(link.Link());
    ASSERT_GT(kernel, 0);
    // Selecting a formula asks the kernel for its choices; the press comes
    // while that request waits (the kernel stopped for the while).
    bool pressed = false;
    bool dragged = false;
    PausedProcess paused(kernel);
    auto press = questions.OnYield([&] {
        if (pressed)
            return;
        pressed = true;
        Mouse(QEvent::MouseButtonPress, Middle(p, 4, 4));
        dragged = Drag() != nullptr;
        Mouse(QEvent::MouseButtonRelease, Middle(p, 4, 4));
        paused.Resume();
    });
    ASSERT_TRUE(paused.Stopped());
    Select(p, 4, 5);
    EXPECT_TRUE(pressed) << "selecting the formula asked the kernel nothing";
    EXPECT_FALSE(dragged);
    EXPECT_EQ(view->GetTracker(), nullptr);
}

TEST_F(TermDragTest, AnEquationDroppedOnAnotherFormulaSubstitutesOrOffersItsChoices)
{
    const int equation = Formula("y=2x");
    const int target = Formula("y+3");
    const int other = Formula("y+x=5");
    // The left side pressed and dropped on the other formula's letter.
    EXPECT_EQ(Hold(equation, 1, 1, LeftOf(target, 1)), "Substitute for y");
    Mouse(QEvent::MouseButtonRelease, LeftOf(target, 1));
    EXPECT_EQ(FormulaOf(target + 1), "VXPlus[VXTimes[2, x], 3]");
    Command(kUndo);
    // Onto an equation at its "=": three meanings, offered in a menu at the release.
    EXPECT_EQ(Hold(equation, 1, 4, LeftOf(other, 4)), "Substitute for y...");
    EXPECT_EQ(Drag()->Choices().size(), 3u);
    std::vector<std::string> offered;
    // The choice is made in the menu's loop; without a menu, never (the
    // timer goes with the test's scope).
    QObject scope;
    QTimer::singleShot(0, &scope, [&] { offered = ChooseFromPopup("Subtract the equation"); });
    Mouse(QEvent::MouseButtonRelease, LeftOf(other, 4));
    EXPECT_EQ(offered, (std::vector<std::string>{"Substitute for y", "Add the equations", "Subtract the equation"}));
    ASSERT_EQ(Paragraphs().GetCount(), other + 1);
    EXPECT_EQ(FormulaOf(other + 1), "VXInequality[VXPlus[y, x, VXTimes[-1, y]], Equal, VXPlus[5, VXTimes[-2, x]]]");
}

TEST_F(TermDragTest, AKernelThatDiesDuringADragEndsItCleanly)
{
    const int p = Formula("2x+3=7");
    const std::vector<uint8_t> before = DocumentBytes::Of(Paragraphs());
    // The kernel is killed while the preview waits for its answer (stopped
    // first, so that the preview has to wait).
    const pid_t kernel = MLProcessId(link.Link());
    ASSERT_GT(kernel, 0);
    Select(p, 4, 5);
    Mouse(QEvent::MouseButtonPress, Middle(p, 4, 4));
    Mouse(QEvent::MouseMove, LeftOf(p, 6));
    PausedProcess paused(kernel);
    ASSERT_TRUE(paused.Stopped());
    auto killAtTheWait = questions.OnYield([&] { ::kill(kernel, SIGKILL); });
    Tick();
    ASSERT_NE(Drag(), nullptr);
    EXPECT_TRUE(Drag()->IsCancelled());
    Mouse(QEvent::MouseMove, LeftOf(p, 1));
    Mouse(QEvent::MouseButtonRelease, LeftOf(p, 6));
    EXPECT_EQ(view->GetTracker(), nullptr);
    EXPECT_EQ(DocumentBytes::Of(Paragraphs()), before);
    EXPECT_FALSE(link.IsReady());
}

TEST_F(TermDragTest, AReleaseDuringAPreviewWaitsForItAndTheNewestPlaceCounts)
{
    const int p = Formula("a+b+c=d");
    Select(p, 5, 6);
    Mouse(QEvent::MouseButtonPress, Middle(p, 5, 5));
    ASSERT_NE(Drag(), nullptr);
    Mouse(QEvent::MouseMove, LeftOf(p, 1));
    // While the first preview waits for the kernel (stopped for the while)
    // the mouse moves on and is released: the release is handled after the
    // preview, at its place.
    const pid_t kernel = MLProcessId(link.Link());
    ASSERT_GT(kernel, 0);
    PausedProcess paused(kernel);
    auto release = questions.OnYield([&] {
        Mouse(QEvent::MouseMove, LeftOf(p, 7));
        Mouse(QEvent::MouseButtonRelease, LeftOf(p, 7));
        EXPECT_NE(view->GetTracker(), nullptr);
        paused.Resume();
    });
    ASSERT_TRUE(paused.Stopped());
    Tick();
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (view->GetTracker() && std::chrono::steady_clock::now() < deadline)
        ProcessEvents();
    EXPECT_EQ(view->GetTracker(), nullptr);
    ASSERT_EQ(Paragraphs().GetCount(), p + 1);
    EXPECT_EQ(FormulaOf(p + 1), "VXInequality[VXPlus[a, b], Equal, VXPlus[d, VXTimes[-1, c]]]");
}

TEST_F(TermDragTest, ASelectedPartIsCalculatedInItsPlace)
{
    const int p = Formula("2(x+x)=8");
    // Selecting "x+x" offers the part's calculations; the first replaces it.
    Select(p, 3, 6);
    ChoiceMenu* menu = view->GetChoiceMenu();
    ASSERT_NE(menu, nullptr);
    ASSERT_FALSE(menu->Alternatives().empty());
    EXPECT_EQ(menu->Alternatives().front().mode, 8);
    EXPECT_EQ(ui.LastStatus(), menu->Alternatives().front().label + "...");
    const std::vector<uint8_t> before = DocumentBytes::Of(Paragraphs());
    view->OnChar(10, 1, 0); // line feed: the first alternative with its own placement
    EXPECT_EQ(Paragraphs().GetCount(), p);
    EXPECT_EQ(FormulaOf(p), "VXInequality[VXTimes[2, VXTimes[2, x]], Equal, 8]");
    const std::vector<uint8_t> done = DocumentBytes::Of(Paragraphs());
    Command(kUndo);
    EXPECT_EQ(DocumentBytes::Of(Paragraphs()), before);
    Command(kUndo);
    EXPECT_EQ(DocumentBytes::Of(Paragraphs()), done);
}

TEST_F(TermDragTest, ASelectionInAFormulaThatDoesNotParseSaysSoAndOffersNothing)
{
    const int p = Formula("2+=");
    Select(p, 1, 2);
    EXPECT_EQ(ui.LastStatus(), "Syntax Error");
    EXPECT_EQ(view->GetChoiceMenu(), nullptr);
    // Nor is it dragged: the press finds nothing to move.
    EXPECT_EQ(Hold(p, 1, 1, LeftOf(p, 3)), "Syntax Error");
    Mouse(QEvent::MouseButtonRelease, LeftOf(p, 3));
    EXPECT_EQ(Paragraphs().GetCount(), p);
}
