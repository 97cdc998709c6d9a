// The ".vxm" form of a document byte by byte: the header of a new document,
// the id pool, the slides, files of a later version, unknown and longer
// sections, and damaged headers that must fail cleanly.
#include "DocumentTestSupport.h"

#include "app/SlideList.h"
#include "foundation/DocSelection.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"
#include "platform/Exceptions.h"
#include "support/FakeUserInterface.h"

#include <fcntl.h>
#include <filesystem>
#include <future>
#include <random>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

// The paragraph list of one empty paragraph of the given style and id.
Bytes EmptyParagraphList(int style, int id)
{
    return Bytes().Long(1).Short(style).Long(id).Long(0);
}

// Selects paragraphs first..last of the document.
DocSelection Paragraphs(CCorvellDoc& doc, int first, int last)
{
    ParagraphList* list = doc.GetParagraphList();
    CompList* row = list->GetAt(last)->GetRow();
    return DocSelection(list->PositionAt(first), DocPosition(row, row->GetCount() + 1));
}

} // namespace

TEST_F(DocumentTest, ANewDocumentIsStoredWithTheFiveHeaderSections)
{
    auto doc = NewDocument();
    Bytes expected;
    expected.Long(2100).Short(5);
    expected.Section(1, Bytes().Long(1).Long(0)); // the new paragraph took id 1
    expected.Section(2, Bytes().Short(5).Byte(0).Byte(0).Short(1).Long(0).Long(0).Long(600).Long(480).Byte(1));
    expected.Section(3, Bytes().Short(2).Short(2).Short(2));
    expected.Section(4, Bytes().Byte(' '));
    expected.Section(5, Bytes().Short(0));
    expected.Append(EmptyParagraphList(5, 1).b);
    EXPECT_EQ(Store(*doc), expected.b);
}

TEST_F(DocumentTest, RecordsAndTheViewsFramePlacementAreStoredInTheirSections)
{
    auto doc = NewDocument();
    RecordingView view;
    doc->AddView(&view);
    view.frameRight = 1234;
    DisplayRecord& display = doc->GetDisplayRecord();
    display.displaySize = 3;
    display.flag = 9;
    display.firstPageNumber = 5;
    display.numberPrintedPages = false;
    doc->SetLargerEquations(true);
    doc->GetInsertSizes() = InsertSizesRecord{4, 7, 3}; // rows, columns, entries
    doc->GetOverscriptKind().code = 0xD0;               // a math-face code the archive translates

    Bytes header;
    header.Long(2100).Short(5);
    header.Section(1, Bytes().Long(1).Long(0));
    header.Section(2, Bytes().Short(3).Byte(9).Byte(1).Short(5).Long(0).Long(0).Long(1234).Long(480).Byte(0));
    header.Section(3, Bytes().Short(7).Short(4).Short(3)); // columns first
    header.Section(4, Bytes().Byte(0x19));
    header.Section(5, Bytes().Short(0));
    std::vector<uint8_t> bytes = Store(*doc);
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + std::ptrdiff_t(header.b.size())), header.b);

    auto copy = EmptyDocument();
    Load(*copy, bytes);
    EXPECT_EQ(copy->GetDisplayRecord().right, 1234);
    EXPECT_EQ(copy->GetDisplayRecord().flag, 9);
    EXPECT_TRUE(copy->GetLargerEquations());
    EXPECT_EQ(copy->GetInsertSizes().rows, 4);
    EXPECT_EQ(copy->GetInsertSizes().columns, 7);
    EXPECT_EQ(copy->GetOverscriptKind().code, 0xD0);
    doc->RemoveView(&view);
}

TEST_F(DocumentTest, AnIdPoolWithFreeIdsFillsSectionOne)
{
    auto doc = NewDocument();
    IdPool& pool = doc->GetIdPool();
    while (pool.GetCounter() < 7)
        pool.Allocate();
    pool.Release(3);
    pool.Release(5);
    std::vector<uint8_t> bytes = Store(*doc);
    Bytes section = Bytes().Short(1).Long(16).Long(7).Long(2).Long(3).Long(5);
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 6, bytes.begin() + 6 + 22), section.b);

    auto copy = EmptyDocument();
    Load(*copy, bytes);
    EXPECT_EQ(copy->GetIdPool().GetCounter(), 7);
    EXPECT_EQ(copy->GetIdPool().Allocate(), 5);
    EXPECT_EQ(copy->GetIdPool().Allocate(), 3);
    EXPECT_EQ(copy->GetIdPool().Allocate(), 8);
}

