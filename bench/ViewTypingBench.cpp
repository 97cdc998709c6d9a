// Typing in the real document view: the generated 3,500-paragraph document
// shown in a CCorvellView inside the main frame, and one character typed (the
// view's character handler, as a key press delivers it) until the view's
// backing image has been repainted, at the first, middle and last paragraph.
// The undo that takes the character out again is not timed.
#include "app/CChildFrame.h"
#include "app/CCorvellDoc.h"
#include "app/CCorvellView.h"
#include "app/CMainFrame.h"
#include "foundation/CompList.h"
#include "foundation/ComponentFactory.h"
#include "foundation/DocClipboard.h"
#include "foundation/FontFace.h"
#include "foundation/FontManager.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"
#include "foundation/ParagraphStyle.h"
#include "foundation/TextLayoutItemMaker.h"
#include "foundation/TextPrefs.h"
#include "platform/framework/CDocTemplate.h"
#include "platform/framework/CMDIChildWnd.h"
#include "platform/framework/CWinApp.h"
#include "resources/ProgramResources.h"

#include <QApplication>
#include <QWidget>

#include "BenchDocumentText.h"
#include "BenchViewApp.h"
#include "math/MathComponents.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using benchdoc::kParagraphs;
using benchdoc::StyleOf;

using benchdoc::BenchApp;
using benchdoc::Settle;

struct World {
    World()
    {
        view = benchdoc::OpenNewDocumentView(app);
        if (!view)
            return;
        ParagraphList* list = view->GetParagraphList();
        benchdoc::FillDocument(*list, fonts);
        view->OnInitialUpdate();
        Settle();
    }

    TextPrefs prefs;
    FontManager fonts{prefs};
    DocClipboard clipboard;
    BenchApp app;
    CCorvellView* view = nullptr;
};

// Made once and kept to the end of the process: its windows must not
// outlive the application object, which goes first.
World& TheWorld()
{
    static World* world = new World;
    return *world;
}

// Paints what the view invalidated, as the editor's window does when its
// update request arrives: a repaint of the whole widget would time a copy of
// the whole window besides.
void Repaint(CCorvellView*)
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
}

// The caret in the middle of a paragraph, scrolled into sight and drawn.
void PutCaret(CCorvellView* view, int index)
{
    CompList* row = view->GetParagraphList()->GetAt(index)->GetRow();
    DocPosition at(row, row->GetCount() / 2);
    DocSelection caret(at, at);
    view->SetSelection(caret, true);
    view->ScrollToShow(caret);
    Repaint(view);
}

void TypeAt(benchmark::State& state, int index)
{
    CCorvellView* view = TheWorld().view;
    if (!view) {
        state.SkipWithError("no document view");
        return;
    }
    PutCaret(view, index);
    for (auto _ : state) {
        view->OnChar('e', 1, 0);
        Repaint(view);
        state.PauseTiming();
        view->OnCmdMsg(ID_EDIT_UNDO, nullptr);
        Repaint(view);
        state.ResumeTiming();
    }
    state.counters["chars"] = view->GetParagraphList()->GetAt(index)->GetRow()->GetCount();
}

// Characters after the first extend the typing action already kept.
void TypeRunAt(benchmark::State& state, int index)
{
    CCorvellView* view = TheWorld().view;
    if (!view) {
        state.SkipWithError("no document view");
        return;
    }
    PutCaret(view, index);
    view->OnChar('e', 1, 0);
    Repaint(view);
    int typed = 1;
    for (auto _ : state) {
        view->OnChar('e', 1, 0);
        Repaint(view);
        if (++typed == 200) {
            state.PauseTiming();
            view->OnCmdMsg(ID_EDIT_UNDO, nullptr);
            PutCaret(view, index);
            view->OnChar('e', 1, 0);
            Repaint(view);
            typed = 1;
            state.ResumeTiming();
        }
    }
    view->OnCmdMsg(ID_EDIT_UNDO, nullptr);
}

void BM_ViewTypeFirst(benchmark::State& state) { TypeAt(state, 1); }
void BM_ViewTypeMiddle(benchmark::State& state) { TypeAt(state, kParagraphs / 2); }
void BM_ViewTypeLast(benchmark::State& state) { TypeAt(state, kParagraphs); }
void BM_ViewTypeRunMiddle(benchmark::State& state) { TypeRunAt(state, kParagraphs / 2); }
BENCHMARK(BM_ViewTypeFirst)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ViewTypeMiddle)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ViewTypeLast)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ViewTypeRunMiddle)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    return benchdoc::RunBenchmarks<QApplication>(argc, argv);
}
