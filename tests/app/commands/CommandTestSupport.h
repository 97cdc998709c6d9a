#pragma once
// Shared pieces of the editing-command tests: plain-text documents and a view
// stand-in that records what the commands ask of it.
#include "support/FakeUserInterface.h"
#include "support/model/ModelTestSupport.h"

#include "foundation/ActionView.h"
#include "platform/framework/CDialog.h"
#include "resources/ProgramResources.h"

class RecordingActionView : public ActionView {
public:
    DocSelection GetSelection() const override { return selection; }
    void SetSelection(const DocSelection& s, bool) override { selection = s; }
    void ScrollToShow(const DocSelection&) override { ++scrolls; }
    void UpdateLayoutFrom(int paragraph, int index) override { layouts.push_back({paragraph, index}); }
    void SetDocumentModified() override { modified = true; }
    void InvalidateSelection(const DocSelection&) override {}
    void ShowSelection(const DocSelection& s) override { selection = s; }
    ParagraphList* GetParagraphList() const override { return paragraphs; }

    DocSelection selection;
    ParagraphList* paragraphs = nullptr;
    int scrolls = 0;
    std::vector<std::pair<int, int>> layouts;
    bool modified = false;
};

class CommandTest : public ModelTest {
protected:
    CommandTest() { EXPECT_TRUE(RegisterProgramResources()); }
    ~CommandTest() override { CDialog::SetModalHook(nullptr); }

    // A fresh document, view record and user interface record.
    void MakeDocument(const std::vector<std::string>& lines)
    {
        list = Paragraphs(lines, &doc);
        view = RecordingActionView();
        view.paragraphs = list.get();
        ui.boxes.clear();
        ui.beeps.clear();
    }
    CompList* Row(int paragraph) const { return list->GetAt(paragraph)->GetRow(); }
    DocPosition At(int paragraph, int index) const { return DocPosition(Row(paragraph), index); }
    std::string DocText() const { return Text(*list); }

    TestDocument doc;
    std::unique_ptr<ParagraphList> list;
    RecordingActionView view;
    FakeUserInterface ui;
};
