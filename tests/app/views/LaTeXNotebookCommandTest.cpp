// The File/Export commands of LaTeX, TechExplorer and the notebook: each asks
// for a file and writes it; a picture that cannot be written is reported
// while the source stays; the notebook waits for the kernel, and a formula
// that does not read stops it with the formula selected.
#include "ViewFixture.h"

#include "app/CCorvellDoc.h"
#include "foundation/CompList.h"
#include "foundation/DrawContext.h"
#include "foundation/DrawTargetScope.h"
#include "foundation/FontIds.h"
#include "foundation/Rect.h"
#include "kernel/KernelLink.h"
#include "kernel/KernelQuestions.h"
#include "kernel/KernelServices.h"
#include "math/HyperlinkComp.h"
#include "math/PictureComp.h"
#include "platform/AppProfile.h"
#include "platform/FileFaults.h"
#include "support/SmallDisk.h"
#include "support/kernel/KernelProgram.h"

#include "support/kernel/SilentQuestions.h"

#include <QTemporaryDir>

#include <filesystem>
#include <fstream>
#include <map>
#include <optional>

namespace fs = std::filesystem;

namespace {

std::string ReadText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Every file of a folder, hidden ones too, by name.
std::map<std::string, std::string> FolderFiles(const std::string& folder)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(folder))
        files[entry.path().filename().string()] = ReadText(entry.path().string());
    return files;
}

class LaTeXNotebookCommandTest : public ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        InstallKernelServices();
        Paragraphs().DeleteAll();
        folder = OutputPath("commands");
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override
    {
        CCorvellDoc::SetExportPathPrompt(nullptr);
        if (link) {
            link->QuitKernel();
            KernelLink::Set(nullptr);
            AppProfile::SetFolder({});
        }
        ViewTest::TearDown();
    }

    ParagraphComp* Add(int style, const std::string& text, int fontId)
    {
        auto* paragraph = new ParagraphComp(style);
        for (unsigned char c : text)
            paragraph->GetRow()->Append(fonts->GetFace(fontId)->GetCharacter(c));
        Paragraphs().Append(paragraph);
        return paragraph;
    }
    // A paragraph holding a recorded picture of a line.
    void AddPicture()
    {
        gDrawContext.BeginMetafile(nullptr, Rect(0, 0, 60, 30));
        gDrawContext.DrawLine(IntPoint(0, 0), IntPoint(60, 30));
        HENHMETAFILE recorded = gDrawContext.EndMetafile();
        auto* picture = new ParagraphComp(3);
        picture->GetRow()->Append(new PictureComp(recorded));
        DrawContext::DeleteMetafile(recorded);
        Paragraphs().Append(picture);
    }
    void Relayout()
    {
        DrawTargetScope draw(view);
        Paragraphs().RelayoutAll(false);
    }
    // The commands write to `name` in the test's folder; the proposed name
    // and default extension are kept.
    void AnswerWith(const std::string& name)
    {
        CCorvellDoc::SetExportPathPrompt([this, name](const ExportCommand& command, const CString& proposed) {
            asked = proposed.str() + " " + command.defaultExtension;
            return CString(folder + "/" + name);
        });
    }
    void StartKernel()
    {
        link = std::make_unique<KernelLink>();
        UseBuiltKernel(*link, questions, settings.path().toStdString());
        ASSERT_TRUE(StartAndWait(*link));
    }

    std::string folder;
    std::string asked;
    QTemporaryDir settings;
    SilentQuestions questions;
    std::unique_ptr<KernelLink> link;
};

