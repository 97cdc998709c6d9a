// Organize Slides: one picture per slide, the list that shows them (drawing,
// deleting with the Delete key, reordering) and the order applied on OK.
#include "CommandTestSupport.h"

#include "app/SlideList.h"
#include "app/SlideOrganizer.h"
#include "app/dialogs/COrganizeSlidesDialog.h"
#include "foundation/DrawContext.h"
#include "foundation/DrawTarget.h"
#include "platform/draw/ImageDC.h"

#include <QImage>
#include <QListWidget>

namespace {

class ImageView : public DrawTarget {
public:
    CDC* CreateTargetDC() override { return new CImageDC(image); }
    void PrepareTargetDC(CDC*) override {}
    IntPoint TargetScrollPosition() const override { return {}; }
    int TargetSizeLevel() const override { return DrawContext::kDefaultBaseSize; }
    void InvalidateTargetRect(const Rect&, bool erase) override { erased += erase ? 1 : 0; }
    void ShowTargetRect(const Rect&) override {}

    QImage image{800, 600, QImage::Format_RGB32};
    int erased = 0;
};

// A picture whose left half is black.
HENHMETAFILE HalfBlackPicture()
{
    gDrawContext.BeginMetafile(gDrawContext.GetTarget(), Rect(0, 0, 160, 120));
    gDrawContext.GetDC()->FillSolidRect(CRect(0, 0, 80, 120), RGB(0, 0, 0));
    return gDrawContext.EndMetafile();
}

bool IsBlack(const QImage& image, int x, int y) { return qGray(image.pixel(x, y)) < 64; }

}  // namespace

class OrganizeSlidesTest : public CommandTest {
protected:
    OrganizeSlidesTest()
    {
        MakeDocument({"first", "second", "third", "fourth"});
        slides = std::make_unique<SlideList>(list.get());
        gDrawContext.BeginDraw(&target);
        list->RelayoutAll(false);
        // Slides: {1}, {2, 3}, {4}.
        slides->AddSelection(Range(1, 1, 1));
        slides->NewSlide();
        slides->AddSelection(DocSelection(At(2, 1), At(3, 1)));
        slides->NewSlide();
        slides->AddSelection(Range(4, 1, 1));
    }
    ~OrganizeSlidesTest() override
    {
        gDrawContext.EndDraw();
        slides.reset();
    }

    // The 1-based paragraph indexes of each slide.
    std::vector<std::vector<int>> Slides() const
    {
        std::vector<std::vector<int>> all;
        for (int s = 0; s < slides->GetCount(); ++s) {
            std::vector<int> indexes;
            for (int32_t i = 0; i < slides->GetSlide(s)->GetCount(); ++i)
                indexes.push_back(list->IndexOf(slides->GetSlide(s)->GetAt(i)));
            all.push_back(indexes);
        }
        return all;
    }

    void Organize(std::function<void(COrganizeSlidesDialog&)> script)
    {
        Script([script](CDialog& dialog) { script(dynamic_cast<COrganizeSlidesDialog&>(dialog)); });
        OrganizeSlides(view, *slides, nullptr);
    }

    ImageView target;
    std::unique_ptr<SlideList> slides;
};

TEST_F(OrganizeSlidesTest, EverySlideIsRecordedAndTheDocumentShownAgain)
{
    std::vector<SlidePicture> pictures = RecordSlidePictures(*slides);
    ASSERT_EQ(pictures.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_NE(pictures[size_t(i)].picture, nullptr);
        EXPECT_EQ(pictures[size_t(i)].index, i);
    }
    for (int i = 1; i <= list->GetCount(); ++i)
        EXPECT_TRUE(list->GetAt(i)->IsVisible()) << i;
    DeleteSlidePictures(pictures);
    EXPECT_TRUE(pictures.empty());
}

