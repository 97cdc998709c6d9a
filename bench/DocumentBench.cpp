// The document class on a generated document of 3,500 paragraphs of mixed
// styles (about 600 characters each): saving it to a file and opening it
// again through CCorvellDoc, and typing one character through TTypingAction
// performed by an ActionHost at the first, middle and last paragraph,
// including the re-layout from the typed paragraph. Also saving a document
// whose one drawing holds 5,000 vertices, each labelled with its coordinates
// (two value displays a vertex), and opening such documents of 5,000, 10,000
// and 20,000 vertices.
#include "app/CCorvellDoc.h"
#include "drawing/DiagramComp.h"
#include "drawing/DrawingComponents.h"
#include "drawing/VertexShape.h"
#include "foundation/ActionHost.h"
#include "foundation/ActionView.h"
#include "foundation/CompList.h"
#include "foundation/ComponentFactory.h"
#include "foundation/DrawContext.h"
#include "foundation/FontManager.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"
#include "foundation/StyleTable.h"
#include "foundation/TTypingAction.h"
#include "foundation/TextLayoutItemMaker.h"
#include "foundation/TextPrefs.h"
#include "platform/draw/ImageDC.h"

#include <QApplication>
#include <QImage>
#include <QTemporaryDir>

#include "BenchDocumentText.h"
#include "BenchScreen.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <random>
#include <string>

namespace {

using benchdoc::kParagraphs;
using benchdoc::StyleOf;

// The view's part in an edit: it keeps the selection and lays the document
// out again from where the action changed it.
class BenchView : public ActionView {
public:
    explicit BenchView(ParagraphList& list) : paragraphs(list) {}
    DocSelection GetSelection() const override { return selection; }
    void SetSelection(const DocSelection& s, bool) override { selection = s; }
    void ScrollToShow(const DocSelection&) override {}
    void UpdateLayoutFrom(int paragraph, int index) override { paragraphs.UpdateLayoutFrom(paragraph, index); }
    void SetDocumentModified() override {}
    void InvalidateSelection(const DocSelection&) override {}
    void ShowSelection(const DocSelection& s) override { selection = s; }
    ParagraphList* GetParagraphList() const override { return &paragraphs; }

    ParagraphList& paragraphs;
    DocSelection selection;
};

struct World {
    World() : image(1000, 900, QImage::Format_RGB32), dc((SetImageDpi(image, 96), image))
    {
        InstallTextLayout();
        RegisterComponentClasses();
        gDrawContext.BeginDrawOnDC(&screen, &dc);
        doc = NewDocument();
        ParagraphList* list = doc->GetParagraphList();
        benchdoc::FillDocument(*list, fonts);
        list->RelayoutAll(false);
        path = folder.filePath("bench.vxm").toStdString();
    }

    static std::unique_ptr<CCorvellDoc> NewDocument()
    {
        auto made = std::make_unique<CCorvellDoc>();
        made->m_bAutoDelete = FALSE;
        made->SetTitle("Bench");
        made->OnNewDocument();
        return made;
    }

    TextPrefs prefs;
    FontManager fonts{prefs};
    BenchScreen screen;
    QImage image;
    CImageDC dc;
    QTemporaryDir folder;
    std::unique_ptr<CCorvellDoc> doc;
    std::string path;
};

World& TheWorld()
{
    static World world;
    return world;
}

void BM_Save(benchmark::State& state)
{
    World& world = TheWorld();
    for (auto _ : state)
        if (!world.doc->OnSaveDocument(world.path.c_str()))
            state.SkipWithError("the save failed");
    state.counters["bytes"] = double(std::filesystem::file_size(world.path));
}
BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond);

constexpr int kLabelledVertices = 5000;

std::unique_ptr<CCorvellDoc> LabelledDrawingDocument(int vertices = kLabelledVertices)
{
    RegisterDrawingComponents();
    std::unique_ptr<CCorvellDoc> doc = World::NewDocument();
    auto* drawing = new DiagramComp;
    for (int i = 0; i < vertices; ++i) {
        auto* vertex = new VertexShape(i % 100, i / 100);
        drawing->AddShape(vertex);
        drawing->AddLabel(vertex->MakeLabel(drawing));
    }
    doc->GetParagraphList()->GetAt(1)->GetRow()->Append(drawing);
    return doc;
}