TEST_F(LaTeXNotebookCommandTest, LaTeXAndTechExplorerWriteTheAskedFile)
{
    Add(3, "Hello", FontId::kText);
    Relayout();
    EXPECT_TRUE(Update(ID_EXPORT_LATEX).enabled);
    EXPECT_TRUE(Update(ID_EXPORT_TECHEXPLORER).enabled);

    AnswerWith("doc.tex");
    Command(ID_EXPORT_LATEX);
    EXPECT_EQ(asked, Doc()->ProposedExportName(ID_EXPORT_LATEX).str() + " tex");
    const std::string tex = ReadText(folder + "/doc.tex");
    EXPECT_EQ(tex.rfind("\\documentclass{article}\n", 0), 0u) << tex;
    EXPECT_NE(tex.find("Hello"), std::string::npos);

    AnswerWith("doc.tcx");
    Command(ID_EXPORT_TECHEXPLORER);
    EXPECT_EQ(asked, Doc()->ProposedExportName(ID_EXPORT_TECHEXPLORER).str() + " tcx");
    EXPECT_EQ(ReadText(folder + "/doc.tcx").rfind("\\documentstyle{article}\n", 0), 0u);
    EXPECT_TRUE(ui.boxes.empty());

    // A folder that is not there: reported, nothing made.
    CCorvellDoc::SetExportPathPrompt([](const ExportCommand&, const CString&) {
        return CString("/nonexistent-folder/doc.tex");
    });
    Command(ID_EXPORT_LATEX);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_NE(ui.LastBoxText().find("\"doc.tex\""), std::string::npos) << ui.LastBoxText();
    EXPECT_NE(ui.LastBoxText().find("Nothing was written."), std::string::npos);
    EXPECT_FALSE(fs::exists("/nonexistent-folder"));
}

TEST_F(LaTeXNotebookCommandTest, APictureThatCannotBeWrittenStopsTheExportBeforeAnythingIsWritten)
{
    Add(3, "A picture:", FontId::kText);
    AddPicture();
    Relayout();

    // A folder stands where the picture's file would go: the message says
    // nothing was written, and nothing was, neither the source nor the
    // picture's recording.
    fs::create_directories(folder + "/doc-tex1.png");
    AnswerWith("doc.tex");
    EXPECT_FALSE(Doc()->ExportTo(ID_EXPORT_LATEX, CString(folder + "/doc.tex")));
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_NE(ui.LastBoxText().find("Nothing was written."), std::string::npos) << ui.LastBoxText();
    EXPECT_NE(ui.LastBoxText().find("doc-tex1.png"), std::string::npos) << ui.LastBoxText();
    EXPECT_FALSE(fs::exists(folder + "/doc.tex"));
    EXPECT_FALSE(fs::exists(folder + "/doc-tex1.emf"));

    // With the way clear every file is written and nothing is said.
    fs::remove_all(folder + "/doc-tex1.png");
    ui.boxes.clear();
    EXPECT_TRUE(Doc()->ExportTo(ID_EXPORT_LATEX, CString(folder + "/doc.tex")));
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_NE(ReadText(folder + "/doc.tex").find("{doc-tex1.png}"), std::string::npos);
    EXPECT_TRUE(fs::exists(folder + "/doc-tex1.png"));
    EXPECT_TRUE(fs::exists(folder + "/doc-tex1.emf"));
}

TEST_F(LaTeXNotebookCommandTest, TheNotebookWaitsForTheKernelAndStopsAtAFormulaThatDoesNotRead)
{
    // A link in text is its text, not a formula to read.
    Add(3, "Hello ", FontId::kText)->GetRow()->Append(new HyperlinkComp(Str255("other.vxm"), Str255("there"), true));
    Add(5, "x+1", FontId::kMath);
    Relayout();
    AnswerWith("doc.nb");
    EXPECT_FALSE(Update(ID_EXPORT_NOTEBOOK).enabled);
    Command(ID_EXPORT_NOTEBOOK);
    EXPECT_FALSE(fs::exists(folder + "/doc.nb"));

    StartKernel();
    EXPECT_TRUE(Update(ID_EXPORT_NOTEBOOK).enabled);
    Command(ID_EXPORT_NOTEBOOK);
    EXPECT_EQ(asked, Doc()->ProposedExportName(ID_EXPORT_NOTEBOOK).str() + " nb");
    const std::string notebook = ReadText(folder + "/doc.nb");
    EXPECT_EQ(notebook.rfind("Notebook[{\n", 0), 0u) << notebook;
    EXPECT_NE(notebook.find("Cell[BoxData[\n"), std::string::npos) << notebook;
    EXPECT_NE(notebook.find("\"Hello there\""), std::string::npos) << notebook;
    EXPECT_EQ(notebook.find("Error"), std::string::npos) << notebook;
    EXPECT_TRUE(ui.boxes.empty());

    // "(a+" does not read: the message, the formula selected, the old file kept.
    ParagraphComp* bad = Add(5, "(a+", FontId::kMath);
    Relayout();
    Command(ID_EXPORT_NOTEBOOK);
    EXPECT_EQ(ReadText(folder + "/doc.nb"), notebook);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_NE(ui.LastBoxText().find("badly formed mathematical expression"), std::string::npos);
    EXPECT_EQ(view->GetSelection().First().GetList(), bad->GetRow());
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
}

