#pragma once
// Shared pieces of the window layer's tests: the test resources, a small
// document/view/frame set that logs what happens to it, and an application
// object made fresh for each test.
#include <QCoreApplication>
#include <QMenu>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "platform/framework/CDocTemplate.h"
#include "platform/framework/CMDIChildWnd.h"
#include "platform/framework/CMDIFrameWnd.h"
#include "platform/framework/CScrollView.h"
#include "platform/framework/CWinApp.h"
#include "platform/framework/ResourceStore.h"

// What happened, in order (documents, frames and views write here).
std::vector<std::string>& EventLog();
void LoadTestResources();
// Runs posted events, deferred deletions included.
void FlushEvents();
// The popup of the frame's menu bar with this title (without its '&'), or null.
QMenu* MenuTitled(CMDIFrameWnd* frame, const QString& title);

class LogDoc : public CDocument {
    DECLARE_DYNCREATE(LogDoc)
public:
    LogDoc();
    ~LogDoc() override;
    BOOL OnNewDocument() override;
    BOOL OnOpenDocument(const char* path) override;
    BOOL OnSaveDocument(const char* path) override;
    static bool failOpen;
    int saves = 0;
};

class LogView : public CScrollView {
    DECLARE_DYNCREATE(LogView)
public:
    LogView();
    ~LogView() override;
    void OnInitialUpdate() override;
    void OnDraw(CDC* dc) override;
    void OnActivateView(BOOL activate, CView*, CView*) override;

    // Key and timer calls as text: "down 9 s", "char 13", "timer 1".
    std::vector<std::string> keys;
    int timerTicks = 0;
    int draws = 0;

protected:
    int OnCreate() override;
    void OnKeyDown(UINT vk, UINT repeat, UINT flags) override;
    void OnChar(UINT ch, UINT repeat, UINT flags) override;
    void OnTimer(UINT_PTR id) override;
    void OnLButtonDown(UINT flags, CPoint point) override;
    void OnLButtonUp(UINT flags, CPoint point) override;
    void OnLButtonDblClk(UINT flags, CPoint point) override;
    void OnMouseMove(UINT flags, CPoint point) override;
    BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message) override;

public:
    std::vector<std::string> mouse;  // "down 5,6 s", "cursor", "move 7,8", ...
};

class LogChildFrame : public CMDIChildWnd {
    DECLARE_DYNCREATE(LogChildFrame)
public:
    LogChildFrame();
    ~LogChildFrame() override;

protected:
    int OnCreate() override;
};

class LogMainFrame : public CMDIFrameWnd {
public:
    LogMainFrame();
};

class LogApp : public CWinApp {
public:
    LogApp();
    BOOL InitInstance() override;
    LogMainFrame* mainFrame = nullptr;
};

// A fresh application with its main frame (not shown) for each test.
class FrameworkTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    LogView* OpenNewView();
    std::unique_ptr<LogApp> app;
    QTemporaryDir settings;  // the recent-file list of each test stays its own
};