TEST_F(OrganizeSlidesTest, TheListShowsEachSlideAndFollowsTheSelection)
{
    Organize([](COrganizeSlidesDialog& dialog) {
        CWMFDragListBox& items = dialog.GetList();
        ASSERT_EQ(items.GetCount(), 3);
        CString text;
        items.GetText(2, text);
        EXPECT_EQ(text, "2");
        EXPECT_EQ(items.GetCurSel(), 0);
        EXPECT_EQ(dialog.GetPreviewPicture(), reinterpret_cast<HENHMETAFILE>(items.GetItemData(0)));
        items.SetCurSel(2);
        EXPECT_EQ(dialog.GetPreviewPicture(), reinterpret_cast<HENHMETAFILE>(items.GetItemData(2)));
        // Nothing selected (the list tells its owner, as a click in the
        // empty part of the list would).
        items.SetCurSel(-1);
        dialog.OnControlNotify(LBN_SELCHANGE, COrganizeSlidesDialog::kListId);
        EXPECT_EQ(dialog.GetPreviewPicture(), nullptr);
        dialog.PressButton(IDCANCEL);
    });
    EXPECT_EQ(Slides(), (std::vector<std::vector<int>>{{1}, {2, 3}, {4}}));
    EXPECT_FALSE(view.modified);
}

TEST_F(OrganizeSlidesTest, DeletingAllButTheFirstLeavesOneSlide)
{
    Organize([](COrganizeSlidesDialog& dialog) {
        CWMFDragListBox& items = dialog.GetList();
        items.SetCurSel(0);
        items.OnKeyDown(VK_DELETE, 1, 0);  // the first item stays
        EXPECT_EQ(items.GetCount(), 3);
        items.SetCurSel(1);
        items.OnKeyDown(VK_DELETE, 1, 0);
        // The item that moved up into the place is selected and previewed.
        EXPECT_EQ(items.GetCurSel(), 1);
        CString text;
        items.GetText(1, text);
        EXPECT_EQ(text, "2");
        EXPECT_EQ(dialog.GetPreviewPicture(), reinterpret_cast<HENHMETAFILE>(items.GetItemData(1)));
        items.OnKeyDown(VK_DELETE, 1, 0);
        // Nothing after it: the last item is selected.
        EXPECT_EQ(items.GetCount(), 1);
        EXPECT_EQ(items.GetCurSel(), 0);
        items.OnKeyDown('A', 1, 0);
        EXPECT_EQ(items.GetCount(), 1);
        dialog.PressButton(IDOK);
    });
    EXPECT_EQ(Slides(), (std::vector<std::vector<int>>{{1}}));
    EXPECT_TRUE(view.modified);
}

TEST_F(OrganizeSlidesTest, DraggedItemsGiveTheNewOrder)
{
    Organize([](COrganizeSlidesDialog& dialog) {
        QListWidget* items = dialog.GetList().list();
        ASSERT_NE(items, nullptr);
        items->insertItem(0, items->takeItem(2));
        dialog.PressButton(IDOK);
        EXPECT_EQ(dialog.GetOrder(), (std::vector<int>{2, 0, 1}));
    });
    EXPECT_EQ(Slides(), (std::vector<std::vector<int>>{{4}, {1}, {2, 3}}));
}

TEST_F(OrganizeSlidesTest, ItemsAreDrawnFromTheirPicturesInvertedWhenSelected)
{
    CWMFDragListBox box;
    MEASUREITEMSTRUCT measure;
    box.MeasureItem(&measure);
    EXPECT_EQ(measure.itemWidth, 160u);
    EXPECT_EQ(measure.itemHeight, 120u);

    HENHMETAFILE picture = HalfBlackPicture();
    for (bool selected : {false, true}) {
        QImage image(160, 120, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            CImageDC dc(image);
            DRAWITEMSTRUCT item;
            item.pDC = &dc;
            item.rcItem = CRect(0, 0, 160, 120);
            item.itemData = reinterpret_cast<DWORD_PTR>(picture);
            item.itemState = selected ? UINT(ODS_SELECTED) : 0u;
            box.DrawItem(&item);
        }
        EXPECT_EQ(IsBlack(image, 20, 60), !selected) << selected;
        EXPECT_EQ(IsBlack(image, 140, 60), selected) << selected;
    }
    DrawContext::DeleteMetafile(picture);
}
