// The editor as a person uses it, on a real X display: a title, a numbered
// section, a paragraph and an equation with a fraction and an exponent from
// the Element menu are typed and saved; a second run opens the file and saves
// it under a second name. Both files hold the same bytes, and reading them
// back gives the styles, the text and the elements typed.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <gtest/gtest.h>

#include "EditorSession.h"
#include "ModelDocument.h"
#include "app/CCorvellDoc.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"
#include "foundation/Str255.h"
#include "foundation/StyleKinds.h"
#include "math/ExponentComp.h"
#include "math/FractionComp.h"
#include "math/HyperlinkComp.h"
#include "support/PictureCompare.h"

namespace {

std::string Text(const CompList* row)
{
    Str255 text;
    row->GetPlainText(text);
    return text.GetText();
}

QByteArray Bytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Plays steps on the editor: 'M' opens a menu ("F&ormat l": the menu title and
// the item's letter), 'T' types, 'K' presses keys, 'P' takes a screenshot,
// 'S' answers the Save As dialog and waits for the title to show the file;
// then quits the editor.
void Play(EditorSession& editor, const std::vector<std::pair<char, QString>>& steps)
{
    for (const auto& [kind, text] : steps) {
        SCOPED_TRACE(text.toStdString());
        if (kind == 'M')
            ASSERT_TRUE(editor.Menu(text.section(' ', 0, 0), text.back())) << editor.LastError().toStdString();
        else if (kind == 'T')
            editor.Type(text);
        else if (kind == 'K')
            editor.Key(text);
        else if (kind == 'P')
            EXPECT_TRUE(editor.Screenshot(text)) << "no screenshot";
        else if (kind == 'S') {
            QString dialog = editor.WaitForWindow("^Save As$");
            ASSERT_TRUE(!dialog.isEmpty() && editor.Focus(dialog)) << "no Save As dialog";
            editor.Type(text);
            editor.Key("Return");
            ASSERT_NE(editor.WaitForWindow(QFileInfo(text).fileName()), "") << "the title does not show the file";
        }
    }
    ASSERT_TRUE(editor.FocusMain());
    editor.Menu("&File", 'x');
    EXPECT_EQ(editor.WaitForExit(), 0) << editor.Output().toStdString();
}

}  // namespace

TEST(EditorEndToEndTest, TypedDocumentSurvivesSaveQuitReopenAndSaveAgain)
{
    QString reason;
    if (!EditorSession::CanRun(&reason))
        GTEST_SKIP() << reason.toStdString();
    const QString folder = QString(QV_TEST_OUTPUT) + "/editor";
    const QString first = folder + "/first.vxm", second = folder + "/second.vxm";
    {
        EditorSession editor(folder);
        ASSERT_TRUE(editor.Start({}, "^Quorvant - \\[Quorvant1\\]")) << editor.LastError().toStdString();
        // Fraction: numerator, Tab, denominator, Tab out; then an exponent.
        Play(editor, {{'M', "F&ormat l"}, {'T', "Quorvant at work"}, {'K', "Return"},  //
                      {'M', "F&ormat s"}, {'T', "Introduction"}, {'K', "Return"},
                      {'M', "F&ormat a"}, {'T', "A paragraph of plain text."}, {'K', "Return"},
                      {'M', "F&ormat q"}, {'M', "E&lement f"}, {'T', "1"}, {'K', "Tab"}, {'T', "2"}, {'K', "Tab"},
                      {'T', "+x"}, {'M', "E&lement e"}, {'T', "2"}, {'P', folder + "/typed.png"},
                      {'K', "ctrl+s"}, {'S', first}, {'P', folder + "/saved.png"}});
    }
    ASSERT_FALSE(HasFatalFailure());
    {
        EditorSession editor(folder + "/second-run");
        ASSERT_TRUE(editor.Start({first}, "first\\.vxm")) << editor.LastError().toStdString();
        Play(editor, {{'P', folder + "/reopened.png"}, {'M', "&File a"}, {'S', second}});
    }
    const QByteArray saved = Bytes(first);
    ASSERT_FALSE(saved.isEmpty());
    EXPECT_EQ(Bytes(second), saved) << "the reopened document was saved differently";

    ModelDocument model;
    CCorvellDoc& doc = model.doc;
    ASSERT_TRUE(doc.OnOpenDocument(second.toUtf8().constData()));
    ParagraphList* paragraphs = doc.GetParagraphList();
    ASSERT_GE(paragraphs->GetCount(), 4);
    // Style kinds of the Format menu: title, section, paragraph, plain equation.
    const std::pair<int, std::string> expected[] = {
        {0, "Quorvant at work"}, {1, "Introduction"}, {3, "A paragraph of plain text."}, {5, "+x"}};
    for (int i = 1; i <= 4; ++i) {
        EXPECT_EQ(paragraphs->GetAt(i)->GetStyleKind(), expected[i - 1].first) << i;
        EXPECT_EQ(Text(paragraphs->GetAt(i)->GetRow()), expected[i - 1].second) << i;
    }
    const CompList* row = paragraphs->GetAt(4)->GetRow();
    FractionComp* fraction = nullptr;
    ExponentComp* exponent = nullptr;
    for (int i = 1; i <= row->GetCount(); ++i) {
        fraction = fraction ? fraction : dynamic_cast<FractionComp*>(row->GetAt(i));
        exponent = exponent ? exponent : dynamic_cast<ExponentComp*>(row->GetAt(i));
    }
    ASSERT_TRUE(fraction && exponent) << "the equation lacks the fraction or the exponent";
    EXPECT_EQ(Text(fraction->GetChild(1)), "1");
    EXPECT_EQ(Text(fraction->GetChild(2)), "2");
    EXPECT_EQ(Text(exponent->GetChild(1)), "2");
}

namespace {

// How much of an area of a screenshot is the grey of the empty window area
// behind the documents.
double GreyShare(const QImage& shot, const QRect& area)
{
    int grey = 0, all = 0;
    for (int y = area.top(); y <= area.bottom(); y += 4)
        for (int x = area.left(); x <= area.right(); x += 4, ++all) {
            const QRgb pixel = shot.pixel(x, y);
            grey += qRed(pixel) == qGreen(pixel) && qGreen(pixel) == qBlue(pixel) && qRed(pixel) > 100 && qRed(pixel) < 200;
        }
    return all ? double(grey) / all : 0;
}

}  // namespace

// A first user's session: the editor is started on a damaged file, says so and
// stays open with a new document; text with accents and Greek letters pasted
// from another program (under both text forms) or typed comes back out
// unchanged through Select All and Copy; a document opened beside the
// maximised one fills the window.
TEST(EditorEndToEndTest, ADamagedFileLeavesTheEditorOpenAndForeignUtf8TextSurvivesPasteAndCopy)
{
    QString reason;
    if (!EditorSession::CanRun(&reason))
        GTEST_SKIP() << reason.toStdString();
    const QString folder = QString(QV_TEST_OUTPUT) + "/characters";
    const QString typed = QString::fromUtf8(" \xc3\xb1 \xce\xb4\xe2\x82\xac"); // " ñ δ€", the euro refused
    EditorSession editor(folder, typed);
    const QString damaged = folder + "/damaged.vxm", saved = folder + "/pasted.vxm";
    QFile file(damaged);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("\x34\x08\x00\x00\x05\x00not a document", 20));
    file.close();

