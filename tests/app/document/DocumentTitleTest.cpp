// The modified mark in the title, the names an export proposes, ids handed
// to objects, and what the document asks of its main view.
#include "DocumentTestSupport.h"

#include "foundation/DocSelection.h"
#include "platform/framework/CommonDialogs.h"
#include "support/FakeUserInterface.h"
#include "support/ScopedInstall.h"

#include <QDialog>

TEST_F(DocumentTest, TheModifiedMarkIsAddedOnceAndTurnsIntoABlankWhenCleared)
{
    auto doc = NewDocument();
    // Marking twice, and marking and clearing again, does not make the title grow.
    for (int i = 0; i < 3; ++i) {
        doc->SetModifiedFlag(TRUE);
        doc->SetModifiedFlag(TRUE);
        EXPECT_EQ(doc->GetTitle(), "Doc1*");
        doc->SetModifiedFlag(FALSE);
        EXPECT_EQ(doc->GetTitle(), "Doc1 ");
        EXPECT_FALSE(doc->IsModified());
    }

    // The save-changes prompt is asked with the mark taken away.
    doc->SetModifiedFlag(TRUE);
    FakeUserInterface ui;
    ui.ScriptAnswers({IDNO});
    EXPECT_TRUE(doc->SaveModified());
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text.find('*'), std::string::npos) << ui.boxes[0].text;
}

TEST_F(DocumentTest, ExportNamesCutTheTitleAtItsFirstDotWithoutTheMark)
{
    EXPECT_EQ(CCorvellDoc::ProposedExportName("notes.draft.vxm", ".tex", true), "notes.tex");
    EXPECT_EQ(CCorvellDoc::ProposedExportName("my first notes.vxm", ".tex", true), "my_first_notes.tex");
    EXPECT_EQ(CCorvellDoc::ProposedExportName("Doc1*", ".tex", true), "Doc1.tex");
    EXPECT_EQ(CCorvellDoc::ProposedExportName("Doc1 ", ".tex", true), "Doc1.tex");
    EXPECT_EQ(CCorvellDoc::ProposedExportName("notes.vxm*", ".nb", false), "notes.nb");
    EXPECT_EQ(CCorvellDoc::ProposedExportName(".hidden", ".xml", false), ".hidden.xml");

    auto doc = NewDocument();
    doc->SetTitle("two words.vxm");
    doc->SetModifiedFlag(TRUE);
    EXPECT_EQ(doc->ProposedExportName(ID_EXPORT_LATEX), "two_words.tex");
    EXPECT_EQ(doc->ProposedExportName(ID_EXPORT_TECHEXPLORER), "two words.tcx");
    EXPECT_EQ(doc->ProposedExportName(ID_EXPORT_NOTEBOOK), "two words.nb");
}

TEST_F(DocumentTest, ObjectsKeepTheirIdsOrTakeNewOnes)
{
    struct Labelled {
        int32_t id = 0;
        int32_t GetId() const { return id; }
        void SetId(int32_t v) { id = v; }
    };
    auto doc = NewDocument(); // its paragraph holds id 1
    Labelled a, b, loaded{9};
    EXPECT_EQ(doc->AllocId(a), 2);
    EXPECT_EQ(doc->AllocId(loaded), 9);
    EXPECT_EQ(doc->AllocId(b), 10);
    doc->ReleaseId(a);
    Labelled c;
    EXPECT_EQ(doc->AllocId(c), 2);
}

TEST_F(DocumentTest, TheMainViewShowsABadExpression)
{
    auto doc = NewDocument();
    RecordingView view;
    doc->AddView(&view);
    EXPECT_EQ(doc->GetMainView(), &view);

    FakeUserInterface ui;
    doc->ShowBadExpressionMessage(DocSelection());
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, "This document contains a badly formed mathematical expression. Please correct this "
                                "expression and try again.");
    doc->RemoveView(&view);
}

// The save-changes prompt names the document as the user knows it, and a
// save given up (Yes, then Esc in the Save As dialog; Cancel; an escaped Save
// As) leaves the title saying the document is modified.
TEST_F(DocumentTest, ASaveGivenUpLeavesTheTitleMarkedAndThePromptNamesThePlainTitle)
{
    ScopedInstall<CommonDialogHook> escape(SetCommonDialogHook, [](QDialog&) { return int(QDialog::Rejected); });
    for (const char* title : {"Doc1", "a.vxm"}) {
        SCOPED_TRACE(title);
        auto doc = NewDocument();
        doc->SetTitle(title);
        doc->SetModifiedFlag(TRUE);
        const std::string marked = std::string(title) + "*";
        FakeUserInterface ui;
        ui.ScriptAnswers({IDYES, IDCANCEL});
        EXPECT_FALSE(doc->SaveModified());
        EXPECT_FALSE(doc->SaveModified());
        ASSERT_EQ(ui.boxes.size(), 2u);
        EXPECT_EQ(ui.boxes[0].text, std::string("Save changes to ") + title + "?");
        EXPECT_EQ(doc->GetTitle(), marked);
        doc->OnCmdMsg(ID_FILE_SAVE_AS, nullptr);
        EXPECT_EQ(doc->GetTitle(), marked);
        EXPECT_TRUE(doc->IsModified());
    }
}
