// The notebook export: cell groups of headings, text runs, mathematics as
// the kernel's box text (a stand-in for the groups, the real kernel program
// for the boxes), and a small reader that checks every bracket and string of
// the written notebook.
#include "DocumentTestSupport.h"

#include "app/DocumentComponents.h"
#include "export/LaTeXExport.h"
#include "export/NotebookFileWriter.h"
#include "export/StringByteStream.h"
#include "foundation/CompList.h"
#include "foundation/FontIds.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"
#include "kernel/KernelLink.h"
#include "kernel/KernelQuestions.h"
#include "kernel/KernelServices.h"
#include "kernel/NameTable.h"
#include "math/CrossRefComp.h"
#include "math/ExponentComp.h"
#include "math/FractionComp.h"
#include "math/HyperlinkComp.h"
#include "platform/AppProfile.h"
#include "support/export/MathFaceTextDocument.h"
#include "support/kernel/KernelProgram.h"
#include "support/kernel/SilentQuestions.h"

#include <QTemporaryDir>

#include <functional>
#include <optional>
#include <utility>

namespace {

enum Style {
    kTitle = 0, kSection = 1, kHeading = 2, kPlain = 3, kNumbered = 4, kEquation = 5, kNumberedEquation = 6,
    kCode = 7, kItemized = 8, kSubEnumerated = 9, kSubItemized = 10
};

using TextRun = std::pair<std::string, int>;

// Whether the text is a well-formed expression of brackets and strings: every
// "[", "{" and "(" closed in order, every string closed, escapes inside
// strings only before a character. Answers the first fault, or nothing.
std::optional<std::string> NotebookFault(const std::string& text)
{
    std::string open;
    bool inString = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (inString) {
            if (c == '\\') {
                if (++i == text.size())
                    return "an escape at the end";
            } else if (c == '"') {
                inString = false;
            }
            continue;
        }
        if (c == '"')
            inString = true;
        else if (c == '[' || c == '{' || c == '(')
            open.push_back(c);
        else if (c == ']' || c == '}' || c == ')') {
            const char expected = c == ']' ? '[' : c == '}' ? '{' : '(';
            if (open.empty() || open.back() != expected)
                return "an unmatched " + std::string(1, c) + " at " + std::to_string(i);
            open.pop_back();
        }
    }
    if (inString)
        return "an open string";
    if (!open.empty())
        return "unclosed brackets: " + open;
    return std::nullopt;
}

class NotebookExportTest : public DocumentTest {
public:
    NotebookExportTest()
    {
        RegisterNameTable();
        RegisterDocumentComponents();
    }

    ParagraphComp* Add(CCorvellDoc& doc, int style, const std::vector<TextRun>& runs)
    {
        auto* paragraph = new ParagraphComp(style);
        doc.GetParagraphList()->Append(paragraph);
        for (const auto& [text, font] : runs)
            for (unsigned char c : text)
                paragraph->GetRow()->Append(fonts.GetFace(font)->GetCharacter(c));
        return paragraph;
    }

    std::unique_ptr<CompArray> Math(const std::string& text)
    {
        auto items = std::make_unique<CompArray>();
        for (unsigned char c : text)
            items->Append(fonts.GetFace(FontId::kMath)->GetCharacter(c));
        return items;
    }

    static std::string Written(CCorvellDoc& doc, NotebookFileWriter::BoxText boxText)
    {
        return Written(*doc.GetParagraphList(), std::move(boxText));
    }

    static std::string Written(ParagraphList& list, NotebookFileWriter::BoxText boxText,
                               NotebookFileWriter::ParseFailure* failure = nullptr)
    {
        StringByteStream out;
        NotebookFileWriter writer(out, std::move(boxText));
        list.WriteNotebook(writer);
        if (failure)
            *failure = writer.FirstParseFailure();
        return out.Text();
    }

    static std::string Box(const ExprNode*) { return "BOX"; }
};