void BM_SaveLabelledDrawing(benchmark::State& state)
{
    World& world = TheWorld();
    static const std::unique_ptr<CCorvellDoc> doc = LabelledDrawingDocument();
    const std::string path = world.folder.filePath("drawing.vxm").toStdString();
    for (auto _ : state)
        if (!doc->OnSaveDocument(path.c_str()))
            state.SkipWithError("the save failed");
    state.counters["bytes"] = double(std::filesystem::file_size(path));
}
BENCHMARK(BM_SaveLabelledDrawing)->Unit(benchmark::kMillisecond);

// Opening the document of one drawing of that many labelled vertices: the
// time should grow in proportion to the vertices.
void BM_OpenLabelledDrawing(benchmark::State& state)
{
    World& world = TheWorld();
    const int vertices = int(state.range(0));
    const std::string path = world.folder.filePath(QString("drawing-%1.vxm").arg(vertices)).toStdString();
    if (!LabelledDrawingDocument(vertices)->OnSaveDocument(path.c_str()))
        state.SkipWithError("the save failed");
    for (auto _ : state) {
        auto opened = std::make_unique<CCorvellDoc>();
        opened->m_bAutoDelete = FALSE;
        if (!opened->OnOpenDocument(path.c_str()))
            state.SkipWithError("the open failed");
    }
    state.counters["vertices"] = vertices;
}
BENCHMARK(BM_OpenLabelledDrawing)->Arg(5000)->Arg(10000)->Arg(20000)->Unit(benchmark::kMillisecond);

// Opening into a fresh document, as the framework does (without the layout).
void BM_Open(benchmark::State& state)
{
    World& world = TheWorld();
    world.doc->OnSaveDocument(world.path.c_str());
    int count = 0;
    for (auto _ : state) {
        auto opened = std::make_unique<CCorvellDoc>();
        opened->m_bAutoDelete = FALSE;
        if (!opened->OnOpenDocument(world.path.c_str()))
            state.SkipWithError("the open failed");
        count = opened->GetParagraphList()->GetCount();
    }
    state.counters["paragraphs"] = count;
}
BENCHMARK(BM_Open)->Unit(benchmark::kMillisecond);

// Opening and laying out the whole document.
void BM_OpenAndLayOut(benchmark::State& state)
{
    World& world = TheWorld();
    world.doc->OnSaveDocument(world.path.c_str());
    for (auto _ : state) {
        auto opened = std::make_unique<CCorvellDoc>();
        opened->m_bAutoDelete = FALSE;
        opened->OnOpenDocument(world.path.c_str());
        opened->GetParagraphList()->RelayoutAll(false);
    }
}
BENCHMARK(BM_OpenAndLayOut)->Unit(benchmark::kMillisecond);

// One character typed in the middle of a paragraph by a new typing action
// (the host keeps it and drops the one before); the undo that takes it out
// again is not timed.
void TypeAt(benchmark::State& state, int index)
{
    World& world = TheWorld();
    ParagraphList& list = *world.doc->GetParagraphList();
    BenchView view(list);
    ActionHost host(view);
    CompList* row = list.GetAt(index)->GetRow();
    const int at = row->GetCount() / 2;
    for (auto _ : state) {
        view.selection = DocSelection(DocPosition(row, at), DocPosition(row, at));
        host.Perform(new TTypingAction(view.selection));
        host.Type('e');
        state.PauseTiming();
        host.UndoOrRedo();
        state.ResumeTiming();
    }
    state.counters["chars"] = row->GetCount();
}

void BM_TypeFirst(benchmark::State& state) { TypeAt(state, 1); }
void BM_TypeMiddle(benchmark::State& state) { TypeAt(state, kParagraphs / 2); }
void BM_TypeLast(benchmark::State& state) { TypeAt(state, kParagraphs); }
BENCHMARK(BM_TypeFirst)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TypeMiddle)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TypeLast)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    return benchdoc::RunBenchmarks<QApplication>(argc, argv);
}
