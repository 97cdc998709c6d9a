// Small documents of huge pictures exported to every format: the document
// fuzz corpus's files of pictures at the largest size, read and laid out on
// a screen-sized image once, then each export into a temporary folder as the
// export commands run it.
#include "app/CCorvellDoc.h"
#include "export/HtmlExport.h"
#include "export/LaTeXExport.h"
#include "export/XhtmlExport.h"
#include "foundation/DrawContext.h"
#include "foundation/ParagraphList.h"
#include "platform/draw/ImageDC.h"
#include "tests/foundation/fuzz/DocumentFuzzEntry.h"

#include <QImage>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace {

const std::string kCorpus = QV_SOURCE_DIR "/tests/foundation/fuzz/document-corpus/";

struct World {
    World() : image((documentfuzz::SetUpProcess(), 1000), 900, QImage::Format_RGB32), dc((SetImageDpi(image, 96), image))
    {
        gDrawContext.BeginDrawOnDC(nullptr, &dc);
    }

    // The corpus file read and laid out, kept for the rest of the run.
    CCorvellDoc& Document(const std::string& name)
    {
        auto doc = std::make_unique<CCorvellDoc>();
        doc->m_bAutoDelete = FALSE;
        std::ifstream in(kCorpus + name, std::ios::binary);
        documentfuzz::ReadDocument(
            std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()), *doc);
        doc->GetParagraphList()->RelayoutAll(false);
        documents.push_back(std::move(doc));
        return *documents.back();
    }

    QImage image;
    CImageDC dc;
    std::vector<std::unique_ptr<CCorvellDoc>> documents;
};

World& TheWorld()
{
    static World* world = new World;
    return *world;
}

enum Format { kLaTeX, kTechExplorer, kXhtml, kHtml };

bool Export(ParagraphList& list, Format format, const std::string& folder)
{
    switch (format) {
    case kLaTeX: return ExportLaTeXFile(list, folder + "/page.tex", false).written;
    case kTechExplorer: return ExportLaTeXFile(list, folder + "/page.tcx", true).written;
    case kXhtml: return WriteXhtmlExport(list, folder + "/page.xhtml", "Page", true).ok;
    case kHtml: {
        HtmlExportSettings settings;
        settings.path = folder + "/page.htm";
        settings.title = "Page";
        return WriteHtmlExport(list, settings).ok;
    }
    }
    return false;
}

void BM_ExportHugePictures(benchmark::State& state, const char* name, Format format)
{
    ParagraphList& list = *TheWorld().Document(name).GetParagraphList();
    for (auto _ : state) {
        QTemporaryDir folder;
        if (!Export(list, format, folder.path().toStdString()))
            state.SkipWithError("the export failed");
    }
}

}  // namespace

BENCHMARK_CAPTURE(BM_ExportHugePictures, size_LaTeX, "hostile-picture-size.vxm", kLaTeX)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ExportHugePictures, size_TechExplorer, "hostile-picture-size.vxm", kTechExplorer)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ExportHugePictures, size_XHTML, "hostile-picture-size.vxm", kXhtml)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ExportHugePictures, size_HTML, "hostile-picture-size.vxm", kHtml)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ExportHugePictures, limit_LaTeX, "hostile-picture-limit.vxm", kLaTeX)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ExportHugePictures, limit_TechExplorer, "hostile-picture-limit.vxm", kTechExplorer)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ExportHugePictures, limit_XHTML, "hostile-picture-limit.vxm", kXhtml)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ExportHugePictures, limit_HTML, "hostile-picture-limit.vxm", kHtml)
    ->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
