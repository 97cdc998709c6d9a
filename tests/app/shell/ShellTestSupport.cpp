#include "ShellTestSupport.h"

#include <QCoreApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <chrono>

#include "foundation/DocClipboard.h"
#include "foundation/FontManager.h"
#include "foundation/StyleTable.h"
#include "platform/AppProfile.h"
#include "platform/framework/CCmdUI.h"
#include "platform/framework/CMDIChildWnd.h"
#include "platform/framework/CMDIFrameWnd.h"
#include "platform/framework/CWnd.h"

FakeKernelLink::~FakeKernelLink()
{
    if (m_worker.joinable()) {
        m_calls->push_back("deleted while the start-up worker runs");
        m_cancel = true;
        m_worker.join();
    }
    m_calls->push_back("link deleted");
}

void FakeKernelLink::StartKernel()
{
    m_calls->push_back("StartKernel");
}

void FakeKernelLink::QuitKernel()
{
    m_calls->push_back(GetCorvellApp() ? "QuitKernel with the application set" : "QuitKernel");
    m_ready = false;
}

void FakeKernelLink::EndStartup()
{
    m_calls->push_back("EndStartup");
    m_cancel = true;
    if (m_worker.joinable())
        m_worker.join();
    m_starting = false;
}

void FakeKernelLink::RunStartupWorker()
{
    m_starting = true;
    m_worker = std::thread([this] {
        while (!m_cancel) {
            // Reads the link as a connecting worker would.
            m_workerTouches += IsStarting() ? 1 : 0;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
}

KernelLink* TestApp::CreateKernelLink()
{
    link = new FakeKernelLink(&calls);
    return link;
}

void TestApp::ShowMainWindow()
{
    shownWith = m_nCmdShow;
    CCorvellApp::ShowMainWindow();
}

void ShellTest::SetUp()
{
    ASSERT_TRUE(settings.isValid());
    AppProfile::SetFolder(settings.path());
    app = std::make_unique<TestApp>();
    CCorvellApp::SetStepObserver([this](const char* name) {
        StepState s;
        s.step = name;
        s.app = GetCorvellApp() != nullptr;
        s.styles = gStyleTable != nullptr;
        s.clipboard = gDocClipboard != nullptr;
        s.registryKey = app->m_strRegistryKey == "Tarnwick";
        s.link = KernelLink::Get() != nullptr;
        s.prefs = app->GetTextPrefs() != nullptr;
        s.fonts = gFontManager != nullptr;
        s.settings = app->GetKernelSettings() != nullptr;
        POSITION pos = app->GetFirstDocTemplatePosition();
        CDocTemplate* docTemplate = pos ? app->GetNextDocTemplate(pos) : nullptr;
        s.docTemplate = docTemplate != nullptr;
        s.documents = docTemplate ? docTemplate->GetDocumentCount() : 0;
        s.mainFrame = app->m_pMainWnd != nullptr;
        if (auto* frame = dynamic_cast<CMDIFrameWnd*>(app->m_pMainWnd); frame && frame->mdiArea()) {
            s.clientArea = frame->mdiArea()->viewport()->size();
            s.documentWindow = DocumentWindowSize(frame);
        }
        steps.push_back(s);
    });
}

QSize DocumentWindowSize(CMDIFrameWnd* frame)
{
    if (!frame || !frame->mdiArea() || frame->mdiArea()->subWindowList().isEmpty())
        return {};
    auto* child = dynamic_cast<CMDIChildWnd*>(CWnd::FromWidget(frame->mdiArea()->subWindowList().first()));
    WINDOWPLACEMENT placement{};
    if (!child || !child->GetWindowPlacement(&placement))
        return {};
    return QSize(placement.rcNormalPosition.Width(), placement.rcNormalPosition.Height());
}

void ShellTest::TearDown()
{
    if (!exited)
        Exit();
    CCorvellApp::SetStepObserver(nullptr);
    app.reset();
    AppProfile::SetFolder(QString());
}

bool ShellTest::Start(const QStringList& arguments)
{
    app->SetCommandLine(arguments);
    bool started = app->InitInstance();
    QCoreApplication::processEvents();
    return started;
}

void ShellTest::Exit()
{
    exited = true;
    if (app->m_pMainWnd)
        app->OnCmdMsg(ID_APP_EXIT, nullptr);
    app->ExitInstance();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

bool ShellTest::Enabled(UINT id)
{
    CCmdUIProbe probe(id);
    probe.DoUpdate(app.get(), true);
    return probe.m_bEnabled;
}

CDocument* ShellTest::FirstDocument() const
{
    POSITION pos = app->GetFirstDocTemplatePosition();
    CDocTemplate* docTemplate = pos ? app->GetNextDocTemplate(pos) : nullptr;
    POSITION docs = docTemplate ? docTemplate->GetFirstDocPosition() : nullptr;
    return docs ? docTemplate->GetNextDoc(docs) : nullptr;
}

bool ShellTest::SaveFirstDocument(const QString& path)
{
    CDocument* doc = FirstDocument();
    return doc && doc->OnSaveDocument(path.toUtf8().constData());
}

const StepState* ShellTest::StateAt(const std::string& step) const
{
    for (const StepState& s : steps)
        if (s.step == step)
            return &s;
    return nullptr;
}

std::vector<std::string> ShellTest::StepNames() const
{
    std::vector<std::string> names;
    for (const StepState& s : steps)
        names.push_back(s.step);
    return names;
}
