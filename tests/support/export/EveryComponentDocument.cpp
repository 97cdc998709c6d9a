#include "support/export/EveryComponentDocument.h"

#include "drawing/DiagramComp.h"
#include "drawing/DrawingComponents.h"
#include "foundation/CharComp.h"
#include "foundation/CompList.h"
#include "foundation/ComponentFactory.h"
#include "foundation/DocReader.h"
#include "foundation/DrawContext.h"
#include "foundation/ExprNode.h"
#include "foundation/FontFace.h"
#include "foundation/FontIds.h"
#include "foundation/MemoryStream.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"
#include "foundation/Rect.h"
#include "foundation/RowNodeBuilder.h"
#include "foundation/TextLayoutItemMaker.h"
#include "kernel/KernelRowBuilder.h"
#include "math/HyperlinkComp.h"
#include "math/MathComponents.h"
#include "math/PictureComp.h"
#include "platform/draw/ImageDC.h"
#include "plot/PlotComponents.h"
#include "plot/ThreeDPlotComp.h"
#include "support/kernel/NodeWireText.h"

#include <QImage>

#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <stdexcept>

namespace {

constexpr int kPageWidth = 816;
constexpr int kPageHeight = 1056;

std::vector<uint8_t> ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A paragraph of the style holding the text in the face.
ParagraphComp* TextParagraph(FontManager& fonts, int style, const std::string& text, int fontId)
{
    auto* paragraph = new ParagraphComp(style);
    FontFace* face = fonts.GetFace(fontId);
    for (unsigned char c : text)
        paragraph->GetRow()->Append(face->GetCharacter(c));
    return paragraph;
}

void AppendText(FontManager& fonts, CompList& row, const std::string& text, int fontId)
{
    FontFace* face = fonts.GetFace(fontId);
    for (unsigned char c : text)
        row.Append(face->GetCharacter(c));
}

// A 3-D plot of x y over [-1, 1] x [-1, 1] with the surface the kernel would
// answer: five rows of five heights.
ThreeDPlotComp* SurfacePlot()
{
    auto plot = std::make_unique<ThreeDPlotComp>();
    std::unique_ptr<ExprNode> function(NodeFrom("Times[x, y]"));
    CompList row;
    function->BuildComponents(row, 1);
    plot->GetChild(1)->InsertAllAt(row.DetachAll(), 1);
    plot->SetXVariable("x", -1, 1);
    plot->SetYVariable("y", -1, 1);
    std::string surface = "SurfaceGraphics[List[";
    for (int i = 0; i < 5; ++i) {
        surface += i ? ", List[" : "List[";
        for (int j = 0; j < 5; ++j)
            surface += (j ? ", " : "") + std::to_string((i - 2) * (j - 2) / 4.0);
        surface += "]";
    }
    surface += "]]";
    std::unique_ptr<ExprNode> answer(NodeFrom(surface));
    if (!plot->SetResult(answer.release()))
        throw std::runtime_error("the surface of the 3-D plot was refused");
    return plot.release();
}

} // namespace

const std::vector<std::string>& EveryComponentDocument::StoredParts()
{
    static const std::vector<std::string> kParts = {"every-paragraph-style", "every-math-component",
                                                    "every-shape-kind", "every-constraint-kind",
                                                    "plot-of-two-functions"};
    return kParts;
}

void EveryComponentDocument::AppendStored(ParagraphList& list, const std::string& path)
{
    std::vector<uint8_t> bytes = ReadBytes(path);
    MemoryStream stream(bytes.data(), static_cast<int32_t>(bytes.size()));
    DocReader reader(&stream);
    reader.ReadLong();  // version
    const int16_t sections = reader.ReadShort();
    for (int16_t n = 0; n < sections; ++n) {
        reader.ReadShort();
        reader.Skip(reader.ReadLong());
    }
    ParagraphList read;
    read.ReadCounted(reader);
    while (read.GetCount() > 0)
        list.Append(read.RemoveAt(1));
}

EveryComponentDocument::EveryComponentDocument()
{
    InstallTextLayout();
    RegisterComponentClasses();
    RegisterMathComponents();
    RegisterDrawingComponents();
    RegisterPlotComponents();
    RowNodeBuilder::Install(&KernelRowBuilder::Instance());
    m_paragraphs = std::make_unique<ParagraphList>();
    for (const std::string& part : StoredParts())
        AppendStored(*m_paragraphs, std::string(QV_SOURCE_DIR) + "/tests/app/document/data/" + part + ".vxm");
    AppendMadeParagraphs();
    Layout();
}

