#include "ActionFixture.h"

#include "support/FakeClipboard.h"

#include "foundation/ActionSupport.h"
#include "foundation/DocClipboard.h"
#include "foundation/DrawContext.h"
#include "foundation/DrawTarget.h"
#include "foundation/PictureSource.h"
#include "foundation/TCopyAsActions.h"
#include "platform/draw/ImageDC.h"

#include <QImage>

namespace {

class ImageView : public DrawTarget {
public:
    CDC* CreateTargetDC() override { return new CImageDC(image); }
    void PrepareTargetDC(CDC*) override {}
    IntPoint TargetScrollPosition() const override { return {}; }
    int TargetSizeLevel() const override { return DrawContext::kDefaultBaseSize; }
    void InvalidateTargetRect(const Rect&, bool) override {}
    void ShowTargetRect(const Rect&) override {}
    QImage image{400, 300, QImage::Format_RGB32};
};

// A picture component that hands out copies of its picture.
class OwnPicture : public TestFraction, public PictureSource {
public:
    explicit OwnPicture(EnhMetafile picture) : m_picture(std::move(picture)) {}
    void GetTag(TypeTag& out) const override { out = tag_Meta; }
    HENHMETAFILE CopyPicture() override { return CopyEnhMetaFile(&m_picture); }

private:
    EnhMetafile m_picture;
};

class CopyAsTest : public ActionTest {
protected:
    CopyAsTest()
    {
        dc = std::make_unique<CImageDC>(target.image);
        gDrawContext.BeginDrawOnDC(&target, dc.get());
        list.RelayoutAll(false);
    }
    ~CopyAsTest() override
    {
        gDrawContext.EndDraw();
        TCopyMathMLAction::SetWriter(nullptr);
    }

    // A picture recorded from drawing a line.
    static EnhMetafile RecordedPicture()
    {
        gDrawContext.BeginMetafile(gDrawContext.GetTarget(), Rect(0, 0, 50, 20));
        gDrawContext.GetDC()->MoveTo(0, 0);
        gDrawContext.GetDC()->LineTo(40, 10);
        HENHMETAFILE recorded = gDrawContext.EndMetafile();
        EnhMetafile copy = *recorded;
        DrawContext::DeleteMetafile(recorded);
        return copy;
    }

    ImageView target;
    std::unique_ptr<CImageDC> dc;
    FakeClipboard system;
    DocClipboard clipboard;
};

TEST_F(CopyAsTest, ASelectionOfTextIsCopiedAsARecordedPicture)
{
    ASSERT_TRUE(Run(new TCopyMetafileAction(Range(2, 1, 2, 6))));
    ASSERT_TRUE(system.content.metafile.has_value());
    const auto& bytes = *system.content.metafile;
    EXPECT_TRUE(EnhMetafile(QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()))).IsValid());
    EXPECT_TRUE(system.content.png.has_value());
}

TEST_F(CopyAsTest, APictureAloneIsCopiedAsItsOwnPicture)
{
    EnhMetafile picture = RecordedPicture();
    ASSERT_TRUE(picture.IsValid());
    Row(3)->InsertAt(new OwnPicture(picture), 2);
    ASSERT_TRUE(Run(new TCopyMetafileAction(Range(3, 2, 3, 3))));
    ASSERT_TRUE(system.content.metafile.has_value());
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(system.content.metafile->data()),
                         qsizetype(system.content.metafile->size())),
              picture.Bytes());
}

TEST_F(CopyAsTest, MathMLTextGoesOnTheClipboardAndUndoPutsTheEarlierContentBack)
{
    ASSERT_TRUE(Run(new TCopyAction(Range(2, 1, 2, 3))));
    TCopyMathMLAction::SetWriter([](const DocSelection&) { return std::string("<math><mi>x</mi></math>"); });
    ASSERT_TRUE(Run(new TCopyMathMLAction(Range(1, 7, 1, 8))));
    ASSERT_TRUE(system.content.mathml.has_value());
    EXPECT_EQ(*system.content.mathml, "<math><mi>x</mi></math>");
    EXPECT_EQ(*system.content.text, "<math><mi>x</mi></math>");
    host.UndoOrRedo();
    EXPECT_EQ(*system.content.text, "he");
    EXPECT_FALSE(system.content.mathml.has_value());

    // Without a writer the clipboard is left as it was.
    const int puts = system.putCount;
    ASSERT_TRUE(Run(new TCopySVGAction(Range(1, 7, 1, 8))));
    EXPECT_EQ(system.putCount, puts);
    EXPECT_EQ(*system.content.text, "he");

    // MathML copied, then a copy: Undo puts the MathML back, and it pastes
    // as its text. The Paste item asked between the two (its paragraphs
    // made, as in a dialog's editor) changes nothing of that.
    ASSERT_TRUE(Run(new TCopyMathMLAction(Range(1, 7, 1, 8))));
    EXPECT_TRUE(clipboard.CanPasteAt(At(3, 1)));
    EXPECT_FALSE(clipboard.CanPasteAt(DocSelection::SelectObject(fraction).GetStart()));
    ASSERT_NE(clipboard.GetContentCopy().GetStart().GetParagraph(), nullptr);
    ASSERT_TRUE(Run(new TCopyAction(Range(2, 1, 2, 3))));
    host.UndoOrRedo();
    EXPECT_EQ(system.content.mathml, "<math><mi>x</mi></math>");
    DocSelection pasted = clipboard.GetContent();
    ASSERT_NE(pasted.GetStart().GetParagraph(), nullptr);
    EXPECT_EQ(DocClipboard::PlainText(*pasted.GetStart().GetParagraph()), "<math><mi>x</mi></math>");
    ActionSupport::DestroyFragment(pasted);
}

} // namespace
