// A small program made of the window layer alone: a main frame with a menu, a
// docked toolbar, a status bar, a floating palette of four columns and one
// document window whose view draws through the device context. Run with an
// output path, it shows itself, saves a picture of its windows there and
// exits; without one it stays open.
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QTimer>
#include <cstdio>

#include "platform/draw/CDC.h"
#include "platform/framework/CDocTemplate.h"
#include "platform/framework/CMDIChildWnd.h"
#include "platform/framework/CMDIFrameWnd.h"
#include "platform/framework/CScrollView.h"
#include "platform/framework/CStatusBar.h"
#include "platform/framework/CToolBar.h"
#include "platform/framework/CWinApp.h"
#include "platform/framework/ResourceStore.h"
#include "resources/ProgramResources.h"

namespace {

const char kDemoResources[] = R"json({
  "strings": {
    "128": "Quorvant Demo",
    "129": "\nDemo\nDemo\nDemo Files (*.vxm)\n.vxm\nQuorvant.Document\nQuorvant Document",
    "32990": "Show or hide the symbol palette\nSymbols"
  },
  "menus": [
    { "id": 128, "items": [
      { "text": "&File", "items": [ { "id": 57600, "text": "&New\tCtrl+N" }, { "id": 57601, "text": "&Open...\tCtrl+O" },
                                   { "separator": true }, { "id": 57665, "text": "E&xit" } ] },
      { "text": "&Help", "items": [ { "id": 57664, "text": "&About Demo..." } ] } ] },
    { "id": 129, "items": [
      { "text": "&File", "items": [ { "id": 57600, "text": "&New\tCtrl+N" }, { "id": 57603, "text": "&Save\tCtrl+S" },
                                   { "id": 57607, "text": "&Print...\tCtrl+P" }, { "separator": true },
                                   { "id": 57665, "text": "E&xit" } ] },
      { "text": "&Edit", "items": [ { "id": 57643, "text": "&Undo\tCtrl+Z" }, { "separator": true },
                                   { "id": 57635, "text": "Cu&t\tCtrl+X" }, { "id": 57634, "text": "&Copy\tCtrl+C" },
                                   { "id": 57637, "text": "&Paste\tCtrl+V" } ] },
      { "text": "&View", "items": [ { "id": 32990, "text": "&Symbols" } ] },
      { "text": "&Window", "items": [ { "id": 57650, "text": "&Cascade" }, { "id": 57651, "text": "&Tile" } ] },
      { "text": "&Help", "items": [ { "id": 57664, "text": "&About Demo..." } ] } ] }
  ],
  "accelerators": [ { "id": 128, "keys": { "Ctrl+N": 57600, "Ctrl+O": 57601 } },
                    { "id": 129, "keys": { "Ctrl+S": 57603, "Ctrl+P": 57607 } } ],
  "toolbars": [
    { "id": 128, "buttonSize": [16, 15], "image": "demo-main",
      "buttons": [57600, 57601, 57603, 0, 57635, 57634, 57637, 0, 57607, 57664] },
    { "id": 138, "buttonSize": [15, 20], "image": "demo-symbols",
      "buttons": [32901, 32902, 32903, 32904, 32905, 32906, 32907, 32908, 32909, 32910, 32911, 32912] }
  ]
})json";

// A strip of button images: each cell shows one character.
QImage buttonStrip(const QString& glyphs, QSize cell, const QColor& ink)
{
    QImage strip(cell.width() * int(glyphs.size()), cell.height(), QImage::Format_ARGB32);
    strip.fill(Qt::transparent);
    QPainter p(&strip);
    QFont font("DejaVu Sans");
    font.setPixelSize(cell.height() - 3);
    font.setBold(true);
    p.setFont(font);
    p.setPen(ink);
    for (int i = 0; i < glyphs.size(); ++i)
        p.drawText(QRect(i * cell.width(), 0, cell.width(), cell.height()), Qt::AlignCenter, glyphs.mid(i, 1));
    return strip;
}

