// The HTML export of the generated 3,500-paragraph document, its equation
// paragraphs holding a fraction each, so that every one of them becomes a
// PNG picture: the page and all pictures written into a folder, as the
// File/Export/HTML command does, once over the pictures of the export
// before and once into a new folder.
#include "export/HtmlExport.h"
#include "foundation/CompList.h"
#include "foundation/ComponentFactory.h"
#include "foundation/DrawContext.h"
#include "foundation/FontManager.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"
#include "foundation/TextLayoutItemMaker.h"
#include "foundation/TextPrefs.h"
#include "math/FractionComp.h"
#include "platform/draw/ImageDC.h"

#include <QImage>
#include <QTemporaryDir>

#include "BenchDocumentText.h"
#include "BenchScreen.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

namespace {

struct World {
    World() : image(1000, 900, QImage::Format_RGB32), dc((SetImageDpi(image, 96), image)), list(nullptr)
    {
        InstallTextLayout();
        RegisterComponentClasses();
        gDrawContext.BeginDrawOnDC(&screen, &dc);
        benchdoc::FillDocument(list, fonts);
        for (int i = 1; i <= list.GetCount(); ++i)
            if (int style = list.GetAt(i)->GetStyleKind(); style == 5 || style == 6)
                MakeFormula(*list.GetAt(i)->GetRow());
        list.RelayoutAll(false);
    }

    // y = (x + 1) / 2 in the mathematics face.
    void MakeFormula(CompList& row)
    {
        row.RemoveFrom(1);
        FontFace* math = fonts.GetFace(FontId::kMath);
        auto chars = [math](const char* text) {
            auto array = std::make_unique<CompArray>();
            for (; *text; ++text)
                array->Append(math->GetCharacter(static_cast<unsigned char>(*text)));
            return array;
        };
        row.InsertAllAt(chars("y="), 1);
        auto fraction = std::make_unique<CompArray>();
        fraction->Append(new FractionComp(chars("x+1"), chars("2")));
        row.InsertAllAt(std::move(fraction), row.GetCount() + 1);
    }

    TextPrefs prefs;
    FontManager fonts{prefs};
    BenchScreen screen;
    QImage image;
    CImageDC dc;
    ParagraphList list;
    QTemporaryDir folder;
};

World& TheWorld()
{
    static World world;
    return world;
}

void BM_ExportHtml(benchmark::State& state)
{
    World& world = TheWorld();
    HtmlExportSettings settings;
    settings.path = world.folder.filePath("bench.htm").toStdString();
    settings.title = "Bench";
    settings.firstCellWidth = 600;
    settings.secondCellWidth = 100;
    HtmlExportResult result;
    for (auto _ : state) {
        result = WriteHtmlExport(world.list, settings);
        if (!result.ok)
            state.SkipWithError(result.message.c_str());
    }
    state.counters["paragraphs"] = world.list.GetCount();
    state.counters["pictures"] = result.pictureCount;
    state.counters["bytes"] = double(std::filesystem::file_size(settings.path));
}
BENCHMARK(BM_ExportHtml)->Unit(benchmark::kMillisecond);

// The same into a new folder each time: no earlier pictures to replace.
void BM_ExportHtmlIntoNewFolder(benchmark::State& state)
{
    World& world = TheWorld();
    HtmlExportSettings settings;
    settings.title = "Bench";
    settings.firstCellWidth = 600;
    settings.secondCellWidth = 100;
    int run = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const std::string folder = world.folder.filePath(QString("new%1").arg(++run)).toStdString();
        std::filesystem::create_directories(folder);
        settings.path = folder + "/bench.htm";
        state.ResumeTiming();
        HtmlExportResult result = WriteHtmlExport(world.list, settings);
        if (!result.ok)
            state.SkipWithError(result.message.c_str());
        state.PauseTiming();
        std::filesystem::remove_all(folder);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ExportHtmlIntoNewFolder)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return benchdoc::RunBenchmarks(argc, argv);
}
