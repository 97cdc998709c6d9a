// The XHTML export of the generated document of 3,500 paragraphs of mixed
// styles (about 600 characters each, its equations as MathML): both passes
// of the export into a file, as the export command runs them.
#include "export/XhtmlExport.h"
#include "foundation/DrawContext.h"
#include "foundation/FontManager.h"
#include "foundation/ParagraphList.h"
#include "foundation/RowNodeBuilder.h"
#include "foundation/StyleTable.h"
#include "foundation/TextLayoutItemMaker.h"
#include "foundation/TextPrefs.h"
#include "kernel/KernelRowBuilder.h"
#include "math/MathComponents.h"
#include "platform/draw/ImageDC.h"

#include <QImage>
#include <QTemporaryDir>

#include "BenchDocumentText.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

namespace {

struct World {
    World() : image(1000, 900, QImage::Format_RGB32), dc((SetImageDpi(image, 96), image))
    {
        InstallTextLayout();
        RegisterMathComponents();
        RowNodeBuilder::Install(&KernelRowBuilder::Instance());
        gDrawContext.BeginDrawOnDC(nullptr, &dc);
        benchdoc::FillDocument(list, fonts);
        list.RelayoutAll(false);
        path = folder.filePath("bench.xhtml").toStdString();
    }

    QImage image;
    CImageDC dc;
    TextPrefs prefs;
    FontManager fonts{prefs};
    ParagraphList list;
    QTemporaryDir folder;
    std::string path;
};

World& TheWorld()
{
    static World world;
    return world;
}

void BM_ExportXhtml(benchmark::State& state)
{
    World& world = TheWorld();
    for (auto _ : state) {
        const XhtmlExportResult result = WriteXhtmlExport(world.list, world.path, "Bench", true);
        if (!result.ok)
            state.SkipWithError(result.message.c_str());
    }
    state.counters["bytes"] = double(std::filesystem::file_size(world.path));
}
BENCHMARK(BM_ExportXhtml)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

int main(int argc, char** argv)
{
    return benchdoc::RunBenchmarks(argc, argv);
}