class DemoDoc : public CDocument {
    DECLARE_DYNCREATE(DemoDoc)
};
IMPLEMENT_DYNCREATE(DemoDoc, CDocument)

class DemoView : public CScrollView {
    DECLARE_DYNCREATE(DemoView)
public:
    DemoView()
    {
        MapCommandRange(32901, 32912, [this](UINT id) { m_typed += char('a' + (id - 32901)); Invalidate(); });
    }
    void OnInitialUpdate() override
    {
        SetScrollSizes(MM_TEXT, CSize(800, 1200));
        CScrollView::OnInitialUpdate();
        if (CFrameWnd* frame = GetParentFrame())
            frame->ShowWindow(SW_SHOWMAXIMIZED);
    }
    void OnDraw(CDC* dc) override
    {
        CPoint scroll = GetScrollPosition();  // the program's drawing subtracts it itself
        CFont title;
        title.CreatePixelFont("Corvell Roman", 28, FW_BOLD);
        CFont* oldFont = dc->SelectObject(&title);
        dc->SetBkMode(TRANSPARENT);
        dc->TextOut(40 - scroll.x, 30 - scroll.y, std::string("Quorvant window layer"));
        CFont body;
        body.CreatePixelFont("Corvell Roman", 18);
        dc->SelectObject(&body);
        dc->TextOut(40 - scroll.x, 80 - scroll.y, std::string("A document view drawn through the device context."));
        dc->TextOut(40 - scroll.x, 110 - scroll.y, "Typed from the palette: " + (m_typed.empty() ? std::string("-") : m_typed));
        dc->SelectObject(oldFont);
        CPen pen(PS_SOLID, 2, RGB(40, 70, 140));
        CBrush fill(RGB(220, 230, 250));
        CPen* oldPen = dc->SelectObject(&pen);
        CBrush* oldBrush = dc->SelectObject(&fill);
        dc->Rectangle(40 - scroll.x, 150 - scroll.y, 300 - scroll.x, 260 - scroll.y);
        dc->Ellipse(340 - scroll.x, 150 - scroll.y, 520 - scroll.x, 260 - scroll.y);
        dc->MoveTo(40 - scroll.x, 300 - scroll.y);
        dc->LineTo(520 - scroll.x, 300 - scroll.y);
        dc->SelectObject(oldPen);
        dc->SelectObject(oldBrush);
    }

private:
    std::string m_typed = "abc";
};
IMPLEMENT_DYNCREATE(DemoView, CScrollView)

class DemoChildFrame : public CMDIChildWnd {
    DECLARE_DYNCREATE(DemoChildFrame)
};
IMPLEMENT_DYNCREATE(DemoChildFrame, CMDIChildWnd)

class DemoMainFrame : public CMDIFrameWnd {
public:
    DemoMainFrame()
    {
        MapCommand(32990, [this] { ShowControlBar(&m_symbols, !m_symbols.IsWindowVisible()); });
        MapUpdate(32990, [this](CCmdUI* ui) { ui->SetCheck(m_symbols.IsWindowVisible()); });
    }
    CToolBar m_toolbar;
    CToolBar m_symbols;
    CStatusBar m_status;

protected:
    int OnCreate() override
    {
        if (!m_toolbar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_TOOLTIPS | CBRS_FLYBY, AFX_IDW_TOOLBAR)
            || !m_toolbar.LoadToolBar(128))
            return -1;
        m_toolbar.SetWindowText("Toolbar");
        EnableDocking(CBRS_ALIGN_ANY);
        DockControlBar(&m_toolbar);
        static const UINT indicators[] = {ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL};
        if (!m_status.Create(this) || !m_status.SetIndicators(indicators, 4))
            return -1;
        if (!m_symbols.Create(this, WS_CHILD | CBRS_TOOLTIPS, 138) || !m_symbols.LoadToolBar(138))
            return -1;
        for (int i = 3; i < m_symbols.GetCount(); i += 4)
            m_symbols.SetButtonStyle(i, m_symbols.GetButtonStyle(i) | TBBS_WRAPPED);
        m_symbols.SetWindowText("Symbols");
        m_symbols.EnableDocking(0);
        FloatControlBar(&m_symbols, CPoint(500, 100));
        return 0;
    }
};