    ASSERT_TRUE(editor.Start({damaged}, "^Quorvant$")) << editor.LastError().toStdString();
    EXPECT_TRUE(editor.Screenshot(folder + "/damaged-message.png"));
    editor.Key("Return");
    ASSERT_TRUE(editor.WaitForMainWindow("^Quorvant - \\[Quorvant1\\]")) << editor.LastError().toStdString();
    EXPECT_TRUE(editor.Screenshot(folder + "/after-message.png"));

    const QByteArray text = "\xce\xb1\xce\xb2\xce\xb3 \xe2\x88\xab \xc3\xa9 \xc3\xa8 \xc3\xbc";  // "αβγ ∫ é è ü"
    ASSERT_TRUE(editor.PutClipboard(text, "UTF8_STRING"));
    ASSERT_TRUE(editor.FocusMain());
    ASSERT_TRUE(editor.Menu("F&ormat", 'a'));  // a text paragraph
    editor.Key("ctrl+v");
    editor.Type(typed);
    editor.Key("Return");
    ASSERT_TRUE(editor.PutClipboard(text, "text/plain;charset=utf-8"));
    ASSERT_TRUE(editor.FocusMain());
    ASSERT_TRUE(editor.Menu("F&ormat", 'q'));  // an equation
    editor.Key("ctrl+v");
    EXPECT_TRUE(editor.Screenshot(folder + "/pasted.png"));
    EXPECT_EQ(editor.Copied([&] {
        ASSERT_TRUE(editor.Menu("&Edit", 'l')); // Select All
        editor.Key("ctrl+c");
    }),
              text + " \xc3\xb1 \xce\xb4\n" + text);

