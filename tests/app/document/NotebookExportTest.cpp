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
#include "platform/AppProfile.h"
#include "support/kernel/KernelProgram.h"

#include <QTemporaryDir>

#include <optional>
#include <utility>

namespace {

enum Style { kTitle = 0, kSection = 1, kHeading = 2, kPlain = 3, kEquation = 5, kCode = 7 };

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
protected:
    NotebookExportTest()
    {
        RegisterNameTable();
        RegisterDocumentComponents();
    }

    void Add(CCorvellDoc& doc, int style, const std::vector<TextRun>& runs)
    {
        auto* paragraph = new ParagraphComp(style);
        doc.GetParagraphList()->Append(paragraph);
        for (const auto& [text, font] : runs)
            for (unsigned char c : text)
                paragraph->GetRow()->Append(fonts.GetFace(font)->GetCharacter(c));
    }

    static std::string Written(CCorvellDoc& doc, NotebookFileWriter::BoxText boxText)
    {
        StringByteStream out;
        NotebookFileWriter writer(out, std::move(boxText));
        doc.GetParagraphList()->WriteNotebook(writer);
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

TEST_F(NotebookExportTest, ReaderFindsBrokenNotebooks)
{
    EXPECT_NE(NotebookFault("Cell[\"a\"}"), std::nullopt);
    EXPECT_NE(NotebookFault("Cell[\"a]"), std::nullopt);
    EXPECT_NE(NotebookFault("Cell[{\"a\"]"), std::nullopt);
    EXPECT_EQ(NotebookFault("Cell[{\"a]\\\"\"}]"), std::nullopt);
}

class Unasked : public KernelQuestions {
public:
    ExprNode* AskExpression(const std::string&, const ExprNode*, bool) override { return nullptr; }
    int ChooseOne(const std::string&, const std::vector<std::string>&) override { return -1; }
    std::optional<std::vector<int>> ChooseSubset(const std::string&, const std::string&, const std::string&,
                                                 const std::vector<std::string>&,
                                                 const std::vector<std::string>&) override
    {
        return std::nullopt;
    }
    void ShowMessage(const std::string&) override {}
    bool AskYesNo(const std::string&) override { return false; }
    void Yield() override {}
    std::string LocateKernel() override { return {}; }
    void StartupStatus(const std::string&) override {}
    void StartupFinished(bool) override {}
};

// Mathematics cells carry the box text the kernel program gives, and every
// kept document exports to a notebook that reads back as brackets and strings.
TEST_F(NotebookExportTest, MathematicsIsTheKernelsBoxText)
{
    InstallKernelServices();
    QTemporaryDir settings;
    KernelLink link;
    Unasked questions;
    UseBuiltKernel(link, questions, settings.path().toStdString());
    ASSERT_TRUE(StartAndWait(link));
    const auto boxText = [&](const ExprNode* node) { return link.ToStandardFormString(node); };

    auto doc = EmptyDocument();
    Add(*doc, kEquation, {{"x^2+1", FontId::kMath}});
    const std::string text = Written(*doc, boxText);
    EXPECT_EQ(text.find("Error"), std::string::npos) << text;
    EXPECT_NE(text.find("Cell[BoxData[\n\\("), std::string::npos) << text;

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