TEST_F(DocumentTest, SlidesOfOneAndThreeParagraphsFollowTheParagraphs)
{
    auto doc = NewDocument();
    for (const char* text : {"a", "b", "c", "d"})
        AddParagraph(*doc, text);
    SlideList* slides = doc->GetSlideList();
    slides->NewSlide();
    slides->AddSelection(Paragraphs(*doc, 2, 2));
    slides->NewSlide();
    slides->AddSelection(Paragraphs(*doc, 3, 5));
    ASSERT_EQ(slides->GetCount(), 2);

    std::vector<uint8_t> bytes = Store(*doc);
    // Section 5 holds the count, the slides end the file.
    Bytes section5 = Bytes().Short(5).Long(2).Short(2);
    size_t at = 6 + (6 + 8) + (6 + 23) + (6 + 6) + (6 + 1);
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + std::ptrdiff_t(at), bytes.begin() + std::ptrdiff_t(at + 8)),
              section5.b);
    Bytes slideBody = Bytes().Short(1).Long(2).Short(3).Long(3).Long(4).Long(5);
    ASSERT_GE(bytes.size(), slideBody.b.size());
    EXPECT_EQ(std::vector<uint8_t>(bytes.end() - std::ptrdiff_t(slideBody.b.size()), bytes.end()), slideBody.b);

    auto copy = EmptyDocument();
    Load(*copy, bytes);
    SlideList* read = copy->GetSlideList();
    ASSERT_EQ(read->GetCount(), 2);
    ParagraphList* list = copy->GetParagraphList();
    ASSERT_EQ(read->GetSlide(0)->GetCount(), 1);
    EXPECT_EQ(read->GetSlide(0)->GetAt(0), list->GetAt(2));
    ASSERT_EQ(read->GetSlide(1)->GetCount(), 3);
    EXPECT_EQ(read->GetSlide(1)->GetAt(2), list->GetAt(5));
    EXPECT_EQ(Store(*copy), bytes);
}

TEST_F(DocumentTest, ALaterVersionIsReportedOnceAndStillLoads)
{
    auto doc = NewDocument();
    AddParagraph(*doc, "later");
    std::vector<uint8_t> bytes = Store(*doc);
    bytes[0] = 2101 & 0xFF;
    bytes[1] = 2101 >> 8;
    std::string path = OutputPath("later.vxm");
    WriteFile(path, bytes);

    FakeUserInterface ui;
    auto opened = EmptyDocument();
    ASSERT_TRUE(opened->OnOpenDocument(path.c_str()));
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, kLaterVersionMessage);
    EXPECT_EQ(Text(*opened), "|later");
    EXPECT_FALSE(opened->IsModified());
}

TEST_F(DocumentTest, UnknownSectionsAreSkippedAndLongerSectionsReadAsFarAsKnown)
{
    Bytes file;
    file.Long(2100).Short(6);
    file.Section(9, Bytes().Long(-1).Long(-1).Long(-1)); // 12 bytes of a kind not known
    // A later version's display record with 7 more bytes.
    file.Section(2, Bytes().Short(4).Byte(0).Byte(1).Short(3).Long(10).Long(20).Long(30).Long(40).Byte(1)
                        .Long(77).Short(88).Byte(99));
    file.Section(5, Bytes().Short(1).Long(0x7FFFFFFF)); // length 6: the count, then 4 bytes skipped
    file.Section(3, Bytes().Short(3).Short(4).Short(5).Short(6));
    file.Section(1, Bytes().Long(4).Long(1).Long(2).Long(12345)); // one more long than the count says
    file.Section(4, Bytes().Byte(0x20).Byte(0x20));
    file.Append(EmptyParagraphList(3, 4).b);
    file.Short(1).Long(1);

    auto doc = EmptyDocument();
    Load(*doc, file.b);
    EXPECT_EQ(doc->GetDisplayRecord().displaySize, 4);
    EXPECT_TRUE(doc->GetLargerEquations());
    EXPECT_EQ(doc->GetDisplayRecord().bottom, 40);
    EXPECT_EQ(doc->GetInsertSizes().columns, 3);
    EXPECT_EQ(doc->GetInsertSizes().entries, 5);
    EXPECT_EQ(doc->GetIdPool().GetCounter(), 4);
    EXPECT_EQ(doc->GetIdPool().GetFreeCount(), 1);
    ASSERT_EQ(doc->GetSlideList()->GetCount(), 1);
    EXPECT_EQ(doc->GetSlideList()->GetSlide(0)->GetAt(0), doc->GetParagraphList()->GetAt(1));
    EXPECT_EQ(doc->GetParagraphList()->GetAt(1)->GetId(), 4);

    // Stored again, the header is this version's.
    std::vector<uint8_t> again = Store(*doc);
    EXPECT_EQ(again.size(), 6 + (6 + 12) + (6 + 23) + (6 + 6) + (6 + 1) + (6 + 2) + 14 + 6u);
}