// A disk that fills at the first byte, half-way or at the last: every export
// and the save say so, naming the chosen file, and the folder stays as it was
// (the earlier files byte for byte, no temporary), already while the message
// shows; the document goes on. The disk fills through the file layer's hook,
// then for real on a small memory disk where one can be mounted.
TEST_F(LaTeXNotebookCommandTest, EveryWriterAndTheSaveOnAFullDiskKeepTheEarlierFiles)
{
    Add(3, "Version a", FontId::kText);
    AddPicture(); // the HTML export's first write on a full disk is a picture
    for (int i = 0; i < 300; ++i) // past the writers' blocks of 64 KB
        Add(3, std::to_string(i) + std::string(240, 'w'), FontId::kText);
    Add(5, "x+1", FontId::kMath);
    Relayout();
    StartKernel();
    std::string skipped;
    for (UINT command : std::initializer_list<UINT>{0, ID_EXPORT_LATEX, ID_EXPORT_TECHEXPLORER, ID_EXPORT_NOTEBOOK,
                                                    ID_EXPORT_MATHML, ID_EXPORT_HTML}) { // 0: the save
        const std::string name =
            std::string("doc.") + (command ? CCorvellDoc::FindExportCommand(command)->defaultExtension : "vxm");
        SCOPED_TRACE(name);
        const auto write = [&](const std::string& path) {
            Doc()->SetModifiedFlag(TRUE);
            return command ? Doc()->ExportTo(command, CString(path)) : Doc()->OnSaveDocument(path.c_str());
        };
        fs::remove_all(folder);
        fs::create_directories(folder);
        Row(1)->SetAt(fonts->GetFace(FontId::kText)->GetCharacter('a'), 9);
        ASSERT_TRUE(write(folder + "/" + name));
        const std::map<std::string, std::string> earlier = FolderFiles(folder);
        int64_t bytes = 0;
        for (const auto& [file, content] : earlier)
            bytes += int64_t(content.size());
        Row(1)->SetAt(fonts->GetFace(FontId::kText)->GetCharacter('b'), 9); // as many bytes, other ones
        skipped = OnFullDisks(
            folder, folder + "-small", 2 * bytes + (1 << 16), {0, bytes / 2, bytes - 1},
            [&](const std::string& where) {
                for (const auto& [file, content] : earlier)
                    std::ofstream(where + "/" + file, std::ios::binary) << content;
            },
            [&](const std::string& where) {
                std::map<std::string, std::string> shown;
                ui.onBox = [&](const std::string&) { shown = FolderFiles(where); };
                ui.boxes.clear();
                EXPECT_FALSE(write(where + "/" + name));
                ui.onBox = nullptr;
                ASSERT_EQ(ui.boxes.size(), 1u);
                const std::string said = ui.LastBoxText();
                EXPECT_TRUE(said.find(name) != said.npos && said.find("disk is full") != said.npos) << said;
                EXPECT_TRUE(said.find(".tmp") == said.npos && said.find("read or written") == said.npos) << said;
                EXPECT_TRUE(shown == earlier && FolderFiles(where) == earlier);
                EXPECT_TRUE(Paragraphs().GetCount() == 303 && Doc()->IsModified());
            });
    }
    if (!skipped.empty())
        GTEST_SKIP() << skipped << ": the rows of a real full disk did not run";
}

}  // namespace