    // A document opened while a maximised one is shown is maximised too and
    // covers the window's document area.
    editor.Key("ctrl+s");
    QString dialog = editor.WaitForWindow("^Save As$");
    ASSERT_TRUE(!dialog.isEmpty() && editor.Focus(dialog)) << "no Save As dialog";
    editor.Type(saved);
    editor.Key("Return");
    ASSERT_NE(editor.WaitForWindow("pasted\\.vxm"), "");
    ASSERT_TRUE(editor.Menu("&File", 'c'));  // Close
    editor.Key("ctrl+n");
    editor.Key("ctrl+o");
    dialog = editor.WaitForWindow("^Open$");
    ASSERT_TRUE(!dialog.isEmpty() && editor.Focus(dialog)) << "no Open dialog";
    editor.Type(saved);
    editor.Key("Return");
    ASSERT_NE(editor.WaitForWindow("pasted\\.vxm"), "");
    const QString shot = folder + "/opened-beside-maximised.png";
    ASSERT_TRUE(editor.Screenshot(shot));
    const QImage image(shot);
    ASSERT_FALSE(image.isNull());
    EXPECT_LT(GreyShare(image, QRect(image.width() * 2 / 3, image.height() / 2, image.width() / 4, image.height() / 3)), 0.05)
        << "the empty grey area shows beside the opened document";

    ASSERT_TRUE(editor.FocusMain());
    editor.Menu("&File", 'x');
    EXPECT_EQ(editor.WaitForExit(), 0) << editor.Output().toStdString();
}

namespace {

// A document of one plain paragraph: the text, then a link when one is given.
bool WriteLinkedDocument(const QString& path, const char* text, const char* linkUrl = nullptr)
{
    ModelDocument model;
    auto* paragraph = new ParagraphComp(StyleKind::kPlain);
    model.doc.GetParagraphList()->Append(paragraph);
    paragraph->AppendString(Str255(text));
    if (linkUrl)
        paragraph->GetRow()->Append(new HyperlinkComp(Str255(linkUrl), Str255("the other document"), true));
    return model.doc.OnSaveDocument(path.toUtf8().constData());
}

// The smallest rectangle holding every dark pixel of an area (the ink).
QRect InkBox(const QImage& shot, const QRect& area)
{
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(shot.pixel(x, y)) < 128)
                box |= QRect(x, y, 1, 1);
    return box;
}

} // namespace

// A link followed to another document opens it in a second window; the
// first window, brought back through the Window menu, paints its document
// again (and takes what is typed there on the screen).
TEST(EditorEndToEndTest, AfterFollowingALinkTheFirstWindowStillPaintsItsDocument)
{
    QString reason;
    if (!EditorSession::CanRun(&reason))
        GTEST_SKIP() << reason.toStdString();
    const QString folder = QString(QV_TEST_OUTPUT) + "/follow-link";
    EditorSession editor(folder);
    const QString first = folder + "/first.vxm";
    ASSERT_TRUE(WriteLinkedDocument(first, "Read ", "other.vxm"));
    ASSERT_TRUE(WriteLinkedDocument(folder + "/other.vxm", "The linked document opened."));
    ASSERT_TRUE(editor.Start({first}, "first\\.vxm")) << editor.LastError().toStdString();

    // The document area: below the menus and the toolbar, above the status bar.
    const QRect window = editor.MainWindowRect();
    const QRect area = window.adjusted(0, 60, 0, -40);
    QImage before;
    QRect ink;
    ASSERT_TRUE(editor.WaitUntil([&] {
        before = editor.Grab();
        ink = before.isNull() ? QRect() : InkBox(before, area);
        return ink.width() > 100;
    })) << "the first document is not shown";
    before.save(folder + "/before.png");
    // The link is the right end of the line of text.
    editor.Click(ink.right() - 20, ink.center().y());
    ASSERT_NE(editor.WaitForWindow("other\\.vxm"), "") << "the link did not open the other document";

    ASSERT_TRUE(editor.FocusMain());
    ASSERT_TRUE(editor.Menu("&Window", '1')) << editor.LastError().toStdString();
    ASSERT_NE(editor.WaitForWindow("first\\.vxm"), "");
    QImage after;
    const bool painted = editor.WaitUntil([&] {
        after = editor.Grab();
        return !after.isNull() && DifferentPixels(before.copy(ink), after.copy(ink), 16) == 0;
    });
    after.save(folder + "/after.png");
    EXPECT_TRUE(painted) << "the first window does not show its document again";

    // Typed text shows at once, after the link.
    editor.Key("End");
    editor.Type("!!");
    EXPECT_TRUE(editor.WaitUntil([&] {
        const QImage typed = editor.Grab();
        return !typed.isNull() && InkBox(typed, area).right() > ink.right() + 4;
    })) << "what is typed does not show";
    EXPECT_EQ(editor.QuitDiscarding(), 0) << editor.Output().toStdString();
}