// The header has no mark of its own: whatever does not read as a whole
// document is refused with one message before anything else is said.
TEST_F(DocumentTest, FilesThatDoNotReadAsAWholeDocumentAreRefusedWithOneMessage)
{
    auto header = [](int sections) { return Bytes().Long(2100).Short(sections); };
    auto text = [](const std::string& t) { return Bytes().Append(std::vector<uint8_t>(t.begin(), t.end())); };
    // Random bytes whose version, section count and paragraph count are all
    // negative read as an empty document with 2,990 bytes left over.
    Bytes random = Bytes().Append({0x4f, 0xf5, 0x7f, 0xf5, 0x74, 0x93, 0x7d, 0x4c, 0x10, 0xf3});
    std::mt19937 bytes(3000);
    while (random.b.size() < 3000)
        random.Byte(int(bytes() & 0xFF));
    const Bytes whole = header(1).Section(5, Bytes().Short(0)).Append(EmptyParagraphList(3, 1).b);
    auto withVersion = [&whole](int version) {
        return Bytes().Long(version).Append(std::vector<uint8_t>(whole.b.begin() + 4, whole.b.end()));
    };
    struct Case {
        const char* what;
        Bytes bytes;
    };
    std::vector<Case> cases;
    cases.push_back({"a section shorter than its fields", header(1).Section(2, Bytes().Short(5).Byte(0))});
    cases.push_back({"a section longer than the file", header(1).Short(9).Long(1000).Long(0)});
    cases.push_back({"a negative section length", header(1).Short(9).Long(-4).Long(0)});
    cases.push_back({"more sections than bytes", header(30000).Short(9).Long(0)});
    cases.push_back({"a negative slide count", header(1).Section(5, Bytes().Short(-2)).Long(0)});
    cases.push_back({"more slides than bytes", header(1).Section(5, Bytes().Short(500)).Long(0).Short(0)});
    cases.push_back({"a slide longer than the file", header(1).Section(5, Bytes().Short(1)).Long(0).Short(900).Long(1)});
    cases.push_back({"a free list longer than its section", header(1).Section(1, Bytes().Long(9).Long(5).Long(1)).Long(0)});
    cases.push_back({"random bytes", random});
    cases.push_back({"a one-line text file", text("Remember the milk\n")});
    cases.push_back({"a README", text("Quorvant\n========\n\nAn editor of mathematical documents.\n")});
    cases.push_back({"bytes left over", Bytes(whole).Byte(0)});
    cases.push_back({"no paragraph list", header(1).Section(5, Bytes().Short(0)).Long(0)});
    cases.push_back({"a negative section count", Bytes().Long(2100).Short(-1).Append(EmptyParagraphList(3, 1).b)});
    cases.push_back({"version 0", withVersion(0)});
    cases.push_back({"a negative version", withVersion(-2100)});
    cases.push_back({"a later version with bytes left over", withVersion(2101).Byte(0)});
    cases.push_back({"the end before the paragraphs", header(1).Section(5, Bytes().Short(0))});
    for (Case& c : cases) {
        SCOPED_TRACE(c.what);
        FakeUserInterface ui;
        EXPECT_THROW(Load(*EmptyDocument(), c.bytes.b), CFormatException);
        EXPECT_TRUE(ui.boxes.empty());
        // Through the open command: one clear message, and an empty document.
        const std::string path = OutputPath("refused.vxm");
        WriteFile(path, c.bytes.b);
        auto doc = EmptyDocument();
        EXPECT_FALSE(doc->OnOpenDocument(path.c_str()));
        EXPECT_EQ(ui.boxes.size(), 1u);
        EXPECT_NE(ui.LastBoxText().find("damaged or is not a document"), std::string::npos) << ui.LastBoxText();
        EXPECT_EQ(doc->GetParagraphList()->GetCount(), 0);
        EXPECT_EQ(doc->GetSlideList()->GetCount(), 0);
        EXPECT_FALSE(doc->IsModified());
    }
    // The whole document the rows above break opens.
    auto doc = EmptyDocument();
    Load(*doc, whole.b);
    EXPECT_EQ(Text(*doc), "");

    // Whatever is no regular file is refused at once, whatever its name, and
    // the message says what has the name: a pipe no program writes to, a
    // device that never ends, reached directly or through a link, a folder.
    const std::string pipe = OutputPath("pipe.vxm");
    const std::string folder = OutputPath("folder.vxm");
    const std::string toDevice = OutputPath("to-device.vxm");
    std::filesystem::remove_all(pipe);
    std::filesystem::remove(toDevice);
    std::filesystem::create_directories(folder);
    std::filesystem::create_symlink("/dev/zero", toDevice);
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    // Should the open wait on the pipe after all, a writer comes after a limit
    // that only a hang reaches, so that the test ends and fails.
    std::promise<void> opened;
    std::jthread unblock([&pipe, finished = opened.get_future()] {
        if (finished.wait_for(std::chrono::seconds(60)) == std::future_status::timeout)
            ::close(::open(pipe.c_str(), O_WRONLY | O_NONBLOCK));
    });
    for (const auto& [path, kind] : {std::pair{pipe, "a named pipe"},
                                     {std::string("/dev/zero"), "a device"},
                                     {toDevice, "a device"},
                                     {folder, "a folder"}}) {
        SCOPED_TRACE(path);
        FakeUserInterface ui;
        auto refused = EmptyDocument();
        EXPECT_FALSE(refused->OnOpenDocument(path.c_str()));
        EXPECT_EQ(ui.boxes.size(), 1u);
        EXPECT_NE(ui.LastBoxText().find(std::string("That name belongs to ") + kind + ", not to a document"),
                  std::string::npos)
            << ui.LastBoxText();
        EXPECT_EQ(refused->GetParagraphList()->GetCount(), 0);
    }
    opened.set_value();
    EXPECT_TRUE(std::filesystem::is_fifo(pipe));
}