TEST_F(NotebookExportTest, HeadingsNestCellGroups)
{
    auto doc = EmptyDocument();
    Add(*doc, kSection, {{"One", FontId::kBold}});
    Add(*doc, kHeading, {{"One.a", FontId::kBold}});
    Add(*doc, kPlain, {{"text", FontId::kText}});
    Add(*doc, kPlain, {{"more", FontId::kText}});
    Add(*doc, kSection, {{"Two", FontId::kBold}});
    Add(*doc, kHeading, {{"Two.a", FontId::kBold}});
    const std::string text = Written(*doc, Box);
    EXPECT_EQ(text,
              "Notebook[{\n"
              "Cell[CellGroupData[{\nCell[TextData[{\nStyleBox[\"One\",FontWeight->\"Bold\"]}],  \"Section\"],\n"
              "Cell[CellGroupData[{\nCell[TextData[{\nStyleBox[\"One.a\",FontWeight->\"Bold\"]}],  \"Subsection\"],\n"
              "Cell[TextData[{\n\"text\"}],  \"Text\"],\nCell[TextData[{\n\"more\"}],  \"Text\"]\n}, Open  ]]\n"
              "\n}, Open  ]],\nCell[CellGroupData[{\nCell[TextData[{\nStyleBox[\"Two\",FontWeight->\"Bold\"]}],  "
              "\"Section\"],\n"
              "Cell[CellGroupData[{\nCell[TextData[{\nStyleBox[\"Two.a\",FontWeight->\"Bold\"]}],  \"Subsection\"]"
              "}, Open]]\n}, Open]]\n},\nStyleDefinitions -> \"ArticleClassic.nb\"]");
    EXPECT_EQ(NotebookFault(text), std::nullopt);
}

