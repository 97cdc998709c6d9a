// The TechExplorer dialect for a table of small documents: labels after
// sections, numbered equations and list items, references and document
// links as hyperlinks, and pictures as PNG files of their size on the screen.
#include "DocumentTestSupport.h"

#include "app/DocumentComponents.h"
#include "export/LaTeXExport.h"
#include "export/StringByteStream.h"
#include "export/TechExplorerWriter.h"
#include "foundation/CompList.h"
#include "foundation/DrawContext.h"
#include "foundation/FontIds.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"
#include "foundation/EquationLabel.h"
#include "foundation/Rect.h"
#include "foundation/Str255.h"
#include "foundation/StyleKinds.h"
#include "kernel/NameTable.h"
#include "math/CrossRefComp.h"
#include "math/HyperlinkComp.h"
#include "math/PictureComp.h"
#include "platform/draw/ImageDC.h"
#include "support/model/SavedGlobals.h"

#include <QImage>

#include <fstream>
#include <functional>

namespace {

using namespace StyleKind;

class TechExplorerExportTest : public DocumentTest {
public:
    TechExplorerExportTest()
    {
        RegisterNameTable();
        RegisterDocumentComponents();
    }

    ParagraphComp* Add(CCorvellDoc& doc, int style, const std::string& text, int fontId = FontId::kText)
    {
        auto* paragraph = new ParagraphComp(style);
        doc.GetParagraphList()->Append(paragraph);
        for (unsigned char c : text)
            paragraph->GetRow()->Append(fonts.GetFace(fontId)->GetCharacter(c));
        return paragraph;
    }

    // Lays the document out at 96 dpi and runs the writer while the screen
    // context is current (pictures take its resolution).
    template <typename Run>
    static void OnScreen(ParagraphList& list, Run run)
    {
        const ScreenLayout screen(list);
        run();
    }

