// Saving and opening through files: a saved document opened and saved again
// is byte-identical, the small-buffer save writes the same file as the
// whole-file buffer, and a save that fails half-way leaves the previous file
// as it was and says why.
#include "DocumentTestSupport.h"

#include "app/SlideList.h"
#include "drawing/DiagramComp.h"
#include "drawing/VertexShape.h"
#include "foundation/DocWriter.h"
#include "foundation/DocSelection.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"
#include "platform/FileFaults.h"
#include "platform/framework/CommonDialogs.h"
#include "support/FakeUserInterface.h"
#include "support/ScopedInstall.h"

#include <QFileDialog>

#include <filesystem>
#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace {

// A document whose save cannot have a block larger than a limit.
class TightMemoryDoc : public CCorvellDoc {
public:
    explicit TightMemoryDoc(int32_t limit) : m_limit(limit) {}
    std::vector<int32_t> asked;

protected:
    std::unique_ptr<char[]> AllocateSaveBuffer(int32_t size) override
    {
        asked.push_back(size);
        return size > m_limit ? nullptr : CCorvellDoc::AllocateSaveBuffer(size);
    }

private:
    int32_t m_limit;
};

int FilesIn(const std::string& folder)
{
    int n = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        n += entry.is_regular_file() ? 1 : 0;
    return n;
}

} // namespace

class DocumentSaveTest : public DocumentTest {
protected:
    // A document of several paragraphs in several styles and faces, two
    // slides and records that differ from the defaults.
    void Fill(CCorvellDoc& doc)
    {
        doc.OnNewDocument();
        for (int i = 0; i < 40; ++i)
            AddParagraph(doc, "Paragraph " + std::to_string(i) + " with some text \x80\xE9", i % 11);
        ParagraphComp* math = AddParagraph(doc, "", 5);
        math->GetRow()->Append(fonts.GetFace(3)->GetCharacter(0xD0));
        math->GetRow()->Append(fonts.GetFace(3)->GetCharacter('x'));
        ParagraphList* list = doc.GetParagraphList();
        doc.GetSlideList()->NewSlide();
        doc.GetSlideList()->AddSelection(DocSelection(list->PositionAt(3), list->PositionAt(3)));
        doc.GetSlideList()->NewSlide();
        doc.GetSlideList()->AddSelection(DocSelection(list->PositionAt(10), list->PositionAt(12)));
        doc.GetDisplayRecord().firstPageNumber = 12;
        doc.GetInsertSizes().entries = 6;
        doc.GetIdPool().Release(2);
    }
};

TEST_F(DocumentSaveTest, ASavedDocumentOpenedAndSavedAgainIsByteIdentical)
{
    auto doc = EmptyDocument();
    Fill(*doc);
    std::string first = OutputPath("first.vxm");
    FakeUserInterface ui;
    ASSERT_TRUE(doc->OnSaveDocument(first.c_str()));
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(ReadFile(first), Store(*doc));

    auto opened = EmptyDocument();
    ASSERT_TRUE(opened->OnOpenDocument(first.c_str()));
    EXPECT_EQ(Text(*opened), Text(*doc));
    EXPECT_EQ(opened->GetSlideList()->GetSlide(1)->GetCount(), 3);
    std::string second = OutputPath("second.vxm");
    ASSERT_TRUE(opened->OnSaveDocument(second.c_str()));
    EXPECT_EQ(ReadFile(second), ReadFile(first));
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_EQ(ui.waitDepth, 0);
}