TEST_F(NotebookExportTest, RunsStringsAndEmptyFormulas)
{
    auto doc = EmptyDocument();
    Add(*doc, kHeading, {{"Bold ", FontId::kBold}, {"slanted", FontId::kItalic}});
    Add(*doc, kPlain, {{"say \"hi\" \\ ", FontId::kText}, {"x+1", FontId::kMath}, {" now", FontId::kText}});
    Add(*doc, kEquation, {});
    Add(*doc, kCode, {{"f[x_]", FontId::kCode}});
    const std::string text = Written(*doc, Box);
    EXPECT_NE(text.find("StyleBox[\"Bold \",FontWeight->\"Bold\"],\nStyleBox[\"slanted\",FontSlant->\"Italic\"]}]"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("\"say \\\"hi\\\" \\\\ \",\nCell[BoxData[BOX],\"Output\"],\n\" now\"}],  \"Text\"]"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("Cell[\"\", \"DisplayFormula\",TextAlignment->Center]"), std::string::npos) << text;
    EXPECT_NE(text.find("\"f[x_]\"}],  \"Input\"]"), std::string::npos) << text;
    EXPECT_EQ(NotebookFault(text), std::nullopt);
}

// What each small document writes between the head and the trailer.
TEST_F(NotebookExportTest, GroupsStylesAndRunTexts)
{
    using Build = std::function<void(NotebookExportTest&, CCorvellDoc&)>;
    const auto bold = [](const std::string& name, const char* style) {
        return "Cell[TextData[{\nStyleBox[\"" + name + "\",FontWeight->\"Bold\"]}],  \"" + style + "\"]";
    };
    const auto text = [](const std::string& body) { return "Cell[TextData[{\n\"" + body + "\"}],  \"Text\"]"; };
    const struct {
        const char* name;
        Build build;
        std::string body;
    } cases[] = {
        {"a section after a subsection closes the subsection's group and replaces its own",
         [](NotebookExportTest& t, CCorvellDoc& doc) {
             t.Add(doc, kSection, {{"A", FontId::kBold}});
             t.Add(doc, kHeading, {{"a", FontId::kBold}});
             t.Add(doc, kSection, {{"B", FontId::kBold}});
         },
         "Cell[CellGroupData[{\n" + bold("A", "Section") + ",\nCell[CellGroupData[{\n" + bold("a", "Subsection") +
             "\n}, Open  ]]\n\n}, Open  ]],\nCell[CellGroupData[{\n" + bold("B", "Section") + "}, Open]]\n"},
        {"a section nests inside the title's group; text after it is its cell",
         [](NotebookExportTest& t, CCorvellDoc& doc) {
             t.Add(doc, kTitle, {{"T", FontId::kBold}});
             t.Add(doc, kSection, {{"S", FontId::kBold}});
             t.Add(doc, kPlain, {{"t", FontId::kText}});
         },
         "Cell[CellGroupData[{\n" + bold("T", "Title") + ",\nCell[CellGroupData[{\n" + bold("S", "Section") + ",\n" +
             text("t") + "}, Open]]\n}, Open]]\n"},
        {"items of every kind are text cells, separated from the first on",
         [](NotebookExportTest& t, CCorvellDoc& doc) {
             for (int style : {kNumbered, kItemized, kSubEnumerated, kSubItemized})
                 t.Add(doc, style, {{"i" + std::to_string(style), FontId::kText}});
         },
         text("i4") + ",\n" + text("i8") + ",\n" + text("i9") + ",\n" + text("i10")},
        {"a numbered equation is a centred math cell of the kernel's box text",
         [](NotebookExportTest& t, CCorvellDoc& doc) { t.Add(doc, kNumberedEquation, {{"x=1", FontId::kMath}}); },
         "Cell[BoxData[\nBOX],  \"NumberedEquation\",TextAlignment->Center]"},
        {"plain text in a heading leaves the bold run and opens a plain one",
         [](NotebookExportTest& t, CCorvellDoc& doc) {
             t.Add(doc, kHeading, {{"Bold", FontId::kBold}, {" plain", FontId::kText}});
         },
         "Cell[CellGroupData[{\nCell[TextData[{\nStyleBox[\"Bold\",FontWeight->\"Bold\"],\n\" plain\"}],  "
         "\"Subsection\"]}, Open]]\n"},
        {"a run longer than 255 characters stays one string",
         [](NotebookExportTest& t, CCorvellDoc& doc) { t.Add(doc, kPlain, {{std::string(300, 'a'), FontId::kText}}); },
         text(std::string(300, 'a'))},
        {"links and references in text add their visible texts to the run",
         [](NotebookExportTest& t, CCorvellDoc& doc) {
             t.Add(doc, kPlain, {{"see ", FontId::kText}});
             CompList* row = doc.GetParagraphList()->GetAt(1)->GetRow();
             row->Append(new HyperlinkComp(Str255("other.vxm"), Str255("there"), true));
             t.Add(doc, kPlain, {{"and ", FontId::kItalic}});
             doc.GetParagraphList()->GetAt(2)->GetRow()->Append(new CrossRefComp(7, Str31("(7)")));
             t.Add(doc, kPlain, {{"x", FontId::kMath}});
             doc.GetParagraphList()->GetAt(3)->GetRow()->Append(new CrossRefComp(7, Str31("(7)")));
         },
         text("see there") + ",\nCell[TextData[{\n\"\",\nStyleBox[\"and (7)\",FontSlant->\"Italic\"]}],  \"Text\"],\n"
                             "Cell[TextData[{\n\"\",\nCell[BoxData[BOX],\"Output\"],\n\"(7)\"}],  \"Text\"]"},
    };
    const std::string head = "Notebook[{\n";
    const std::string trailer = "},\nStyleDefinitions -> \"ArticleClassic.nb\"]";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto doc = EmptyDocument();
        c.build(*this, *doc);
        const std::string written = Written(*doc, Box);
        EXPECT_EQ(written, head + c.body + trailer);
        EXPECT_EQ(NotebookFault(written), std::nullopt);
    }
}

// Text in the mathematics face that is no formula stays in its text run; a
// badly formed formula inside text is still reported, without its blanks.
TEST_F(NotebookExportTest, MathFaceTextStaysTextAndABadFormulaIsReported)
{
    MathFaceTextDocument document;
    NotebookFileWriter::ParseFailure failure;
    const std::string text = Written(document.Paragraphs(), Box, &failure);
    EXPECT_EQ(failure.row, nullptr);
    for (const MathFaceTextRow& row : MathFaceTextDocument::Rows())
        EXPECT_NE(text.find(row.notebook), std::string::npos) << row.name << "\n" << text;
    EXPECT_EQ(NotebookFault(text), std::nullopt);

    ParagraphComp* bad = document.AppendBadFormula();
    Written(document.Paragraphs(), Box, &failure);
    EXPECT_EQ(failure.row, bad->GetRow());
    EXPECT_EQ(failure.first, MathFaceTextDocument::kBadFirst);
    EXPECT_EQ(failure.end, MathFaceTextDocument::kBadEnd);
}

TEST_F(NotebookExportTest, ReaderFindsBrokenNotebooks)
{
    EXPECT_NE(NotebookFault("Cell[\"a\"}"), std::nullopt);
    EXPECT_NE(NotebookFault("Cell[\"a]"), std::nullopt);
    EXPECT_NE(NotebookFault("Cell[{\"a\"]"), std::nullopt);
    EXPECT_EQ(NotebookFault("Cell[{\"a]\\\"\"}]"), std::nullopt);
}

// Mathematics cells carry the box text the kernel program gives, and every
// kept document exports to a notebook that reads back as brackets and strings.
TEST_F(NotebookExportTest, MathematicsIsTheKernelsBoxText)
{
    InstallKernelServices();
    QTemporaryDir settings;
    KernelLink link;
    SilentQuestions questions;
    UseBuiltKernel(link, questions, settings.path().toStdString());
    ASSERT_TRUE(StartAndWait(link));
    const auto boxText = [&](const ExprNode* node) { return link.ToStandardFormText(node); };

    auto doc = EmptyDocument();
    Add(*doc, kEquation, {{"x^2+1", FontId::kMath}});
    // An inline fraction over a comma row reads as it was typed: (a, b)/c.
    ParagraphComp* words = Add(*doc, kPlain, {{"T ", FontId::kText}});
    words->GetRow()->Append(new FractionComp(Math("a,b"), Math("c")));
    words->GetRow()->Append(fonts.GetFace(FontId::kText)->GetCharacter(' '));
    // A typed point reads as typed; so do a squared fraction and a squared sine.
    Add(*doc, kEquation, {{"(a,b)/c", FontId::kMath}});
    ParagraphComp* squares = Add(*doc, kPlain, {{"S ", FontId::kText}});
    squares->GetRow()->Append(new FractionComp(Math("2"), Math("3")));
    squares->GetRow()->Append(new ExponentComp(Math("2")));
    Add(*doc, kEquation, {{"sin(x)", FontId::kMath}})->GetRow()->Append(new ExponentComp(Math("2")));
    const std::string text = Written(*doc, boxText);
    EXPECT_EQ(text.find("Error"), std::string::npos) << text;
    EXPECT_EQ(text.find("QV"), std::string::npos) << text;
    EXPECT_NE(text.find("Cell[BoxData[\n\\("), std::string::npos) << text;
    EXPECT_NE(text.find("Cell[BoxData[\\((a, b)\\/c\\)]"), std::string::npos) << text;
    EXPECT_NE(text.find("Cell[BoxData[\n\\((a, b)\\/c\\)]"), std::string::npos) << text;
    EXPECT_NE(text.find("Cell[BoxData[\\((\\(2\\/3\\))\\^2\\)]"), std::string::npos) << text;
    EXPECT_NE(text.find("Cell[BoxData[\n\\(Sin[x]\\^2\\)]"), std::string::npos) << text;

    for (const auto& entry : std::filesystem::directory_iterator(QV_TEST_DATA)) {
        if (entry.path().extension() != ".vxm")
            continue;
        SCOPED_TRACE(entry.path().filename().string());
        auto kept = EmptyDocument();
        ASSERT_NO_THROW(Load(*kept, ReadFile(entry.path().string())));
        const std::string path = OutputPath(entry.path().stem().string() + ".nb");
        ASSERT_TRUE(ExportNotebookFile(*kept->GetParagraphList(), path, boxText).written);
        const std::vector<uint8_t> bytes = ReadFile(path);
        EXPECT_EQ(NotebookFault(std::string(bytes.begin(), bytes.end())), std::nullopt);
    }
    link.QuitKernel();
    KernelLink::Set(nullptr);
    AppProfile::SetFolder({});
}

}  // namespace
