// The XHTML form of a plot standing alone in its paragraph.
#include "foundation/Rect.h"
#include "kernel/MathMLOutput.h"
#include "math/ExportElementWriters.h"
#include "plot/PlotComp.h"

#include <memory>

namespace {

void OpenWith(MathMLOutput& output, const char* name, const char* attribute, const char* value)
{
    output.StartElement(name, true);
    output.WriteAttribute(attribute, value);
    output.EndPendingTag(true);
}

struct PictureDeleter {
    void operator()(EnhMetafile* picture) const { DeleteEnhMetaFile(picture); }
};

} // namespace

void PlotComp::WriteXhtml(XMLWriter& writer)
{
    auto* output = dynamic_cast<MathMLOutput*>(&writer);
    auto* images = dynamic_cast<XhtmlElementWriter*>(&writer);
    if (!output || !images)
        return;
    output->StartElement("table", true);
    output->WriteAttribute("class", "picture");
    output->WriteAttribute("border", "2");
    output->EndPendingTag(true);
    OpenWith(*output, "tr", "align", "center");
    output->Open("td");
    std::unique_ptr<EnhMetafile, PictureDeleter> picture(CopyPicture());
    images->WriteEquationImage(picture.get(), Rect(0, 0, m_pictureWidth, m_pictureHeight));
    output->Close("td");
    output->Close("tr");
    for (CompList* line : m_lines) {
        OpenWith(*output, "tr", "align", "center");
        output->Open("td");
        writer.WriteMathBlock(*line);
        output->Close("td");
        output->Close("tr");
    }
    output->Close("table");
}