TEST_F(DocumentSaveTest, TheSmallBufferWritesTheSameFileAsTheWholeFileBuffer)
{
    auto whole = EmptyDocument();
    Fill(*whole);
    std::string wholePath = OutputPath("whole.vxm");
    ASSERT_TRUE(whole->OnSaveDocument(wholePath.c_str()));

    TightMemoryDoc tight(200);
    tight.m_bAutoDelete = FALSE;
    tight.SetTitle("Doc1");
    Fill(tight);
    std::string smallPath = OutputPath("small.vxm");
    ASSERT_TRUE(tight.OnSaveDocument(smallPath.c_str()));
    ASSERT_EQ(tight.asked.size(), 2u);
    EXPECT_EQ(tight.asked[0], int32_t(ReadFile(wholePath).size()));
    EXPECT_LT(tight.asked[1], 200);
    EXPECT_EQ(ReadFile(smallPath), ReadFile(wholePath));

    // Without even the small block the save fails and says so.
    TightMemoryDoc none(0);
    none.m_bAutoDelete = FALSE;
    Fill(none);
    FakeUserInterface ui;
    EXPECT_FALSE(none.OnSaveDocument(OutputPath("none.vxm").c_str()));
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_NE(ui.LastBoxText().find("memory"), std::string::npos) << ui.LastBoxText();
    EXPECT_FALSE(std::filesystem::exists(OutputPath("none.vxm")));
}

TEST_F(DocumentSaveTest, ASaveThatFailsHalfWayLeavesThePreviousFile)
{
    auto doc = EmptyDocument();
    Fill(*doc);
    std::string path = OutputPath("kept.vxm");
    ASSERT_TRUE(doc->OnSaveDocument(path.c_str()));
    std::vector<uint8_t> before = ReadFile(path);

    AddParagraph(*doc, "more text that does not reach the disk");
    doc->SetModifiedFlag(TRUE);
    FakeUserInterface ui;
    {
        ScopedDiskFull full(int64_t(before.size() / 2));
        EXPECT_FALSE(doc->OnSaveDocument(path.c_str()));
    }
    EXPECT_EQ(ReadFile(path), before);
    EXPECT_TRUE(doc->IsModified());
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_NE(ui.LastBoxText().find("could not be saved"), std::string::npos) << ui.LastBoxText();
    EXPECT_NE(ui.LastBoxText().find("kept.vxm"), std::string::npos) << ui.LastBoxText();
    EXPECT_EQ(FilesIn(folder), 1); // no temporary left behind

    // With room again the save goes through. A folder deleted since it was
    // chosen is named in the message, for the save as for an export.
    ASSERT_TRUE(doc->OnSaveDocument(path.c_str()));
    EXPECT_EQ(ReadFile(path), Store(*doc));
    const std::string gone = OutputPath("gone");
    std::filesystem::create_directories(gone);
    std::filesystem::remove(gone);
    EXPECT_FALSE(doc->OnSaveDocument((gone + "/x.vxm").c_str()));
    EXPECT_FALSE(doc->ExportTo(ID_EXPORT_LATEX, gone + "/x.tex"));
    ASSERT_EQ(ui.boxes.size(), 3u);
    EXPECT_NE(ui.boxes[1].text.find("could not be saved"), std::string::npos) << ui.boxes[1].text;
    for (const auto& box : {ui.boxes[1], ui.boxes[2]})
        EXPECT_NE(box.text.find("The folder \"" + gone + "\" does not exist"), std::string::npos) << box.text;

    // Save As and an export onto a named pipe, a link to one and a device
    // are refused with a message and leave them as they were; so is a save
    // into a folder that takes no new file, which the message names.
    const std::vector<uint8_t> saved = ReadFile(path);
    const CString named = doc->GetPathName();
    AddParagraph(*doc, "typed after the save");
    doc->SetModifiedFlag(TRUE);
    const std::string pipe = OutputPath("pipe.vxm"), device = OutputPath("device.vxm");
    const std::string toPipe = OutputPath("to-pipe.vxm");
    for (const std::string& made : {pipe, device, toPipe})
        std::filesystem::remove(made);
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    std::filesystem::create_symlink(pipe, toPipe);
    if (::mknod(device.c_str(), S_IFCHR | 0600, ::makedev(1, 3)) != 0)
        std::filesystem::create_symlink("/dev/null", device);
    std::string chosen;
    ScopedInstall<CommonDialogHook> saveAs(SetCommonDialogHook, [&chosen](QDialog& dialog) {
        static_cast<QFileDialog&>(dialog).selectFile(QString::fromStdString(chosen));
        return int(QDialog::Accepted);
    });
    for (const auto& [target, kind] :
         {std::pair{pipe, "a named pipe"}, {toPipe, "a named pipe"}, {device, "a device"}}) {
        SCOPED_TRACE(target);
        chosen = target;
        ui.boxes.clear();
        EXPECT_FALSE(doc->DoSave(nullptr));
        EXPECT_FALSE(doc->ExportTo(ID_EXPORT_LATEX, target));
        ASSERT_EQ(ui.boxes.size(), 2u);
        for (const auto& box : ui.boxes)
            EXPECT_NE(box.text.find(std::string("That name belongs to ") + kind), std::string::npos) << box.text;
        EXPECT_EQ(doc->GetPathName(), named);
        EXPECT_TRUE(doc->IsModified());
    }
    EXPECT_TRUE(std::filesystem::is_fifo(pipe));
    EXPECT_TRUE(std::filesystem::is_character_file(device));
    ScopedFolderDenied denied(folder);
    ui.boxes.clear();
    EXPECT_FALSE(doc->OnSaveDocument(path.c_str()));
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_NE(ui.LastBoxText().find("The folder \"" + std::filesystem::canonical(folder).string() +
                                    "\" does not let new files be made in it"),
              std::string::npos)
        << ui.LastBoxText();
    EXPECT_EQ(ReadFile(path), saved);
    EXPECT_TRUE(doc->IsModified());
}

