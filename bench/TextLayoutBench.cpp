// Text layout on a generated document of 3,500 paragraphs of mixed styles
// (about 600 characters each; every fifth holds a formula with a fraction, a
// script and an integral in its middle): full layout of the text alone and
// of the text with the formulas, against Qt's QTextDocument laying out the
// same text (without the formulas); typing one character at the first,
// middle and last paragraph (relayout and repaint of the visible screen);
// and writing, reading and laying out the document up to its first paint.
#include "foundation/CompList.h"
#include "foundation/ComponentFactory.h"
#include "foundation/CountingStream.h"
#include "foundation/DocReader.h"
#include "foundation/DocWriter.h"
#include "foundation/DocumentModel.h"
#include "foundation/DrawContext.h"
#include "foundation/DrawTarget.h"
#include "foundation/FontManager.h"
#include "foundation/MemoryStream.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"
#include "foundation/StyleTable.h"
#include "foundation/TextLayoutItemMaker.h"
#include "foundation/TextPrefs.h"
#include "math/CalculusComponents.h"
#include "math/ExponentComp.h"
#include "math/FractionAndDelimiterComponents.h"
#include "math/FractionComp.h"
#include "math/IntegralComp.h"
#include "platform/draw/ImageDC.h"

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QTextDocument>

#include "BenchDocumentText.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

using benchdoc::kParagraphs;
using benchdoc::MakeTexts;
using benchdoc::StyleOf;
constexpr int kScreenHeight = 900;

class BenchDocument : public DocumentModel {
public:
    int32_t GetDocId() const override { return 1; }
    void RegisterParagraph(ParagraphComp& paragraph) override { paragraph.SetId(m_next++); }
    void UnregisterParagraph(ParagraphComp& paragraph) override { paragraph.SetId(0); }
    bool LargerEquations() const override { return false; }
    bool NumberPrintedPages() const override { return false; }
    int16_t FirstPageNumber() const override { return 1; }

private:
    int32_t m_next = 1;
};

class Screen : public DrawTarget {
public:
    CDC* CreateTargetDC() override { return nullptr; }
    void PrepareTargetDC(CDC*) override {}
    IntPoint TargetScrollPosition() const override { return scroll; }
    int TargetSizeLevel() const override { return 5; }
    void InvalidateTargetRect(const Rect& rect, bool) override { invalid.push_back(rect); }
    void ShowTargetRect(const Rect&) override {}

    IntPoint scroll;
    std::vector<Rect> invalid;
};

struct World {
    World() : image(1000, kScreenHeight, QImage::Format_RGB32), dc((SetImageDpi(image, 96), image))
    {
        InstallTextLayout();
        RegisterComponentClasses();
        RegisterFractionAndDelimiterComponents();
        RegisterCalculusComponents();
        image.fill(Qt::white);
        gDrawContext.BeginDrawOnDC(&screen, &dc);
        texts = MakeTexts();
    }

    std::unique_ptr<ParagraphList> Build(bool withFormulas = true)
    {
        auto list = std::make_unique<ParagraphList>(&document);
        for (int i = 0; i < kParagraphs; ++i) {
            ParagraphStyle* style = gStyleTable->GetStyle(StyleOf(i));
            FontFace* face = fonts.GetFace(style->GetFontId());
            auto comps = std::make_unique<CompArray>();
            for (char c : texts[size_t(i)])
                comps->Append(face->GetCharacter(static_cast<unsigned char>(c)));
            if (withFormulas && HasFormula(i))
                InsertFormula(*comps, *face, comps->GetCount() / 2);
            list->Append(new ParagraphComp(std::move(comps), StyleOf(i)));
        }
        return list;
    }

    // Paragraphs 5, 10, 15, ...: the middle and the last paragraph, where the
    // typing benchmarks type next to the formula, are among them.
    static bool HasFormula(int i) { return (i + 1) % 5 == 0; }

    // " (a+1)/(2x) x^2 + integral from 0 to 1 of f(x) dx ", after item at.
    static void InsertFormula(CompArray& comps, FontFace& face, int at)
    {
        auto chars = [&](const char* text) {
            auto array = std::make_unique<CompArray>();
            for (const char* c = text; *c; ++c)
                array->Append(face.GetCharacter(static_cast<unsigned char>(*c)));
            return array;
        };
        TextComp* formula[] = {
            face.GetCharacter(' '),
            new FractionComp(chars("a+1"), chars("2x")),
            face.GetCharacter('x'),
            new ExponentComp(chars("2")),
            face.GetCharacter('+'),
            new IntegralComp(chars("f(x)"), chars("x"), chars("1"), chars("0")),
            face.GetCharacter(' '),
        };
        for (TextComp* comp : formula)
            comps.InsertAt(++at, comp);
    }

    void PaintScreenAt(ParagraphList& list, int top)
    {
        list.PaintRange(Rect(0, top, 1000, top + kScreenHeight));
    }

    TextPrefs prefs;
    FontManager fonts{prefs};
    BenchDocument document;
    Screen screen;
    QImage image;
    CImageDC dc;
    std::vector<std::string> texts;
};

World& TheWorld()
{
    static World world;
    return world;
}

ParagraphList& LaidOutDocument()
{
    static std::unique_ptr<ParagraphList> list = [] {
        auto l = TheWorld().Build();
        l->RelayoutAll(false);
        return l;
    }();
    return *list;
}

