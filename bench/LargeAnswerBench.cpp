// A long kernel answer through the real document view: Expand[(x+y+z)^n] as
// the kernel sends it (n = 300 gives 45,451 terms, coefficients of up to 142
// digits, up to three powers each), read from the link into nodes, made into
// an answer paragraph and inserted by an action the view performs (layout,
// scrolling and painting included); and the document holding it paginated
// for a printer at 1200 dpi and laid out again for the screen, as printing
// and the print preview do, every page printed to a PDF, and every page
// recorded for the print preview; one key typed in the middle of the answer
// and deleted again, and the deletion undone and redone, each with the
// repaint it asks for; and the whole answer copied as MathML three times.
// Counters: the terms, the components of the answer's row, the pages, the
// memory the step's peak added (MB), and the milliseconds of each key.
#include "app/CCorvellView.h"
#include "app/PageBreakList.h"
#include "export/XhtmlExport.h"
#include "foundation/DocClipboard.h"
#include "foundation/CompList.h"
#include "foundation/ExprNode.h"
#include "foundation/FontManager.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"
#include "foundation/TCopyAsActions.h"
#include "foundation/TextPrefs.h"
#include "kernel/KernelReader.h"
#include "kernel/KernelServices.h"
#include "kernel/TCalculationAction.h"
#include "mathlink/MathLink.h"
#include "mathlink/WireFormat.h"
#include "platform/draw/PrinterDC.h"
#include "platform/framework/CPrintInfo.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QPrinter>
#include <QPrintPreviewWidget>
#include <QTemporaryDir>

#include "BenchDocumentText.h"
#include "BenchViewApp.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <fstream>
#include <functional>
#include <memory>
#include <string>

namespace {

// ---- the answer ----

// The digits of the multinomial coefficient n! / (a! b! c!): as many as the
// real one has (the layout only sees how many).
std::string Coefficient(int n, int a, int b, int c)
{
    const double log10 =
        (std::lgamma(n + 1.0) - std::lgamma(a + 1.0) - std::lgamma(b + 1.0) - std::lgamma(c + 1.0)) / std::log(10.0);
    const int digits = int(std::floor(log10 + 1e-9)) + 1;
    std::string text;
    for (int i = 0; i < digits; ++i)
        text += char('1' + (i * 7 + a) % 9);
    return text;
}

void PutPower(wire::PacketWriter& writer, const char* name, int exponent)
{
    if (exponent > 1) {
        writer.putFunction(2);
        writer.putAtom(wire::kTokenSymbol, "Power");
    }
    writer.putAtom(wire::kTokenSymbol, name);
    if (exponent > 1)
        writer.putAtom(wire::kTokenInteger, std::to_string(exponent));
}

// Plus[Times[coefficient, x^a, y^b, z^c], ...] over every a + b + c = n.
std::string ExpandedCube(int n)
{
    wire::PacketWriter writer;
    writer.putFunction(uint32_t((n + 1) * (n + 2) / 2));
    writer.putAtom(wire::kTokenSymbol, "Plus");
    for (int a = 0; a <= n; ++a)
        for (int b = 0; a + b <= n; ++b) {
            const int c = n - a - b;
            const std::string coefficient = Coefficient(n, a, b, c);
            const int powers = (a > 0) + (b > 0) + (c > 0);
            const bool one = coefficient == "1";
            if (powers + !one > 1) {
                writer.putFunction(uint32_t(powers + !one));
                writer.putAtom(wire::kTokenSymbol, "Times");
            }
            if (!one)
                writer.putAtom(wire::kTokenInteger, coefficient);
            if (a > 0)
                PutPower(writer, "x", a);
            if (b > 0)
                PutPower(writer, "y", b);
            if (c > 0)
                PutPower(writer, "z", c);
        }
    return writer.bytes();
}

// The answer as the kernel link reads it.
ExprNode* ReadAnswer(const std::string& packet)
{
    MLENV env = MLInitialize();
    int error = 0;
    MLINK link = MLLoopbackOpen(env, &error);
    MLLoopbackPutPacket(link, packet.data(), int(packet.size()));
    MLNextPacket(link);
    ExprNode* answer = ReadKernelExpr(link);
    MLClose(link);
    MLDeinitialize(env);
    return answer;
}

// ---- memory ----

long StatusKilobytes(const char* key)
{
    std::ifstream status("/proc/self/status");
    std::string word;
    while (status >> word)
        if (word == key) {
            long kb = 0;
            status >> kb;
            return kb;
        }
    return 0;
}

// The peak of the resident memory from now on, less what is resident now.
class PeakMemory {
public:
    PeakMemory()
    {
        std::ofstream("/proc/self/clear_refs") << "5";
        m_start = StatusKilobytes("VmRSS:");
    }
    double AddedMegabytes() const { return double(StatusKilobytes("VmHWM:") - m_start) / 1024.0; }

private:
    long m_start;
};

// ---- the view ----

// What the code evaluation does once the kernel has answered: the answer
// made into an equation paragraph after the first one, the caret at its end.
class InsertAnswerAction : public TAnswerAction {
public:
    InsertAnswerAction(ParagraphList& list, ExprNode* answer)
        : TAnswerAction(0, list.GetFullSelection()), m_list(list), m_answer(answer)
    {}
    void Do() override
    {
        ParagraphComp* paragraph = AnswerParagraph(m_answer, nullptr);
        if (!InsertAnswer(m_list, paragraph, 2, nullptr, m_list.GetFullSelection()))
            delete paragraph;
    }

private:
    ParagraphList& m_list;
    ExprNode* m_answer;
};

struct World {
    World()
    {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        view = benchdoc::OpenNewDocumentView(app);
        InstallKernelServices();
        InstallCopyWriters();
        QPrinter& printer = AfxGetPrinter();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(folder.filePath("answer.pdf"));
    }