class DemoApp : public CWinApp {
public:
    DemoApp() : CWinApp("Quorvant Demo") {}
    BOOL InitInstance() override
    {
        QString error;
        if (!RegisterProgramResources(&error) || !ResourceStore::instance().loadJson(kDemoResources, &error)) {
            std::fprintf(stderr, "resources: %s\n", qPrintable(error));
            return FALSE;
        }
        ResourceStore::instance().addImage("demo-main", buttonStrip("NOSXCVP?", QSize(16, 15), QColor(30, 30, 30)));
        ResourceStore::instance().addImage(
            "demo-symbols",
            buttonStrip(QString::fromUtf8("\u03b1\u03b2\u03b3\u03b4\u03c0\u03a3\u222b\u221e\u2264\u2265\u2260\u00b1"),
                        QSize(15, 20), QColor(20, 40, 120)));
        AddDocTemplate(new CMultiDocTemplate(129, RUNTIME_CLASS(DemoDoc), RUNTIME_CLASS(DemoChildFrame),
                                             RUNTIME_CLASS(DemoView)));
        auto* frame = new DemoMainFrame;
        if (!frame->LoadFrame(128))
            return FALSE;
        m_pMainWnd = frame;
        frame->widget()->setGeometry(0, 0, 960, 640);
        frame->ShowWindow(SW_SHOW);
        CCommandLineInfo info;
        ParseCommandLine(info);
        if (!ProcessShellCommand(info))
            return FALSE;
        CRect window;
        frame->GetWindowRect(&window);
        frame->FloatControlBar(&frame->m_symbols, CPoint(window.right - 130, window.top + 150));
        frame->ShowControlBar(&frame->m_symbols, TRUE);
        frame->m_status.SetPaneText(0, "Ready");
        return TRUE;
    }
};

// The main window with the floating palette drawn where it stands.
QImage screenshot(DemoMainFrame* frame)
{
    QWidget* main = frame->widget();
    QImage picture = main->grab().toImage();
    QPainter p(&picture);
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w != main && w->isVisible() && !w->isHidden() && w->parentWidget() == main) {
            QPoint at = w->geometry().topLeft() - main->geometry().topLeft();
            p.fillRect(QRect(at - QPoint(1, 1), w->size() + QSize(2, 2)), QColor(90, 90, 90));
            p.drawImage(at, w->grab().toImage());
        }
    return picture;
}

}

int main(int argc, char** argv)
{
    QString output = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (!output.isEmpty() && qEnvironmentVariableIsEmpty("DISPLAY") && qgetenv("QT_QPA_PLATFORM") == "xcb") {
        std::fprintf(stderr, "no X display: skipped\n");
        return 77;
    }
    QApplication qt(argc, argv);
    DemoApp app;
    if (!output.isEmpty()) {
        QTimer::singleShot(1500, [&app, output] {
            auto* frame = static_cast<DemoMainFrame*>(app.m_pMainWnd);
            app.OnIdle(0);
            QImage picture = screenshot(frame);

            QDir().mkpath(QFileInfo(output).absolutePath());
            bool saved = !picture.isNull() && picture.save(output, "PNG");
            std::fprintf(stderr, "screenshot %s: %s\n", saved ? "saved" : "NOT saved", qPrintable(output));
            app.CloseAllDocuments(TRUE);
            if (frame)
                frame->DestroyWindow();
            QCoreApplication::exit(saved ? 0 : 1);
        });
    }
    QStringList arguments = qt.arguments().mid(1);
    if (!output.isEmpty())
        arguments.removeFirst();
    int status = AfxWinMain(arguments);
    return status;
}
