// Organize Slides: one picture per slide in a list that follows the
// selection, deletes with the Delete key and reorders by dragging; the order
// is applied on OK.
#include "CommandTestSupport.h"
#include "app/SlideList.h"
#include "app/SlideOrganizer.h"
#include "foundation/DrawContext.h"
#include "foundation/DrawTarget.h"
#include "platform/draw/ImageDC.h"
#include <QImage>
#include <QApplication>
#include <QListWidget>
#include <QMouseEvent>

using Order = std::vector<std::vector<int>>;
using Script = std::function<void(COrganizeSlidesDialog&, CWMFDragListBox&)>;

class OrganizeSlidesTest : public CommandTest, public DrawTarget {
protected:
    CDC* CreateTargetDC() override { return new CImageDC(image); }
    void PrepareTargetDC(CDC*) override {}
    IntPoint TargetScrollPosition() const override { return {}; }
    int TargetSizeLevel() const override { return DrawContext::kDefaultBaseSize; }
    void InvalidateTargetRect(const Rect&, bool) override {}
    void ShowTargetRect(const Rect&) override {}

    // The paragraphs of each slide after the script ran the dialog on {1}, {2, 3}, {4}.
    Order Organize(const Script& script)
    {
        MakeDocument({"first", "second", "third", "fourth"});
        SlideList slides(list.get());
        for (auto [first, last] : {std::pair(1, 1), {2, 3}, {4, 4}}) {
            if (first > 1)
                slides.NewSlide();
            slides.AddSelection(DocSelection(At(first, 1), At(last, 1)));
        }
        CDialog::SetModalHook([script](CDialog& dialog) {
            auto& organizer = dynamic_cast<COrganizeSlidesDialog&>(dialog);
            script(organizer, organizer.GetList());
        });
        gDrawContext.BeginDraw(this);
        list->RelayoutAll(false);
        OrganizeSlides(view, slides, nullptr);
        gDrawContext.EndDraw();
        Order all(size_t(slides.GetCount()));
        for (int s = 0; s < slides.GetCount(); ++s)
            for (int32_t i = 0; i < slides.GetSlide(s)->GetCount(); ++i)
                all[size_t(s)].push_back(list->IndexOf(slides.GetSlide(s)->GetAt(i)));
        return all;
    }

    QImage image{800, 600, QImage::Format_RGB32};
};

TEST_F(OrganizeSlidesTest, DeletedAndDraggedItemsGiveTheNewOrder)
{
    Order order = Organize([](COrganizeSlidesDialog& dialog, CWMFDragListBox& items) {
        auto picture = [&](int i) { return reinterpret_cast<HENHMETAFILE>(items.GetItemData(i)); };
        ASSERT_EQ(items.GetCount(), 3);
        CString text;
        items.GetText(2, text);
        EXPECT_EQ(text, "2");
        EXPECT_NE(picture(2), nullptr);
        EXPECT_EQ(dialog.GetPreviewPicture(), picture(0));
        // A press on an item (as a click or a drag starts) previews it.
        QWidget* area = items.list()->viewport();
        const QPoint at = items.list()->visualItemRect(items.list()->item(2)).center();
        QMouseEvent press(QEvent::MouseButtonPress, at, area->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(area, &press);
        EXPECT_EQ(items.GetCurSel(), 2);
        EXPECT_EQ(dialog.GetPreviewPicture(), picture(2));
        // A click in the empty part of the list selects nothing.
        items.SetCurSel(-1);
        dialog.OnControlNotify(LBN_SELCHANGE, COrganizeSlidesDialog::kListId);
        EXPECT_EQ(dialog.GetPreviewPicture(), nullptr);
        items.SetCurSel(0);
        items.OnKeyDown(VK_DELETE, 1, 0);  // the first item stays
        items.OnKeyDown('A', 1, 0);
        EXPECT_EQ(items.GetCount(), 3);
        items.SetCurSel(1);
        items.OnKeyDown(VK_DELETE, 1, 0);
        // The item that moved up into the place is selected and previewed.
        EXPECT_EQ(items.GetCurSel(), 1);
        EXPECT_EQ(dialog.GetPreviewPicture(), picture(1));
        items.list()->insertItem(0, items.list()->takeItem(1));
        dialog.PressButton(IDOK);
        EXPECT_EQ(dialog.GetOrder(), (std::vector<int>{2, 0}));
    });
    EXPECT_EQ(order, (Order{{4}, {1}}));
    EXPECT_TRUE(view.modified);
    for (int i = 1; i <= list->GetCount(); ++i)
        EXPECT_TRUE(list->GetAt(i)->IsVisible()) << i;  // shown again after the pictures are taken
}
