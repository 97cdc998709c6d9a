// Small damaged or hostile files must never cost a lot. Each file of the
// document fuzz corpus named "hostile-*" is under 64 KB; opened as the editor
// opens it (read, laid out and painted, paginated and every page printed) it
// either takes well under a second or is refused as damaged.
#include "DocumentTestSupport.h"

#include "foundation/CompList.h"
#include "foundation/DocSelection.h"
#include "foundation/DrawContext.h"
#include "foundation/Layout.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"
#include "foundation/fuzz/DocumentFuzzEntry.h"
#include "math/PictureComp.h"
#include "platform/Exceptions.h"
#include "platform/draw/ImageDC.h"
#include "support/CpuTime.h"
#include "support/FakeUserInterface.h"

#include <QImage>

#include <utility>
#include <string>

namespace {

constexpr size_t kSmallFile = 64 * 1024;
// The program opens each of these files in well under a second (see
// bench_HostileDocumentBench); the sanitizer build is given three times
// that, counted in processor time.
constexpr double kOpenSeconds = 3.0;

class HostileDocumentTest : public DocumentTest {
protected:
    HostileDocumentTest() { documentfuzz::RegisterReaders(); }

    static std::vector<uint8_t> CorpusFile(const std::string& name)
    {
        return ReadFile(std::string(QV_SOURCE_DIR) + "/tests/foundation/fuzz/document-corpus/" + name);
    }

    // Opens the file as the editor does; answers the seconds it took.
    double Open(CCorvellDoc& doc, const std::string& name)
    {
        std::vector<uint8_t> bytes = CorpusFile(name);
        EXPECT_GT(bytes.size(), 0u) << name;
        EXPECT_LT(bytes.size(), kSmallFile) << name;
        const double start = CpuSeconds();
        Load(doc, bytes);
        documentfuzz::ShowOnScreen(doc);
        documentfuzz::Print(doc);
        return CpuSeconds() - start;
    }