    // The body of the TechExplorer text, between the preamble and the end.
    std::string Body(CCorvellDoc& doc, const std::string& folder = "/nonexistent/")
    {
        StringByteStream out;
        TechExplorerWriter writer(out, folder, "pic");
        OnScreen(*doc.GetParagraphList(), [&] { doc.GetParagraphList()->WriteLaTeX(writer); });
        std::string text = out.Text();
        const std::string head = "\\documentstyle{article}\n\\begin{document}\n";
        const std::string tail = "\\end{document}";
        EXPECT_EQ(text.rfind(head, 0), 0u) << text;
        if (text.size() >= head.size() + tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0)
            return text.substr(head.size(), text.size() - head.size() - tail.size());
        ADD_FAILURE() << "no end: " << text;
        return text;
    }
};

using Builder = std::function<void(TechExplorerExportTest&, CCorvellDoc&)>;

struct Case {
    const char* name;
    Builder build;
    const char* body;
};

TEST_F(TechExplorerExportTest, LabelsReferencesAndLinks)
{
    const Case cases[] = {
        {"a section's label follows its braces",
         [](TechExplorerExportTest& t, CCorvellDoc& doc) { t.Add(doc, kSection, "Intro", FontId::kBold); },
         "\\section{Intro}\\label{sec1}\n"},
        {"text of another font in a section is closed before the label",
         [](TechExplorerExportTest& t, CCorvellDoc& doc) { t.Add(doc, kSection, "Intro"); },
         "\\section{{\\rm Intro}}\\label{sec1}\n"},
        {"numbered equations carry their labels after the environment",
         [](TechExplorerExportTest& t, CCorvellDoc& doc) {
             t.Add(doc, kSection, "S", FontId::kBold);
             t.Add(doc, kNumberedEquation, "x=1", FontId::kMath);
             t.Add(doc, kNumberedEquation, "y=2", FontId::kMath);
         },
         "\\section{S}\\label{sec1}\n\\begin{equation}x=1\\end{equation}\\label{1.1}\n"
         "\\begin{equation}y=2\\end{equation}\\label{1.2}\n"},
        {"a reference is a link to the label showing the reference's text",
         [](TechExplorerExportTest& t, CCorvellDoc& doc) {
             t.Add(doc, kSection, "S", FontId::kBold);
             ParagraphComp* equation = t.Add(doc, kNumberedEquation, "x=1", FontId::kMath);
             ParagraphComp* see = t.Add(doc, kPlain, "see ");
             see->GetRow()->Append(new CrossRefComp(equation->GetLabel()));
         },
         "\\section{S}\\label{sec1}\n\\begin{equation}x=1\\end{equation}\\label{1.1}\n"
         "\\par\\noindent\nsee \\labelLink{1.1}{(1)}\n"},
        {"a document link's target is escaped as XML and then for TeX, and a link alone in text is set as text",
         [](TechExplorerExportTest& t, CCorvellDoc& doc) {
             ParagraphComp* see = t.Add(doc, kPlain, "go ");
             see->GetRow()->Append(new HyperlinkComp(Str255("other.vxm#a&b<c>\"d\""), Str255("the <other>"), true));
         },
         "\\par\\noindent\ngo \\docLink{other.vxm\\#a\\&amp;b\\&lt;c\\&gt;\\&quot;d\\&quot;}{the $<$other$>$}\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto doc = EmptyDocument();
        c.build(*this, *doc);
        EXPECT_EQ(Body(*doc), c.body);
    }
}

// List items take their labels at the end of the item, after the text and
// before the line's end; a sub-item shows the screen's number; the
// sub-item's nested list closes before the next first-level item.
TEST_F(TechExplorerExportTest, ListItemsEndWithTheirLabels)
{
    auto doc = EmptyDocument();
    Add(*doc, kNumbered, "first");
    Add(*doc, kSubEnumerated, "sub");
    Add(*doc, kNumbered, "second");
    const std::string body = Body(*doc);
    const auto name = [&](int paragraph) {
        Str255 number;
        doc->GetParagraphList()->GetAt(paragraph)->GetLabel()->GetLaTeXName(number);
        return std::string(number.CStr());
    };
    // List items count apart from equations: their names say what they are.
    EXPECT_EQ(name(1).rfind("item", 0), 0u) << name(1);
    EXPECT_EQ(name(2).rfind("subitem", 0), 0u) << name(2);
    EXPECT_NE(name(1), name(3)) << "two items of one section";
    EXPECT_EQ(body,
              "\\begin{enumerate}\n\\item first\\label{" + name(1) + "}\n\\begin{enumerate}\n\\item[1.1.] sub\\label{" +
                  name(2) + "}\n\\end{enumerate}\n\\item second\\label{" + name(3) + "}\n\\end{enumerate}\n");
}

// The PNG is the picture at the screen's resolution: its size in points
// times 96 / 72, the whole recording scaled into it.
TEST_F(TechExplorerExportTest, APictureIsAPngOfItsSizeOnTheScreen)
{
    auto doc = EmptyDocument();
    gDrawContext.BeginMetafile(nullptr, Rect(0, 0, 120, 60));
    gDrawContext.DrawLine(IntPoint(0, 0), IntPoint(120, 60));
    gDrawContext.DrawLine(IntPoint(0, 60), IntPoint(120, 0));
    HENHMETAFILE recorded = gDrawContext.EndMetafile();
    auto* picture = new PictureComp(recorded);
    DrawContext::DeleteMetafile(recorded);
    Add(*doc, kPlain, "")->GetRow()->Append(picture);
    const std::string folder = OutputPath("") + "/";
    OnScreen(*doc->GetParagraphList(),
             [&] { ASSERT_TRUE(ExportLaTeXFile(*doc->GetParagraphList(), folder + "pic.tcx", true).written); });
    std::ifstream source(folder + "pic.tcx");
    const std::string text((std::istreambuf_iterator<char>(source)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("\\par\\noindent\n$\\fbox{$\\includegraphics{pic-tcx1.png}$} $\n"), std::string::npos) << text;
    const QImage png(QString::fromStdString(folder + "pic-tcx1.png"));
    ASSERT_FALSE(png.isNull());
    EXPECT_EQ(png.width(), PictureComp::ToPoints(picture->GetWidth100()) * 96 / 72);
    EXPECT_EQ(png.height(), PictureComp::ToPoints(picture->GetHeight100()) * 96 / 72);
    // Not cropped: the crossing lines reach every corner and cross in the middle.
    const auto inkNear = [&](int x, int y) {
        for (int dy = -3; dy <= 3; ++dy)
            for (int dx = -3; dx <= 3; ++dx)
                if (png.valid(x + dx, y + dy) && qGray(png.pixel(x + dx, y + dy)) < 160)
                    return true;
        return false;
    };
    const int right = png.width() - 1, bottom = png.height() - 1;
    EXPECT_TRUE(inkNear(0, 0));
    EXPECT_TRUE(inkNear(right, 0));
    EXPECT_TRUE(inkNear(0, bottom));
    EXPECT_TRUE(inkNear(right, bottom));
    EXPECT_TRUE(inkNear(right / 2, bottom / 2));
    EXPECT_FALSE(inkNear(right / 2, 3));
}

}  // namespace