// The same document with text only: the same characters as QTextDocument
// lays out.
ParagraphList& LaidOutTextDocument()
{
    static std::unique_ptr<ParagraphList> list = [] {
        auto l = TheWorld().Build(false);
        l->RelayoutAll(false);
        return l;
    }();
    return *list;
}

// Argument 0: text only; 1: with the formulas.
void BM_FullLayout(benchmark::State& state)
{
    ParagraphList& list = state.range(0) ? LaidOutDocument() : LaidOutTextDocument();
    for (auto _ : state)
        list.RelayoutAll(false);
    state.counters["height"] = list.GetHeight();
}
BENCHMARK(BM_FullLayout)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_QTextDocumentLayout(benchmark::State& state)
{
    World& world = TheWorld();
    QTextDocument doc;
    QFont font("Liberation Serif");
    font.setPixelSize(19);
    doc.setDefaultFont(font);
    std::string all;
    for (const std::string& text : world.texts)
        all += text + "\n";
    doc.setPlainText(QString::fromStdString(all));
    const int width = gDrawContext.GetPageWidth() - gDrawContext.GetLeftMargin();
    int flip = 0;
    for (auto _ : state) {
        doc.setTextWidth(width - (flip++ & 1));
        benchmark::DoNotOptimize(doc.size());
    }
    state.counters["height"] = doc.size().height();
}
BENCHMARK(BM_QTextDocumentLayout)->Unit(benchmark::kMillisecond);

// Types one character in the middle of a paragraph (and takes it out again
// on the next iteration), relays out from that paragraph and repaints what
// changed, or the whole visible screen. What changed is painted as a view
// paints it: the invalidated rectangles gather into one update whose box is
// painted once.
void TypeAt(benchmark::State& state, int index, bool wholeScreen)
{
    ParagraphList& list = LaidOutDocument();
    World& world = TheWorld();
    ParagraphComp* p = list.GetAt(index);
    CompList* row = p->GetRow();
    const int at = row->GetCount() / 2;
    CharComp* typed = world.fonts.GetFace(p->GetStyle()->GetFontId())->GetCharacter('e');
    Rect bounds;
    p->GetAbsBounds(bounds);
    const int top = std::max(0, bounds.top - 200);
    bool inserted = false;
    for (auto _ : state) {
        if (inserted)
            row->RemoveAt(at);
        else
            row->InsertAt(typed, at);
        inserted = !inserted;
        world.screen.invalid.clear();
        list.UpdateLayoutFrom(index, at);
        if (wholeScreen) {
            world.PaintScreenAt(list, top);
        } else if (!world.screen.invalid.empty()) {
            Rect box = world.screen.invalid.front();
            for (const Rect& r : world.screen.invalid)
                Rect::Union(box, r, box);
            list.PaintRange(box);
        }
    }
    if (inserted) {
        row->RemoveAt(at);
        list.UpdateLayoutFrom(index, at);
    }
}

void BM_TypeFirst(benchmark::State& state) { TypeAt(state, 1, state.range(0) != 0); }
void BM_TypeMiddle(benchmark::State& state) { TypeAt(state, kParagraphs / 2, state.range(0) != 0); }
void BM_TypeLast(benchmark::State& state) { TypeAt(state, kParagraphs, state.range(0) != 0); }
BENCHMARK(BM_TypeFirst)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TypeMiddle)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TypeLast)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

std::vector<uint8_t> WriteDocument(const ParagraphList& list)
{
    CountingStream counter;
    {
        DocWriter measure(&counter);
        list.Write(measure, false);
    }
    std::vector<uint8_t> bytes(size_t(counter.GetLength()));
    MemoryStream stream(bytes.data(), int32_t(bytes.size()));
    DocWriter writer(&stream);
    list.Write(writer, false);
    return bytes;
}

void BM_Write(benchmark::State& state)
{
    ParagraphList& list = LaidOutDocument();
    size_t size = 0;
    for (auto _ : state)
        size = WriteDocument(list).size();
    state.counters["bytes"] = double(size);
}
BENCHMARK(BM_Write)->Unit(benchmark::kMillisecond);

void BM_Read(benchmark::State& state)
{
    std::vector<uint8_t> bytes = WriteDocument(LaidOutDocument());
    for (auto _ : state) {
        MemoryStream stream(bytes.data(), int32_t(bytes.size()));
        DocReader reader(&stream);
        ParagraphList list(&TheWorld().document);
        list.ReadCounted(reader);
        benchmark::DoNotOptimize(list.GetCount());
    }
}
BENCHMARK(BM_Read)->Unit(benchmark::kMillisecond);

// Opening a document: read it, lay it all out, paint the first screen.
void BM_ReadLayOutAndPaint(benchmark::State& state)
{
    std::vector<uint8_t> bytes = WriteDocument(LaidOutDocument());
    World& world = TheWorld();
    for (auto _ : state) {
        MemoryStream stream(bytes.data(), int32_t(bytes.size()));
        DocReader reader(&stream);
        ParagraphList list(&world.document);
        list.ReadCounted(reader);
        list.RelayoutAll(false);
        world.PaintScreenAt(list, 0);
    }
}
BENCHMARK(BM_ReadLayOutAndPaint)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return benchdoc::RunBenchmarks(argc, argv);
}