TEST_F(DocumentSaveTest, AFailedOpenLeavesAnEmptyDocumentAndAMissingFileIsReported)
{
    auto doc = EmptyDocument();
    Fill(*doc);
    std::vector<uint8_t> bytes = Store(*doc);
    bytes.resize(bytes.size() - 3); // cut inside the slides
    std::string path = OutputPath("cut.vxm");
    WriteFile(path, bytes);

    FakeUserInterface ui;
    auto opened = EmptyDocument();
    EXPECT_FALSE(opened->OnOpenDocument(path.c_str()));
    EXPECT_EQ(opened->GetParagraphList()->GetCount(), 0);
    EXPECT_EQ(opened->GetSlideList()->GetCount(), 0);
    EXPECT_FALSE(opened->IsModified());
    EXPECT_EQ(ui.boxes.size(), 1u);
    EXPECT_FALSE(opened->OnOpenDocument(OutputPath("missing.vxm").c_str()));
    EXPECT_EQ(ui.boxes.size(), 2u);
}

// A drawing of more shared objects than a reader can index is refused with a
// message; the file on disk and the drawing stay as they were.
TEST_F(DocumentSaveTest, ADrawingThatCouldNotBeReadBackIsNotSaved)
{
    auto doc = EmptyDocument();
    Fill(*doc);
    std::string path = OutputPath("drawing.vxm");
    ASSERT_TRUE(doc->OnSaveDocument(path.c_str()));
    const std::vector<uint8_t> before = ReadFile(path);

    auto* drawing = new DiagramComp;
    for (int i = 0; i <= DocWriter::kMaxSharedObjects; ++i)
        drawing->AddShape(new VertexShape(i % 100, i / 100));
    doc->GetParagraphList()->GetAt(1)->GetRow()->Append(drawing);
    doc->SetModifiedFlag(TRUE);
    FakeUserInterface ui;
    EXPECT_FALSE(doc->OnSaveDocument(path.c_str()));
    EXPECT_EQ(ReadFile(path), before);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(drawing->GetShapes().GetCount(), DocWriter::kMaxSharedObjects + 1);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_NE(ui.LastBoxText().find("could not be saved"), std::string::npos) << ui.LastBoxText();
    EXPECT_NE(ui.LastBoxText().find("too many shared objects"), std::string::npos) << ui.LastBoxText();
}
