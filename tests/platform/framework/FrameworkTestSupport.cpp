#include "FrameworkTestSupport.h"

#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>

#include "platform/AppProfile.h"
#include "platform/framework/CDocument.h"
#include "platform/framework/KeyTranslation.h"

std::vector<std::string>& EventLog()
{
    static std::vector<std::string> log;
    return log;
}

void LoadTestResources()
{
    QString error;
    ASSERT_TRUE(ResourceStore::instance().loadFile(QV_TEST_DATA "/framework_test.json", &error))
        << error.toStdString();
}

void FlushEvents()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

IMPLEMENT_DYNCREATE(LogDoc, CDocument)
bool LogDoc::failOpen = false;

LogDoc::LogDoc()
{
    EventLog().push_back("document created");
    MapCommand(40001, [] { EventLog().push_back("40001 document"); });
    MapCommand(40002, [] { EventLog().push_back("40002 document"); });
}

LogDoc::~LogDoc() { EventLog().push_back("document deleted"); }

BOOL LogDoc::OnNewDocument()
{
    POSITION pos = GetFirstViewPosition();
    EventLog().push_back(GetNextView(pos) ? "new document (view exists)" : "new document (no view)");
    return CDocument::OnNewDocument();
}

BOOL LogDoc::OnOpenDocument(const char* path)
{
    EventLog().push_back("open document");
    return failOpen ? FALSE : CDocument::OnOpenDocument(path);
}

BOOL LogDoc::OnSaveDocument(const char* path)
{
    ++saves;
    EventLog().push_back("save document");
    return CDocument::OnSaveDocument(path);
}

IMPLEMENT_DYNCREATE(LogView, CScrollView)

LogView::LogView() { MapCommand(40001, [] { EventLog().push_back("40001 view"); }); }

LogView::~LogView() { EventLog().push_back("view deleted"); }

int LogView::OnCreate() { EventLog().push_back("view created"); return 0; }

void LogView::OnInitialUpdate()
{
    EventLog().push_back("initial update");
    SetScrollSizes(MM_TEXT, CSize(1000, 4000));
    CScrollView::OnInitialUpdate();
}

void LogView::OnDraw(CDC*) { ++draws; }

void LogView::OnActivateView(BOOL activate, CView*, CView*)
{
    EventLog().push_back(activate ? "view activated" : "view deactivated");
}

static std::string modifierText()
{
    std::string text;
    if (GetKeyState(VK_SHIFT) < 0)
        text += " s";
    if (GetKeyState(VK_CONTROL) < 0)
        text += " c";
    return text;
}

void LogView::OnKeyDown(UINT vk, UINT, UINT) { keys.push_back("down " + std::to_string(vk) + modifierText()); }

void LogView::OnChar(UINT ch, UINT, UINT) { keys.push_back("char " + std::to_string(ch)); }

void LogView::OnTimer(UINT_PTR id) { ++timerTicks; keys.push_back("timer " + std::to_string(id)); }

static std::string at(UINT flags, CPoint p)
{
    std::string text = " " + std::to_string(p.x) + "," + std::to_string(p.y);
    if (flags & MK_SHIFT)
        text += " s";
    if (flags & MK_CONTROL)
        text += " c";
    return text;
}

void LogView::OnLButtonDown(UINT flags, CPoint p) { mouse.push_back("down" + at(flags, p)); SetCapture(); }

void LogView::OnLButtonUp(UINT flags, CPoint p)
{
    mouse.push_back("up" + at(flags, p) + (GetCapture() == this ? " captured" : ""));
    ReleaseCapture();
}

void LogView::OnLButtonDblClk(UINT flags, CPoint p) { mouse.push_back("double" + at(flags, p)); }

void LogView::OnMouseMove(UINT flags, CPoint p) { mouse.push_back("move" + at(flags, p)); }

BOOL LogView::OnSetCursor(CWnd*, UINT hitTest, UINT)
{
    mouse.push_back(hitTest == HTCLIENT ? "cursor" : "cursor?");
    SetCursorShape(Qt::IBeamCursor);
    return TRUE;
}

IMPLEMENT_DYNCREATE(LogChildFrame, CMDIChildWnd)

LogChildFrame::LogChildFrame()
{
    MapCommand(40001, [] { EventLog().push_back("40001 child frame"); });
    MapCommand(40002, [] { EventLog().push_back("40002 child frame"); });
    MapCommand(40003, [] { EventLog().push_back("40003 child frame"); });
}

LogChildFrame::~LogChildFrame() { EventLog().push_back("frame deleted"); }

int LogChildFrame::OnCreate() { EventLog().push_back("frame created"); return 0; }

LogMainFrame::LogMainFrame()
{
    for (UINT id : {40001u, 40002u, 40003u, 40004u})
        MapCommand(id, [id] { EventLog().push_back(std::to_string(id) + " main frame"); });
}

LogApp::LogApp() : CWinApp("Quorvant")
{
    for (UINT id : {40001u, 40002u, 40003u, 40004u, 40005u})
        MapCommand(id, [id] { EventLog().push_back(std::to_string(id) + " application"); });
    MapCommandRange(41000, 41010, [](UINT id) { EventLog().push_back("range " + std::to_string(id)); });
    MapUpdate(40005, [](CCmdUI* ui) {
        ui->Enable(FALSE);
        ui->SetCheck(1);
        ui->SetText("Five (off)");
    });
}

BOOL LogApp::InitInstance()
{
    LoadStdProfileSettings(4);
    AddDocTemplate(new CMultiDocTemplate(129, RUNTIME_CLASS(LogDoc), RUNTIME_CLASS(LogChildFrame),
                                         RUNTIME_CLASS(LogView)));
    mainFrame = new LogMainFrame;
    if (!mainFrame->LoadFrame(128))
        return FALSE;
    m_pMainWnd = mainFrame;
    mainFrame->widget()->resize(800, 600);
    return TRUE;
}

void FrameworkTest::SetUp()
{
    LoadTestResources();
    AppProfile::SetFolder(settings.path());
    EventLog().clear();
    LogDoc::failOpen = false;
    app = std::make_unique<LogApp>();
    ASSERT_TRUE(app->InitInstance());
}

void FrameworkTest::TearDown()
{
    app->CloseAllDocuments(FALSE);
    if (app->m_pMainWnd)
        app->m_pMainWnd->DestroyWindow();
    FlushEvents();
    app.reset();
    FlushEvents();
    AppProfile::SetFolder(QString());
}

QMenu* MenuTitled(CMDIFrameWnd* frame, const QString& title)
{
    for (QAction* a : frame->mainWindow()->menuBar()->actions())
        if (a->menu() && a->text().remove('&') == title)
            return a->menu();
    return nullptr;
}

LogView* FrameworkTest::OpenNewView()
{
    app->OnFileNew();
    CMDIChildWnd* child = app->mainFrame->MDIGetActive();
    return child ? dynamic_cast<LogView*>(child->GetActiveView()) : nullptr;
}
