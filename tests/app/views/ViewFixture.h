#pragma once
// A document view as the program makes it (resources, main frame, template,
// a new document), driven headless by keys, commands, clicks and dialogs.
// Beeps, messages and status texts are recorded; the clipboard is a fake.
#include <QCoreApplication>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/CCorvellView.h"
#include "foundation/DocClipboard.h"
#include "foundation/CharComp.h"
#include "foundation/FontFace.h"
#include "foundation/FontManager.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"
#include "foundation/TextPrefs.h"
#include "platform/framework/CDialog.h"
#include "platform/framework/CWinApp.h"
#include "support/FakeClipboard.h"
#include "support/FakeUserInterface.h"

class CMainFrame;

struct ItemState {
    bool enabled = false;
    int check = -1;
    std::string text;
};

class ViewTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    CCorvellDoc* Doc() const { return view->GetDocument(); }
    ParagraphList& Paragraphs() const { return *view->GetParagraphList(); }
    CompList* Row(int paragraph) const { return Paragraphs().GetAt(paragraph)->GetRow(); }
    int Style(int paragraph) const { return Paragraphs().GetAt(paragraph)->GetStyleKind(); }
    // Paragraph i's row, one character per component ('#' for a structure).
    std::string Text(int i) const;
    void Select(int paragraph, int first, int last)
    {
        view->SetSelection(DocSelection(Row(paragraph), first, last), true);
    }
    void PutCaret(int paragraph, int index) { Select(paragraph, index, index); }
    // Key-down, then the character when the key makes one (-1: none).
    void Key(UINT vk, int ch = -1, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void Type(const std::string& text);
    // Text paragraphs each holding `line`.
    void Fill(int paragraphs, const std::string& line);
    void Command(UINT id) { view->OnCmdMsg(id, nullptr); }
    ItemState Update(UINT id);
    // Every dialog shown from now to the end of the test is handled by `hook`.
    void OnDialog(CDialog::ModalHook hook);
    void Mouse(QEvent::Type type, const IntPoint& point, UINT flags = 0);
    void Click(const IntPoint& point, UINT flags = 0)
    {
        Mouse(QEvent::MouseButtonPress, point, flags);
        Mouse(QEvent::MouseButtonRelease, point, flags);
    }
    void ProcessEvents();
    std::string OutputPath(const std::string& name) const;

    FakeUserInterface ui;
    FakeClipboard clipboard;
    TextPrefs prefs;
    std::unique_ptr<FontManager> fonts;
    std::unique_ptr<DocClipboard> docClipboard;
    std::unique_ptr<CWinApp> app;
    CMainFrame* frame = nullptr;
    CCorvellView* view = nullptr;

private:
    CDialog::ModalHook m_oldHook;
    bool m_hooked = false;
};
