#include "ViewFixture.h"

#include <QApplication>
#include <QMouseEvent>
#include <QString>
#include <filesystem>

#include "app/CChildFrame.h"
#include "app/CCorvellDoc.h"
#include "app/CMainFrame.h"
#include "app/LinkPropertiesPrompt.h"
#include "foundation/CompList.h"
#include "foundation/ComponentFactory.h"
#include "foundation/DocClipboard.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"
#include "foundation/SelectionHighlight.h"
#include "foundation/TextLayoutItemMaker.h"
#include "math/CalculusComponents.h"
#include "math/FractionAndDelimiterComponents.h"
#include "math/GridAndObjectComponents.h"
#include "math/RefComponents.h"
#include "platform/framework/CDocTemplate.h"
#include "platform/framework/KeyTranslation.h"
#include "resources/ProgramResources.h"

BOOL ViewTestApp::InitInstance()
{
    AddDocTemplate(new CMultiDocTemplate(129, RUNTIME_CLASS(CCorvellDoc), RUNTIME_CLASS(CChildFrame),
                                         RUNTIME_CLASS(CCorvellView)));
    frame = new CMainFrame;
    if (!frame->LoadFrame(CMainFrame::IDR_MAINFRAME))
        return FALSE;
    m_pMainWnd = frame;
    frame->widget()->resize(1000, 800);
    frame->ShowWindow(SW_SHOW);
    return TRUE;
}

void ViewTest::SetUp()
{
    QString error;
    ASSERT_TRUE(RegisterProgramResources(&error)) << error.toStdString();
    InstallTextLayout();
    RegisterComponentClasses();
    RegisterFractionAndDelimiterComponents();
    RegisterCalculusComponents();
    RegisterGridAndObjectComponents();
    RegisterRefComponents();
    InstallLinkPropertiesPrompt();
    fonts = std::make_unique<FontManager>(prefs);
    docClipboard = std::make_unique<DocClipboard>();
    app = std::make_unique<ViewTestApp>();
    ASSERT_TRUE(app->InitInstance());
    ASSERT_NE(OpenNew(), nullptr);
}

void ViewTest::TearDown()
{
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

CCorvellView* ViewTest::OpenNew()
{
    app->OnFileNew();
    ProcessEvents();
    CMDIChildWnd* child = app->frame->MDIGetActive();
    view = child ? dynamic_cast<CCorvellView*>(child->GetActiveView()) : nullptr;
    return view;
}

CCorvellView* ViewTest::Open(const std::string& path)
{
    CDocument* doc = app->OpenDocumentFile(path.c_str());
    ProcessEvents();
    auto* opened = doc ? dynamic_cast<CCorvellDoc*>(doc) : nullptr;
    view = opened ? dynamic_cast<CCorvellView*>(opened->GetMainView()) : nullptr;
    return view;
}

CCorvellDoc* ViewTest::Doc() const
{
    return view->GetDocument();
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
    for (char c : text)
        Key(UINT(std::toupper(static_cast<unsigned char>(c))), static_cast<unsigned char>(c));
}

void ViewTest::Command(UINT id)
{
    view->OnCmdMsg(id, nullptr);
}

ItemState ViewTest::Update(UINT id)
{
    CCmdUIProbe probe(id);
    probe.DoUpdate(view, true);
    ItemState state;
    state.enabled = probe.m_bEnabled;
    state.check = probe.m_nCheck;
    state.textSet = probe.m_bTextChanged;
    state.text = probe.text();
    return state;
}

namespace {

void SendMouse(CCorvellView* view, QEvent::Type type, const IntPoint& point, UINT flags)
{
    const CPoint scroll = view->GetScrollPosition();
    const QPointF at(point.x - scroll.x, point.y - scroll.y);
    QWidget* surface = view->drawingWidget();
    Qt::KeyboardModifiers modifiers;
    if (flags & MK_SHIFT)
        modifiers |= Qt::ShiftModifier;
    if (flags & MK_CONTROL)
        modifiers |= Qt::ControlModifier;
    const Qt::MouseButtons buttons = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, at, surface->mapToGlobal(at), Qt::LeftButton, buttons, modifiers);
    QCoreApplication::sendEvent(surface, &event);
}

} // namespace

void ViewTest::MouseDown(const IntPoint& point, UINT flags)
{
    SendMouse(view, QEvent::MouseButtonPress, point, flags);
}

void ViewTest::MouseUp(const IntPoint& point, UINT flags)
{
    SendMouse(view, QEvent::MouseButtonRelease, point, flags);
}

void ViewTest::Click(const IntPoint& point, UINT flags)
{
    MouseDown(point, flags);
    MouseUp(point, flags);
}

std::string ViewTest::Text(int i) const
{
    std::string text;
    ParagraphComp* paragraph = Paragraphs().GetAt(i);
    if (!paragraph)
        return text;
    CompList* row = paragraph->GetRow();
    for (int k = 1; k <= row->GetCount(); ++k) {
        unsigned char c = row->GetAt(k)->GetChar();
        text += c ? char(c) : '#';
    }
    return text;
}

int ViewTest::Style(int i) const
{
    ParagraphComp* paragraph = Paragraphs().GetAt(i);
    return paragraph ? paragraph->GetStyleKind() : -1;
}

void ViewTest::PutCaret(int paragraph, int index)
{
    CompList* row = Paragraphs().GetAt(paragraph)->GetRow();
    DocPosition at(row, index);
    view->SetSelection(DocSelection(at, at), true);
}

void ViewTest::Select(int paragraph, int first, int last)
{
    CompList* row = Paragraphs().GetAt(paragraph)->GetRow();
    view->SetSelection(DocSelection(row, first, last), true);
}

std::string ViewTest::OutputPath(const std::string& name) const
{
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string folder = std::string(QV_TEST_OUTPUT) + "/" + info->test_suite_name() + "." + info->name();
    std::filesystem::create_directories(folder);
    return folder + "/" + name;
}
