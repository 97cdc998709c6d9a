#pragma once
// Shared pieces of the editing-command tests: documents of plain paragraphs
// built from text, a view stand-in that keeps its selection and records what
// the commands ask of it, and a scripted run of a modal dialog.
#include "support/FakeUserInterface.h"
#include "support/model/ModelTestSupport.h"

#include "foundation/ActionView.h"
#include "foundation/DocSelection.h"
#include "platform/framework/CDialog.h"
#include "resources/ProgramResources.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class RecordingActionView : public ActionView {
public:
    DocSelection GetSelection() const override { return selection; }
    void SetSelection(const DocSelection& s, bool redraw) override
    {
        selection = s;
        redrawnSelections += redraw ? 1 : 0;
    }
    void ScrollToShow(const DocSelection&) override { ++scrolls; }
    void UpdateLayoutFrom(int paragraphIndex, int index) override { layouts.push_back({paragraphIndex, index}); }
    void SetDocumentModified() override { modified = true; }
    void InvalidateSelection(const DocSelection&) override {}
    void ShowSelection(const DocSelection& s) override { selection = s; }
    ParagraphList* GetParagraphList() const override { return paragraphs; }

    DocSelection selection;
    ParagraphList* paragraphs = nullptr;
    int redrawnSelections = 0;
    int scrolls = 0;
    std::vector<std::pair<int, int>> layouts;
    bool modified = false;
};

class CommandTest : public ModelTest {
protected:
    CommandTest()
    {
        QString error;
        EXPECT_TRUE(RegisterProgramResources(&error)) << error.toStdString();
    }
    ~CommandTest() override { CDialog::SetModalHook(m_previousHook); }

    void MakeDocument(const std::vector<std::string>& lines)
    {
        list = Paragraphs(lines, &doc);
        view.paragraphs = list.get();
    }
    CompList* Row(int paragraph) const { return list->GetAt(paragraph)->GetRow(); }
    DocPosition At(int paragraph, int index) const { return DocPosition(Row(paragraph), index); }
    DocSelection Range(int paragraph, int first, int last) const { return DocSelection(Row(paragraph), first, last); }
    void Select(const DocSelection& selection) { view.selection = selection; }
    std::string DocText() const { return Text(*list); }

    // Modal dialogs run the script instead of waiting for the user.
    void Script(std::function<void(CDialog&)> script)
    {
        CDialog::ModalHook old = CDialog::SetModalHook(std::move(script));
        if (!m_hookSet)
            m_previousHook = old;
        m_hookSet = true;
    }

    TestDocument doc;
    std::unique_ptr<ParagraphList> list;
    RecordingActionView view;
    FakeUserInterface ui;

private:
    CDialog::ModalHook m_previousHook;
    bool m_hookSet = false;
};
