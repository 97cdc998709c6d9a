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

FakeKernelLink::~FakeKernelLink()
{
    if (m_worker.joinable()) {
        m_calls->push_back("deleted while the start-up worker runs");
        m_cancel = true;
        m_worker.join();
    }
    m_calls->push_back("link deleted");
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
        for (; !m_cancel; std::this_thread::sleep_for(std::chrono::milliseconds(1)))
            m_reads += IsStarting();
    });
}

static QSize WindowSize(CMDIFrameWnd* frame)
{
    if (!frame || !frame->mdiArea() || frame->mdiArea()->subWindowList().isEmpty())
        return {};
    auto* child = dynamic_cast<CMDIChildWnd*>(CWnd::FromWidget(frame->mdiArea()->subWindowList().first()));
    WINDOWPLACEMENT placement{};
    if (!child || !child->GetWindowPlacement(&placement))
        return {};
    return QSize(placement.rcNormalPosition.Width(), placement.rcNormalPosition.Height());
}

void ShellTest::SetUp()
{
    ASSERT_TRUE(settings.isValid());
    AppProfile::SetFolder(settings.path());
    app = std::make_unique<TestApp>();
    CCorvellApp::SetStepObserver([this](const char* name) {
        StepState s{name, {}, 0, {}, {}};
        POSITION pos = app->GetFirstDocTemplatePosition();
        CDocTemplate* docTemplate = pos ? app->GetNextDocTemplate(pos) : nullptr;
        const std::pair<const char*, bool> objects[] = {
            {"app", GetCorvellApp() != nullptr}, {"styles", gStyleTable != nullptr},
            {"clipboard", gDocClipboard != nullptr}, {"registryKey", app->m_strRegistryKey == "Tarnwick"},
            {"link", KernelLink::Get() != nullptr}, {"prefs", app->GetTextPrefs() != nullptr},
            {"fonts", gFontManager != nullptr}, {"settings", app->GetKernelSettings() != nullptr},
            {"docTemplate", docTemplate != nullptr}, {"mainFrame", app->m_pMainWnd != nullptr}};
        for (auto [object, alive] : objects)
            if (alive)
                s.alive.insert(object);
        s.documents = docTemplate ? docTemplate->GetDocumentCount() : 0;
        if (auto* frame = dynamic_cast<CMDIFrameWnd*>(app->m_pMainWnd); frame && frame->mdiArea()) {
            s.clientArea = frame->mdiArea()->viewport()->size();
            s.documentWindow = WindowSize(frame);
        }
        steps.push_back(s);
    });
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
    const bool started = app->InitInstance();
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

bool ShellTest::Restart(const QStringList& arguments)
{
    if (!exited)
        Exit();
    app = std::make_unique<TestApp>();
    exited = false;
    steps.clear();
    return Start(arguments);
}

bool ShellTest::Enabled(UINT id)
{
    CCmdUIProbe probe(id);
    probe.DoUpdate(app.get(), true);
    return probe.m_bEnabled;
}

const StepState* ShellTest::StateAt(const std::string& step) const
{
    for (const StepState& s : steps)
        if (s.step == step)
            return &s;
    return nullptr;
}

Steps ShellTest::StepNames() const
{
    Steps names;
    for (const StepState& s : steps)
        names.push_back(s.step);
    return names;
}

CDocument* ShellTest::FirstDocument() const
{
    POSITION pos = app->GetFirstDocTemplatePosition();
    CDocTemplate* docTemplate = pos ? app->GetNextDocTemplate(pos) : nullptr;
    POSITION docs = docTemplate ? docTemplate->GetFirstDocPosition() : nullptr;
    return docs ? docTemplate->GetNextDoc(docs) : nullptr;
}

QSize ShellTest::FirstWindowSize() const
{
    return WindowSize(Frame());
}

CMDIFrameWnd* ShellTest::Frame() const
{
    return dynamic_cast<CMDIFrameWnd*>(app->m_pMainWnd);
}

QMdiArea* ShellTest::OpenNewDocuments(int count)
{
    for (int i = 0; i < count; ++i)
        app->OnFileNew();
    QCoreApplication::processEvents();
    return Frame()->mdiArea();
}