    FakeUserInterface ui;
};

// One column of 4,000 empty cells and 1,000 columns of none took 4 GB as
// 4,000 x 1,001 padded cells; such a grid is now refused. A grid whose cells
// are all in the file (120 x 120, as many as a small file holds) opens.
TEST_F(HostileDocumentTest, GridPaddingToRowsTimesColumnsIsRefused)
{
    auto padded = EmptyDocument();
    EXPECT_THROW(Open(*padded, "hostile-grid-padding.vxm"), CFormatException);

    auto full = EmptyDocument();
    EXPECT_LT(Open(*full, "hostile-grid-full.vxm"), kOpenSeconds);
    EXPECT_EQ(full->GetParagraphList()->GetAt(1)->GetRow()->GetAt(1)->GetChildCount(), 120 * 120);
}

// Pictures 0x7fffffff wide and high made the document's height wrap negative
// and printing paginate to millions of pages. Every picture size is bounded
// when read (scaled down, keeping the shape), and the largest pictures stack
// to a positive height.
TEST_F(HostileDocumentTest, PictureSizesAreBoundedAndLayoutSumsDoNotWrap)
{
    for (const char* name : {"hostile-picture-size.vxm", "hostile-picture-limit.vxm"}) {
        auto doc = EmptyDocument();
        EXPECT_LT(Open(*doc, name), kOpenSeconds) << name;
        ParagraphList& list = *doc->GetParagraphList();
        auto* picture = dynamic_cast<PictureComp*>(list.GetAt(1)->GetRow()->GetAt(1));
        ASSERT_NE(picture, nullptr) << name;
        EXPECT_EQ(picture->GetWidth100(), PictureComp::kMaxSize) << name;
        EXPECT_EQ(picture->GetHeight100(), PictureComp::kMaxSize) << name;
        Rect last;
        list.GetAt(list.GetCount())->GetAbsBounds(last);
        EXPECT_GT(last.top, 0) << name;
        EXPECT_GE(list.GetHeight(), last.bottom) << name;
    }
}

// A thousand structures nested in each other took 0.85 s to read, as every
// level re-applied size steps to its whole subtree; reading is linear now.
TEST_F(HostileDocumentTest, DeeplyNestedStructuresOpenInLinearTime)
{
    for (const char* name : {"hostile-nested-fractions.vxm", "hostile-nested-exponents.vxm"}) {
        auto doc = EmptyDocument();
        EXPECT_LT(Open(*doc, name), kOpenSeconds) << name;
        EXPECT_EQ(doc->GetParagraphList()->GetAt(1)->GetRow()->GetCount(), 1) << name;
    }
}

TEST_F(HostileDocumentTest, AThirtyThousandWordParagraphOpensQuickly)
{
    auto doc = EmptyDocument();
    EXPECT_LT(Open(*doc, "hostile-long-paragraph.vxm"), kOpenSeconds);
    EXPECT_EQ(doc->GetParagraphList()->GetAt(1)->GetRow()->GetCount(), 59999);
}

// Ctrl+Shift+End in that paragraph took 25 s, and every Shift+arrow after it
// as long: the bounds of a selection asked each selected position's box with
// a walk of the row's items. They now come from the two ends, each item
// found by halving.
TEST_F(HostileDocumentTest, ExtendingASelectionOverAThirtyThousandWordParagraphIsCheap)
{
    auto doc = EmptyDocument();
    Open(*doc, "hostile-long-paragraph.vxm");
    CompList* row = doc->GetParagraphList()->GetAt(1)->GetRow();
    QImage image(1000, 900, QImage::Format_RGB32);
    SetImageDpi(image, 96);
    CImageDC screen(image);
    gDrawContext.BeginDrawOnDC(nullptr, &screen);
    doc->GetParagraphList()->RelayoutAll(false);

    // The item of a position, found by halving, is the one a walk from the
    // first item finds: the first that holds the position, or the last one
    // before a line that starts after it.
    auto walk = [row](int i) -> ::Layout* {
        ::Layout* lastText = nullptr;
        for (int k = 1; k <= row->GetItems()->GetCount(); ++k) {
            ::Layout* item = row->GetItems()->GetAt(k);
            if (item->IsLine()) {
                if (item->GetStartIndex() > i)
                    return lastText;
                continue;
            }
            if (item->ContainsIndex(i))
                return item;
            lastText = item;
        }
        return lastText;
    };
    for (int i = 0; i <= 3000; ++i)
        ASSERT_EQ(row->ItemForIndex(i), walk(i)) << i;
    for (int i = row->GetCount() - 200; i <= row->GetCount() + 1; ++i)
        ASSERT_EQ(row->ItemForIndex(i), walk(i)) << i;

    // Within a line, the union of the positions' boxes; over several lines,
    // the same top and bottom and the row's whole width between.
    const Rect whole = row->GetAbsRect();
    for (auto [first, last] : {std::pair{1, 1}, {1, 100}, {37, 801}, {298, 299}, {130, 2000}}) {
        Rect expected;
        row->GetItemRect(first, expected);
        for (int i = first + 1; i <= last; ++i) {
            Rect box;
            row->GetItemRect(i, box);
            Rect::Union(expected, box, expected);
        }
        Rect got;
        row->GetRangeRect(first, last, got);
        Rect firstBox, lastBox;
        row->GetItemRect(first, firstBox);
        row->GetItemRect(last, lastBox);
        if (firstBox.top != lastBox.top)
            expected = Rect(whole.left, expected.top, whole.right, expected.bottom);
        EXPECT_EQ(got, expected) << first << ".." << last;
    }

    const DocPosition start(row, 1);
    const double began = CpuSeconds();
    for (int end = row->GetCount() + 1; end > row->GetCount() - 20; --end) {
        Rect bounds;
        DocSelection(start, DocPosition(row, end)).GetBounds(bounds);
        EXPECT_GT(bounds.Height(), 0);
    }
    EXPECT_LT(CpuSeconds() - began, kOpenSeconds);
    gDrawContext.EndDraw();
}

} // namespace