    ParagraphList& Paragraphs() { return *view->GetParagraphList(); }

    // Inserts the answer through the view; answers its row's count.
    int Insert(const std::string& packet)
    {
        view->PerformAction(new InsertAnswerAction(Paragraphs(), ReadAnswer(packet)));
        benchdoc::Settle();
        return Paragraphs().GetCount() > 1 ? Paragraphs().GetAt(2)->GetRow()->GetCount() : 0;
    }

    void Clear()
    {
        while (Paragraphs().GetCount() > 1)
            delete Paragraphs().RemoveAt(Paragraphs().GetCount());
        view->LayOutAll();
        benchdoc::Settle();
    }

    TextPrefs prefs;
    FontManager fonts{prefs};
    DocClipboard clipboard;
    benchdoc::BenchApp app;
    CCorvellView* view = nullptr;
    QTemporaryDir folder;
};

// Made once and kept to the end of the process: its windows must not
// outlive the application object, which goes first.
World& TheWorld()
{
    static World* world = new World;
    return *world;
}

int Terms(int n)
{
    return (n + 1) * (n + 2) / 2;
}

void BM_InsertAnswer(benchmark::State& state)
{
    World& world = TheWorld();
    const int n = int(state.range(0));
    const std::string packet = ExpandedCube(n);
    int comps = 0;
    double added = 0;
    for (auto _ : state) {
        PeakMemory peak;
        comps = world.Insert(packet);
        added = peak.AddedMegabytes();
        state.PauseTiming();
        world.Clear();
        state.ResumeTiming();
    }
    state.counters["terms"] = Terms(n);
    state.counters["comps"] = comps;
    state.counters["peakMB"] = added;
}
BENCHMARK(BM_InsertAnswer)->Arg(80)->Arg(140)->Arg(300)->Iterations(1)->Unit(benchmark::kMillisecond);

// Runs a step on the document holding the answer of exponent n; the step
// answers the pages it made (0: none counted).
void OnAnswer(benchmark::State& state, const std::function<int(World&)>& step)
{
    World& world = TheWorld();
    const int n = int(state.range(0));
    world.Insert(ExpandedCube(n));
    int pages = 0;
    double added = 0;
    for (auto _ : state) {
        PeakMemory peak;
        pages = step(world);
        added = peak.AddedMegabytes();
    }
    world.Clear();
    state.counters["terms"] = Terms(n);
    if (pages > 0)
        state.counters["pages"] = pages;
    state.counters["peakMB"] = added;
}

// One print job on the printer as the print loop runs it: every page
// recorded or printed, or none when pages is false.
int PrintJob(World& world, QPrinter& printer, bool pages)
{
    CPrinterDC dc(printer);
    CPrintInfo info;
    info.m_printer = &printer;
    world.view->OnBeginPrinting(&dc, &info);
    if (pages) {
        dc.StartDoc("answer");
        for (UINT page = 1; page <= info.GetMaxPage(); ++page) {
            info.m_nCurPage = page;
            dc.StartPage();
            world.view->OnPrint(&dc, &info);
            dc.EndPage();
        }
        dc.EndDoc();
    }
    world.view->OnEndPrinting(&dc, &info);
    return int(info.GetMaxPage());
}

// Begin and end of a print job: the pagination at the printer's resolution
// and the layout for the screen again.
void BM_Paginate(benchmark::State& state)
{
    OnAnswer(state, [](World& world) { return PrintJob(world, AfxGetPrinter(), false); });
}
BENCHMARK(BM_Paginate)->Arg(80)->Arg(140)->Arg(300)->Iterations(1)->Unit(benchmark::kMillisecond);

// Every page printed to a PDF.
void BM_PrintAll(benchmark::State& state)
{
    OnAnswer(state, [](World& world) { return PrintJob(world, AfxGetPrinter(), true); });
}
BENCHMARK(BM_PrintAll)->Arg(80)->Arg(300)->Iterations(1)->Unit(benchmark::kMillisecond);

// Every page recorded for the print preview, as the preview's own print job
// does it (the preview keeps every page).
void BM_Preview(benchmark::State& state)
{
    OnAnswer(state, [](World& world) {
        QPrinter printer(QPrinter::HighResolution);
        QPrintPreviewWidget preview(&printer);
        int pages = 0;
        QObject::connect(&preview, &QPrintPreviewWidget::paintRequested,
                         [&](QPrinter* shown) { pages = PrintJob(world, *shown, true); });
        preview.updatePreview();
        return pages;
    });
}
BENCHMARK(BM_Preview)->Arg(80)->Arg(300)->Iterations(1)->Unit(benchmark::kMillisecond);

// The answer's row from its first to its last component.
DocSelection WholeAnswer(World& world)
{
    CompList* row = world.Paragraphs().GetAt(2)->GetRow();
    return DocSelection(DocPosition(row, 1), DocPosition(row, row->GetCount() + 1));
}

// Milliseconds of one step and of the repaint it asks for.
double TimedWithRepaint(const std::function<void()>& step)
{
    QElapsedTimer clock;
    clock.start();
    step();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
    return double(clock.nsecsElapsed()) / 1e6;
}

// A letter typed in the middle of the answer's row, Backspace, its Undo and
// Redo: the row is as before after each round.
void BM_KeyInTheMiddle(benchmark::State& state)
{
    OnAnswer(state, [&state](World& world) {
        CCorvellView& view = *world.view;
        CompList* row = world.Paragraphs().GetAt(2)->GetRow();
        DocPosition middle(row, row->GetCount() / 2);
        view.SetSelection(DocSelection(middle, middle), true);
        view.ScrollToShow(DocSelection(middle, middle));
        benchdoc::Settle();
        state.counters["typeMs"] = TimedWithRepaint([&] { view.OnChar('e', 1, 0); });
        state.counters["backspaceMs"] = TimedWithRepaint([&] { view.OnChar(8, 1, 0); });
        state.counters["undoMs"] = TimedWithRepaint([&] { view.OnCmdMsg(ID_EDIT_UNDO, nullptr); });
        state.counters["redoMs"] = TimedWithRepaint([&] { view.OnCmdMsg(ID_EDIT_UNDO, nullptr); });
        return 0;
    });
}
BENCHMARK(BM_KeyInTheMiddle)->Arg(140)->Arg(300)->Iterations(1)->Unit(benchmark::kMillisecond);

// Edit > Copy as > MathML of the whole answer three times in a row, each
// followed by the idle update in which the toolbar's Paste item asks about
// the clipboard's content; the MathML's size and, after each copy, the
// resident memory the copies have added (MB): it follows what the clipboard
// holds, not how many copies were made.
void BM_CopyAsMathML(benchmark::State& state)
{
    OnAnswer(state, [&state](World& world) {
        const long before = StatusKilobytes("VmRSS:");
        for (int copy = 1; copy <= 3; ++copy) {
            world.view->PerformAction(new TCopyMathMLAction(WholeAnswer(world)));
            world.app.OnIdle(0);
            benchdoc::Settle();
            state.counters["keptMB" + std::to_string(copy)] = double(StatusKilobytes("VmRSS:") - before) / 1024.0;
        }
        state.counters["mathmlMB"] = double(QGuiApplication::clipboard()->text().size()) / 1e6;
        return 0;
    });
}
BENCHMARK(BM_CopyAsMathML)->Arg(140)->Arg(300)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return benchdoc::RunBenchmarks<QApplication>(argc, argv);
}
