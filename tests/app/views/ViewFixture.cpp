#include "ViewFixture.h"

#include <QMouseEvent>
#include <filesystem>

#include "app/CChildFrame.h"
#include "app/CCorvellDoc.h"
#include "app/CMainFrame.h"
#include "app/LinkPropertiesPrompt.h"
#include "foundation/CompList.h"
#include "foundation/TextLayoutItemMaker.h"
#include "platform/framework/CCmdUI.h"
#include "platform/framework/CDocTemplate.h"
#include "platform/framework/KeyTranslation.h"
#include "resources/ProgramResources.h"
#include "math/MathComponents.h"

void ViewTest::SetUp()
{
    QString error;
    ASSERT_TRUE(RegisterProgramResources(&error)) << error.toStdString();
    InstallTextLayout();
    RegisterMathComponents();
    InstallLinkPropertiesPrompt();
    fonts = std::make_unique<FontManager>(prefs);
    docClipboard = std::make_unique<DocClipboard>();
    app = std::make_unique<CWinApp>("Quorvant");
    app->AddDocTemplate(new CMultiDocTemplate(129, RUNTIME_CLASS(CCorvellDoc), RUNTIME_CLASS(CChildFrame),
                                              RUNTIME_CLASS(CCorvellView)));
    frame = new CMainFrame;
    ASSERT_TRUE(frame->LoadFrame(CMainFrame::IDR_MAINFRAME));
    app->m_pMainWnd = frame;
    frame->widget()->resize(1000, 800);
    frame->ShowWindow(SW_SHOW);
    app->OnFileNew();
    ProcessEvents();
    CMDIChildWnd* child = frame->MDIGetActive();
    view = child ? dynamic_cast<CCorvellView*>(child->GetActiveView()) : nullptr;
    ASSERT_NE(view, nullptr);
}

void ViewTest::TearDown()
{
    if (m_hooked)
        CDialog::SetModalHook(m_oldHook);
    SetCurrentKeyModifiers(Qt::NoModifier);
    if (app) {
        app->CloseAllDocuments(FALSE);
        if (app->m_pMainWnd)
            app->m_pMainWnd->DestroyWindow();
        ProcessEvents();
        app.reset();
    }
    ProcessEvents();
    docClipboard.reset();
    fonts.reset();
}

void ViewTest::ProcessEvents()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

void ViewTest::Key(UINT vk, int ch, Qt::KeyboardModifiers modifiers)
{
    SetCurrentKeyModifiers(modifiers);
    view->OnKeyDown(vk, 1, 0);
    if (ch >= 0)
        view->OnChar(UINT(ch), 1, 0);
    SetCurrentKeyModifiers(Qt::NoModifier);
}

void ViewTest::Type(const std::string& text)
{
    for (unsigned char c : text)
        Key(UINT(std::toupper(c)), c);
}

ItemState ViewTest::Update(UINT id)
{
    CCmdUIProbe probe(id);
    probe.DoUpdate(view, true);
    return {probe.m_bEnabled, probe.m_nCheck, probe.text()};
}

void ViewTest::OnDialog(CDialog::ModalHook hook)
{
    CDialog::ModalHook old = CDialog::SetModalHook(std::move(hook));
    if (!m_hooked)
        m_oldHook = std::move(old);
    m_hooked = true;
}

void ViewTest::Mouse(QEvent::Type type, const IntPoint& point, UINT flags)
{
    const QPointF at(point.x - view->GetScrollPosition().x, point.y - view->GetScrollPosition().y);
    QWidget* surface = view->drawingWidget();
    Qt::KeyboardModifiers modifiers;
    modifiers.setFlag(Qt::ShiftModifier, flags & MK_SHIFT);
    modifiers.setFlag(Qt::ControlModifier, flags & MK_CONTROL);
    const Qt::MouseButtons buttons = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, at, surface->mapToGlobal(at), Qt::LeftButton, buttons, modifiers);
    QCoreApplication::sendEvent(surface, &event);
}

std::string ViewTest::Text(int i) const
{
    std::string text;
    for (int k = 1; Paragraphs().GetAt(i) && k <= Row(i)->GetCount(); ++k) {
        const unsigned char c = Row(i)->GetAt(k)->GetChar();
        text += c ? char(c) : '#';
    }
    return text;
}

void ViewTest::Fill(int paragraphs, const std::string& line)
{
    Command(32701 + 3);
    for (int i = 0; i < paragraphs; ++i) {
        Type(line);
        if (i + 1 < paragraphs)
            Key(VK_RETURN, 13);
    }
}

std::string ViewTest::OutputPath(const std::string& name) const
{
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string folder = std::string(QV_TEST_OUTPUT) + "/" + test->test_suite_name() + "." + test->name();
    std::filesystem::create_directories(folder);
    return folder + "/" + name;
}