EveryComponentDocument::~EveryComponentDocument()
{
    m_paragraphs.reset();
    RowNodeBuilder::Install(nullptr);
    UnwindDrawContext();
}

void EveryComponentDocument::AppendMadeParagraphs()
{
    ParagraphList& list = *m_paragraphs;
    list.Append(TextParagraph(m_fonts, 1, "Made for the export", FontId::kText));

    // Text that needs escaping, a link whose target and text need it, a
    // script's link, and a control character.
    ParagraphComp* awkward = TextParagraph(m_fonts, 3, std::string(kAwkwardText) + " see ", FontId::kText);
    awkward->GetRow()->Append(new HyperlinkComp(Str255(kLinkTarget), Str255(kLinkText), true));
    AppendText(m_fonts, *awkward->GetRow(), " or ", FontId::kText);
    awkward->GetRow()->Append(new HyperlinkComp(Str255(kScriptTarget), Str255(kScriptText), true));
    for (const char* target : kHiddenScripts)
        awkward->GetRow()->Append(new HyperlinkComp(Str255(target), Str255("me too"), true));
    AppendText(m_fonts, *awkward->GetRow(), " then a bell \x07 and caf\xE9.", FontId::kText);
    list.Append(awkward);

    // Italic, bold and code runs with a formula between them.
    ParagraphComp* runs = TextParagraph(m_fonts, 3, "plain ", FontId::kText);
    AppendText(m_fonts, *runs->GetRow(), "italic ", FontId::kItalic);
    AppendText(m_fonts, *runs->GetRow(), "bold ", FontId::kBold);
    AppendText(m_fonts, *runs->GetRow(), "x+1", FontId::kMath);
    AppendText(m_fonts, *runs->GetRow(), " code", FontId::kCode);
    list.Append(runs);

    // Two source paragraphs share one block; a list follows it.
    list.Append(TextParagraph(m_fonts, 7, "for (i = 0; i < n; ++i)", FontId::kCode));
    list.Append(TextParagraph(m_fonts, 7, "    sum += a[i] & mask;", FontId::kCode));
    list.Append(TextParagraph(m_fonts, 4, "first", FontId::kText));
    list.Append(TextParagraph(m_fonts, 10, "first's sub-item", FontId::kText));
    list.Append(TextParagraph(m_fonts, 5, "a+b", FontId::kMath));
    list.Append(TextParagraph(m_fonts, 4, "second", FontId::kText));

    // A picture alone in its paragraph.
    gDrawContext.BeginMetafile(nullptr, Rect(0, 0, 60, 30));
    gDrawContext.DrawLine(IntPoint(0, 0), IntPoint(60, 30));
    gDrawContext.DrawLine(IntPoint(0, 30), IntPoint(60, 0));
    HENHMETAFILE recorded = gDrawContext.EndMetafile();
    auto* picture = new ParagraphComp(3);
    picture->GetRow()->Append(new PictureComp(recorded));
    list.Append(picture);

    // A list whose middle items each hold a picture or a drawing alone: the
    // screen counts one to four.
    list.Append(TextParagraph(m_fonts, 4, "one", FontId::kText));
    auto* pictureItem = new ParagraphComp(4);
    pictureItem->GetRow()->Append(new PictureComp(recorded));
    list.Append(pictureItem);
    auto* drawingItem = new ParagraphComp(4);
    drawingItem->GetRow()->Append(new DiagramComp);
    list.Append(drawingItem);
    list.Append(TextParagraph(m_fonts, 4, "four", FontId::kText));
    DrawContext::DeleteMetafile(recorded);

    // A 3-D plot with a computed surface.
    auto* plot = new ParagraphComp(3);
    plot->GetRow()->Append(SurfacePlot());
    list.Append(plot);
    list.Append(TextParagraph(m_fonts, 3, "The end.", FontId::kText));
}

// Lays the whole document out on a page image at 96 dpi.
void EveryComponentDocument::Layout()
{
    m_image = std::make_unique<QImage>(kPageWidth, kPageHeight, QImage::Format_RGB32);
    m_image->fill(Qt::white);
    SetImageDpi(*m_image, 96);
    m_dc = std::make_unique<CImageDC>(*m_image);
    gDrawContext.BeginDrawOnDC(nullptr, m_dc.get());
    m_paragraphs->RelayoutAll(false);
}
