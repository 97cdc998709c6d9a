// The editor as a person uses it, on a real X display: a title, a numbered
// section, a paragraph and an equation with a fraction and an exponent from
// the Element menu are typed, the document is saved through the Save As
// dialog, the program quits; a second run opens the saved file and saves it
// under a second name. Both files hold the same bytes, and reading them back
// gives the styles, the text and the two elements typed.
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <iostream>
#include <memory>
#include <string>

#include "EditorSession.h"
#include "app/CCorvellDoc.h"
#include "foundation/CompList.h"
#include "foundation/ComponentFactory.h"
#include "foundation/FontManager.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"
#include "foundation/Str255.h"
#include "foundation/TextLayoutItemMaker.h"
#include "foundation/TextPrefs.h"
#include "math/CalculusComponents.h"
#include "math/ExponentComp.h"
#include "math/FractionAndDelimiterComponents.h"
#include "math/FractionComp.h"
#include "math/GridAndObjectComponents.h"
#include "math/RefComponents.h"

namespace {

// Paragraph style kinds of the Format menu.
enum StyleKind { kTitle = 0, kSection = 1, kParagraph = 3, kPlainEquation = 5 };

const char* const kTitleText = "Quorvant at work";
const char* const kSectionText = "Introduction";
const char* const kParagraphText = "A paragraph of plain text.";

std::string Text(const CompList* row)
{
    Str255 text;
    if (row)
        row->GetPlainText(text);
    return text.GetText();
}

QByteArray Bytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class EditorEndToEndTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QString reason;
        if (!EditorSession::CanRun(&reason))
            GTEST_SKIP() << reason.toStdString();
        folder = QString(QV_TEST_OUTPUT) + "/editor";
    }

    // Reads a saved file with the document class, as the editor would.
    std::unique_ptr<CCorvellDoc> Read(const QString& path)
    {
        InstallTextLayout();
        RegisterComponentClasses();
        RegisterFractionAndDelimiterComponents();
        RegisterCalculusComponents();
        RegisterGridAndObjectComponents();
        RegisterRefComponents();
        auto doc = std::make_unique<CCorvellDoc>();
        doc->m_bAutoDelete = FALSE;
        if (!doc->OnOpenDocument(path.toUtf8().constData()))
            return nullptr;
        return doc;
    }

    // Chooses a menu item, failing the test with the session's reason.
    void Menu(EditorSession& editor, const char* title, char item)
    {
        ASSERT_TRUE(editor.Menu(title, QChar(item))) << editor.LastError().toStdString();
    }

    void SaveAs(EditorSession& editor, const QString& path)
    {
        QString dialog = editor.WaitForWindow("^Save As$");
        ASSERT_FALSE(dialog.isEmpty()) << "no Save As dialog";
        ASSERT_TRUE(editor.Focus(dialog));
        editor.Type(path);
        editor.Key("Return");
        ASSERT_FALSE(editor.WaitForWindow(QFileInfo(path).fileName()).isEmpty())
            << "the window title does not show " << path.toStdString();
    }

    void Quit(EditorSession& editor)
    {
        ASSERT_TRUE(editor.FocusMain());
        Menu(editor, "&File", 'x');
        int code = editor.WaitForExit();
        EXPECT_EQ(code, 0) << editor.Output().toStdString();
    }

    QString folder;
};

TEST_F(EditorEndToEndTest, TypedDocumentSurvivesSaveQuitReopenAndSaveAgain)
{
    const QString first = folder + "/first.vxm";
    const QString second = folder + "/second.vxm";
    {
        EditorSession editor(folder);
        ASSERT_TRUE(editor.Start({}, "^Quorvant - \\[Quorvant1\\]")) << editor.LastError().toStdString();

        Menu(editor, "F&ormat", 'l');  // Title
        editor.Type(kTitleText);
        editor.Key("Return");
        Menu(editor, "F&ormat", 's');  // Section
        editor.Type(kSectionText);
        editor.Key("Return");
        Menu(editor, "F&ormat", 'a');  // Paragraph
        editor.Type(kParagraphText);
        editor.Key("Return");
        Menu(editor, "F&ormat", 'q');  // Plain Equation
        Menu(editor, "E&lement", 'f');  // Fraction: numerator, Tab, denominator, Tab out
        editor.Type("1");
        editor.Key("Tab");
        editor.Type("2");
        editor.Key("Tab");
        editor.Type("+x");
        Menu(editor, "E&lement", 'e');  // Exponent
        editor.Type("2");
        editor.Screenshot(folder + "/typed.png");

        editor.Key("ctrl+s");
        SaveAs(editor, first);
        editor.Screenshot(folder + "/saved.png");
        Quit(editor);
        if (editor.MenusOpenedByClick() > 0) {
            // Alt+letter should open a menu while a document has the focus.
            std::cout << "[   NOTE   ] " << editor.MenusOpenedByClick()
                      << " menus did not open from the keyboard and were clicked open\n";
            RecordProperty("menus_clicked_open", editor.MenusOpenedByClick());
        }
    }
    ASSERT_TRUE(QFile::exists(first));
    {
        EditorSession editor(folder + "/second-run");
        ASSERT_TRUE(editor.Start({first}, "first\\.vxm")) << editor.LastError().toStdString();
        editor.Screenshot(folder + "/reopened.png");
        Menu(editor, "&File", 'a');  // Save As...
        SaveAs(editor, second);
        Quit(editor);
    }

    const QByteArray saved = Bytes(first);
    ASSERT_FALSE(saved.isEmpty());
    EXPECT_EQ(Bytes(second), saved) << "the reopened document was saved differently";

    TextPrefs prefs;
    FontManager fonts(prefs);
    std::unique_ptr<CCorvellDoc> doc = Read(second);
    ASSERT_TRUE(doc);
    ParagraphList* paragraphs = doc->GetParagraphList();
    ASSERT_GE(paragraphs->GetCount(), 4);
    EXPECT_EQ(paragraphs->GetAt(1)->GetStyleKind(), kTitle);
    EXPECT_EQ(Text(paragraphs->GetAt(1)->GetRow()), kTitleText);
    EXPECT_EQ(paragraphs->GetAt(2)->GetStyleKind(), kSection);
    EXPECT_EQ(Text(paragraphs->GetAt(2)->GetRow()), kSectionText);
    EXPECT_EQ(paragraphs->GetAt(3)->GetStyleKind(), kParagraph);
    EXPECT_EQ(Text(paragraphs->GetAt(3)->GetRow()), kParagraphText);

    ParagraphComp* equation = paragraphs->GetAt(4);
    ASSERT_TRUE(equation);
    EXPECT_EQ(equation->GetStyleKind(), kPlainEquation);
    const CompList* row = equation->GetRow();
    FractionComp* fraction = nullptr;
    ExponentComp* exponent = nullptr;
    for (int i = 1; i <= row->GetCount(); ++i) {
        if (auto* f = dynamic_cast<FractionComp*>(row->GetAt(i)))
            fraction = f;
        if (auto* e = dynamic_cast<ExponentComp*>(row->GetAt(i)))
            exponent = e;
    }
    ASSERT_TRUE(fraction) << "no fraction in the equation";
    EXPECT_EQ(Text(fraction->GetChild(1)), "1");
    EXPECT_EQ(Text(fraction->GetChild(2)), "2");
    ASSERT_TRUE(exponent) << "no exponent in the equation";
    EXPECT_EQ(Text(exponent->GetChild(1)), "2");
    EXPECT_EQ(Text(row), "+x");
}

}  // namespace
