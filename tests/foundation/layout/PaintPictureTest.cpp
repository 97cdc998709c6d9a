// A laid-out document of every paragraph style painted into an image and
// compared with the reference picture kept with the tests.
#include "LayoutTestSupport.h"

#include "support/PictureCompare.h"

#include <QDir>
#include <QImage>

TEST_F(LayoutTest, ADocumentOfEveryStylePaintsLikeItsReference)
{
    ParagraphList list(&document);
    list.Append(Paragraph(0, "Quorvant Layout"));
    list.Append(Paragraph(1, "Paragraph styles"));
    list.Append(Paragraph(3, "Plain paragraphs are justified: every line but the last ends exactly at the right "
                             "edge of the page, the slack being spread over the blanks between the words. The "
                             "last line keeps its natural spacing."));
    list.Append(Paragraph(2, "A heading"));
    list.Append(Paragraph(4, "An enumerated item whose text is long enough to need a second line, which starts "
                             "under the text and not under the number."));
    list.Append(Paragraph(9, "A sub-item"));
    list.Append(Paragraph(9, "Another sub-item"));
    list.Append(Paragraph(4, "The next item"));
    list.Append(Paragraph(8, "A bullet"));
    list.Append(Paragraph(10, "A dash"));
    ParagraphComp* equation = Paragraph(5, "x+y=z");
    equation->GetRow()->Append(new FixedBox(30));
    list.Append(equation);
    list.Append(Paragraph(6, "a=b+c"));
    list.Append(Paragraph(7, "for (i = 0; i < n; ++i)"));
    list.Append(Paragraph(7, "    sum += i;"));
    list.RelayoutAll(false);
    Rect last;
    list.GetAt(list.GetCount())->GetAbsBounds(last);
    ASSERT_LT(last.bottom, image.height());

    list.PaintRange(Rect(0, 0, image.width(), image.height()));
    gDrawContext.EndDraw();

    QDir().mkpath(QV_TEST_OUTPUT);
    image.save(QString(QV_TEST_OUTPUT) + "/AllStyles.png");
    const QImage reference = LoadReference(image, QString(QV_TEST_DATA) + "/AllStyles.png");
    ASSERT_FALSE(reference.isNull()) << "no reference picture; the painted one is in " << QV_TEST_OUTPUT;
    ASSERT_EQ(reference.size(), image.size());
    EXPECT_LE(DifferentPixels(image, reference, 48), image.width() * image.height() / 500);
}
