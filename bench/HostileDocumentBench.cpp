// Small hostile files and long selections. Opening each "hostile-*" file of
// the document fuzz corpus as the editor does (read, laid out and painted on
// a screen-sized image, paginated and every page printed), as the document
// fuzz target does; and extending a selection by one character with
// Shift+Left and Shift+Right in the real document view, until the view's
// backing image has been repainted: over the whole of the typing benchmark's
// document (the caret's paragraph to the end) and over a paragraph of 30,000
// words (start to end).
#include "app/CCorvellView.h"
#include "foundation/CompList.h"
#include "foundation/DocClipboard.h"
#include "foundation/FontManager.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"
#include "foundation/TextPrefs.h"
#include "platform/framework/CMDIChildWnd.h"
#include "platform/framework/KeyTranslation.h"
#include "resources/ProgramResources.h"
#include "tests/foundation/fuzz/DocumentFuzzEntry.h"

#include <QApplication>

#include "BenchDocumentText.h"
#include "BenchViewApp.h"

#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

const std::string kCorpus = QV_SOURCE_DIR "/tests/foundation/fuzz/document-corpus/";
const char* const kLongParagraph = "hostile-long-paragraph.vxm";

std::vector<uint8_t> CorpusFile(const std::string& name)
{
    std::ifstream in(kCorpus + name, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

using benchdoc::BenchApp;
using benchdoc::Settle;

struct World {
    World()
    {
        RegisterProgramResources();
        documentfuzz::RegisterReaders();
        app.InitInstance();
        app.OnFileNew();
        Settle();
        typing = ActiveView();
        if (typing) {
            benchdoc::FillDocument(*typing->GetParagraphList(), fonts);
            typing->OnInitialUpdate();
        }
        app.OpenDocumentFile((kCorpus + kLongParagraph).c_str());
        Settle();
        longParagraph = ActiveView();
    }

    CCorvellView* ActiveView() const
    {
        CMDIChildWnd* child = app.frame->MDIGetActive();
        return child ? dynamic_cast<CCorvellView*>(child->GetActiveView()) : nullptr;
    }

    TextPrefs prefs;
    FontManager fonts{prefs};
    DocClipboard clipboard;
    BenchApp app;
    CCorvellView* typing = nullptr;
    CCorvellView* longParagraph = nullptr;
};

// Made once and kept to the end of the process: its windows must not
// outlive the application object, which goes first.
World& TheWorld()
{
    static World* world = new World;
    return *world;
}

void Key(CCorvellView* view, UINT vk, Qt::KeyboardModifiers modifiers)
{
    SetCurrentKeyModifiers(modifiers);
    view->OnKeyDown(vk, 1, 0);
    SetCurrentKeyModifiers(Qt::NoModifier);
    view->drawingWidget()->repaint();
}

void BM_OpenHostileFile(benchmark::State& state, const char* name)
{
    TheWorld();  // fonts, styles and component classes
    const std::vector<uint8_t> bytes = CorpusFile(name);
    bool refused = false;
    for (auto _ : state) {
        CCorvellDoc doc;
        doc.m_bAutoDelete = FALSE;
        try {
            documentfuzz::ReadDocument(bytes, doc);
        } catch (const CFormatException&) {
            refused = true;
            continue;
        }
        documentfuzz::ShowOnScreen(doc);
        documentfuzz::Print(doc);
    }
    state.counters["bytes"] = double(bytes.size());
    state.counters["refused"] = refused ? 1 : 0;
}

// Selects from the start of paragraph index to the end of the document
// (Ctrl+Shift+End), then times one-character extensions of that selection.
void ExtendSelection(benchmark::State& state, CCorvellView* view, int index)
{
    if (!view) {
        state.SkipWithError("no document view");
        return;
    }
    CompList* row = view->GetParagraphList()->GetAt(index)->GetRow();
    DocPosition start(row, 1);
    view->SetSelection(DocSelection(start, start), true);
    Key(view, VK_END, Qt::ShiftModifier | Qt::ControlModifier);
    bool shrink = true;
    for (auto _ : state) {
        Key(view, shrink ? VK_LEFT : VK_RIGHT, Qt::ShiftModifier);
        shrink = !shrink;
    }
    state.counters["chars"] = row->GetCount();
}

void BM_SelectToEndOfLongParagraph(benchmark::State& state)
{
    CCorvellView* view = TheWorld().longParagraph;
    if (!view) {
        state.SkipWithError("no document view");
        return;
    }
    DocPosition start(view->GetParagraphList()->GetAt(1)->GetRow(), 1);
    for (auto _ : state) {
        view->SetSelection(DocSelection(start, start), true);
        Key(view, VK_END, Qt::ShiftModifier | Qt::ControlModifier);
    }
}

void BM_ExtendSelectionInTypingDocument(benchmark::State& state)
{
    ExtendSelection(state, TheWorld().typing, benchdoc::kParagraphs / 2);
}

void BM_ExtendSelectionInLongParagraph(benchmark::State& state)
{
    ExtendSelection(state, TheWorld().longParagraph, 1);
}

BENCHMARK_CAPTURE(BM_OpenHostileFile, grid_padding, "hostile-grid-padding.vxm")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_OpenHostileFile, grid_full, "hostile-grid-full.vxm")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_OpenHostileFile, picture_size, "hostile-picture-size.vxm")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_OpenHostileFile, picture_limit, "hostile-picture-limit.vxm")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_OpenHostileFile, nested_fractions, "hostile-nested-fractions.vxm")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_OpenHostileFile, nested_exponents, "hostile-nested-exponents.vxm")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_OpenHostileFile, long_paragraph, "hostile-long-paragraph.vxm")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SelectToEndOfLongParagraph)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExtendSelectionInTypingDocument)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ExtendSelectionInLongParagraph)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    return benchdoc::RunBenchmarks<QApplication>(argc, argv);
}
