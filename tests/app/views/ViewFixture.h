#pragma once
// The editor's document view as the program makes it: the program's
// resources, a main frame, the document template, and a new document whose
// view the tests drive with keys, commands and mouse clicks, headless. Beeps,
// messages and status texts are recorded; the clipboard is a fake.
#include <QCoreApplication>
#include <QKeyEvent>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/CCorvellView.h"
#include "foundation/DocClipboard.h"
#include "foundation/FontManager.h"
#include "foundation/TextPrefs.h"
#include "platform/framework/CCmdUI.h"
#include "platform/framework/CDialog.h"
#include "platform/framework/CWinApp.h"
#include "support/FakeClipboard.h"
#include "support/FakeUserInterface.h"

class CCorvellDoc;
class CMainFrame;
class ParagraphComp;

class ViewTestApp : public CWinApp {
public:
    ViewTestApp() : CWinApp("Quorvant") {}
    BOOL InitInstance() override;
    CMainFrame* frame = nullptr;
};

// What the update handlers answer for an item, with the text kept.
struct ItemState {
    bool enabled = false;
    int check = -1;
    bool textSet = false;
    std::string text;
};

class ViewTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A new document in its own window; the view is the new one.
    CCorvellView* OpenNew();
    CCorvellView* Open(const std::string& path);
    CCorvellDoc* Doc() const;
    ParagraphList& Paragraphs() const { return *view->GetParagraphList(); }

    // A key as the window delivers it: key-down, then the character when the
    // key makes one (-1: none).
    void Key(UINT vk, int ch = -1, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void Type(const std::string& text);
    void Command(UINT id);
    ItemState Update(UINT id);
    // Clicks (press and release) at a document point.
    void Click(const IntPoint& point, UINT flags = 0);
    void MouseDown(const IntPoint& point, UINT flags = 0);
    void MouseUp(const IntPoint& point, UINT flags = 0);

    // The text of paragraph i, one character per component ('#' for a structure).
    std::string Text(int i) const;
    int Style(int i) const;
    // The caret at index (1-based) of paragraph i's row.
    void PutCaret(int paragraph, int index);
    void Select(int paragraph, int first, int last);
    void ProcessEvents();
    std::string OutputPath(const std::string& name) const;

    FakeUserInterface ui;
    FakeClipboard clipboard;
    TextPrefs prefs;
    std::unique_ptr<FontManager> fonts;
    std::unique_ptr<DocClipboard> docClipboard;
    std::unique_ptr<ViewTestApp> app;
    CCorvellView* view = nullptr;
};