TEST_F(DocumentTest, SlideIndexesThatNameNoParagraphArePassedOver)
{
    Bytes file;
    file.Long(2100).Short(1).Section(5, Bytes().Short(1));
    file.Append(EmptyParagraphList(3, 1).b);
    file.Short(3).Long(0).Long(1).Long(2);
    auto doc = EmptyDocument();
    Load(*doc, file.b);
    ASSERT_EQ(doc->GetSlideList()->GetCount(), 1);
    ASSERT_EQ(doc->GetSlideList()->GetSlide(0)->GetCount(), 1);
    EXPECT_EQ(doc->GetSlideList()->GetSlide(0)->GetAt(0), doc->GetParagraphList()->GetAt(1));
}

TEST_F(DocumentTest, AnEmptyFileOpensAsAnEmptyDocument)
{
    std::string path = OutputPath("empty.vxm");
    WriteFile(path, {});
    FakeUserInterface ui;
    auto doc = EmptyDocument();
    RecordingView view;
    doc->AddView(&view);
    ASSERT_TRUE(doc->OnOpenDocument(path.c_str()));
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_FALSE(doc->IsModified());
    // One empty paragraph, as in a new document, so that the view has a caret place.
    ASSERT_EQ(doc->GetParagraphList()->GetCount(), 1);
    EXPECT_EQ(doc->GetParagraphList()->GetAt(1)->GetStyleKind(), 5);
    EXPECT_EQ(doc->GetParagraphList()->GetAt(1)->GetRow()->GetCount(), 0);
    EXPECT_EQ(view.paragraphs, doc->GetParagraphList());
    EXPECT_EQ(view.slides, doc->GetSlideList());
    EXPECT_EQ(view.applied, std::vector<int32_t>{600});
    doc->RemoveView(&view);
}

TEST_F(DocumentTest, ParagraphIdsReadAreKeptAndRepairedWhenTakenTwice)
{
    Bytes file;
    file.Long(2100).Short(1).Section(1, Bytes().Long(2).Long(0));
    file.Long(3).Short(3).Long(7).Long(0).Short(3).Long(7).Long(0).Short(3).Long(0).Long(0);
    auto doc = EmptyDocument();
    Load(*doc, file.b);
    ParagraphList* list = doc->GetParagraphList();
    EXPECT_EQ(list->GetAt(1)->GetId(), 7);
    EXPECT_EQ(doc->GetIdPool().GetCounter() >= 7, true);
    EXPECT_NE(list->GetAt(2)->GetId(), 7);
    EXPECT_NE(list->GetAt(3)->GetId(), 0);
    EXPECT_NE(list->GetAt(2)->GetId(), list->GetAt(3)->GetId());
    EXPECT_EQ(list->FindById(list->GetAt(3)->GetId()), list->GetAt(3));
}
