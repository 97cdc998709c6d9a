#include "app/CMainFrame.h"

#include <iterator>

#include "app/CConstantsDialog.h"
#include "app/DrawingToolSeam.h"
#include "platform/framework/WindowPlacement.h"

#include <QApplication>
#include <QWidget>
#include <array>
#include <optional>

IMPLEMENT_DYNAMIC(CMainFrame, CMDIFrameWnd)

CMainFrame* gMainFrame = nullptr;

namespace {
const UINT kIndicators[] = {ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL};
constexpr int kButtonsPerRow = 4;
// Palettes stand below the menu and the main toolbar, clear of the frame's
// right edge, and this far apart.
constexpr int kPaletteTop = 50;
constexpr int kPaletteRightMargin = 20;
constexpr int kPaletteGap = 8;
}

CMainFrame::CMainFrame()
{
    gMainFrame = this;
    MapCommand(ID_VIEW_SYMBOLS, &CMainFrame::OnViewSymbols);
    MapUpdate(ID_VIEW_SYMBOLS, &CMainFrame::OnUpdateViewSymbols);
    MapCommand(ID_VIEW_CONSTANTS, &CMainFrame::OnViewConstants);
    MapUpdate(ID_VIEW_CONSTANTS, &CMainFrame::OnUpdateViewConstants);
    MapCommandRange(ID_TOOL_POINTER, ID_TOOL_MAGNIFIER, &CMainFrame::OnTool);
    MapUpdateRange(ID_TOOL_POINTER, ID_TOOL_MAGNIFIER, &CMainFrame::OnUpdateTool);
    // View/Toolbar and View/Status Bar show or hide their bar.
    for (UINT id : {UINT(ID_VIEW_TOOLBAR), UINT(ID_VIEW_STATUS_BAR)}) {
        MapCommand(id, [this, id] {
            CControlBar* bar = BarOfCommand(id);
            ShowControlBar(bar, !bar->IsWindowVisible());
        });
        MapUpdate(id, [this, id](CCmdUI* ui) { ui->SetCheck(BarOfCommand(id)->IsWindowVisible() ? 1 : 0); });
    }
}

CMainFrame::~CMainFrame()
{
    if (gMainFrame == this)
        gMainFrame = nullptr;
}

CControlBar* CMainFrame::BarOfCommand(UINT id)
{
    return id == ID_VIEW_TOOLBAR ? static_cast<CControlBar*>(&m_wndToolBar) : &m_wndStatusBar;
}

int CMainFrame::OnCreate()
{
    if (CMDIFrameWnd::OnCreate() == -1)
        return -1;

    if (!m_wndToolBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_DYNAMIC,
                             AFX_IDW_TOOLBAR)
        || !m_wndToolBar.LoadToolBar(IDR_MAINFRAME))
        return -1;
    m_wndToolBar.SetWindowText("Toolbar");
    m_wndToolBar.EnableDocking(CBRS_ALIGN_ANY);
    EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(&m_wndToolBar);

    if (!m_wndStatusBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, AFX_IDW_STATUS_BAR)
        || !m_wndStatusBar.SetIndicators(kIndicators, int(std::size(kIndicators))))
        return -1;

    if (!CreateFloatingToolBar(m_wndSymbolBar, IDR_SYMBOLS, WS_CHILD | CBRS_TOP | CBRS_SIZE_DYNAMIC, "Symbols",
                               CPoint(500, 100)))
        return -1;
    if (!CreateFloatingToolBar(m_wndDrawingBar, IDR_DRAWING,
                               WS_CHILD | CBRS_TOP | CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_DYNAMIC, "Drawing",
                               CPoint(400, 100)))
        return -1;

    if (!m_wndPileBar.Create(this, IDD_CONNECTIONS, WS_CHILD | CBRS_TOP, IDD_CONNECTIONS))
        return -1;
    m_wndPileBar.SetWindowText("Connections");
    m_wndPileBar.EnableDocking(0);
    FloatControlBar(&m_wndPileBar, CPoint(400, 440));
    ShowControlBar(&m_wndPileBar, FALSE);
    return 0;
}

// A palette of buttons in four columns that only floats, made hidden.
bool CMainFrame::CreateFloatingToolBar(CToolBar& bar, UINT resourceId, DWORD style, const char* title, CPoint at)
{
    if (!bar.Create(this, style, resourceId) || !bar.LoadToolBar(resourceId))
        return false;
    for (int i = kButtonsPerRow - 1; i < bar.GetCount(); i += kButtonsPerRow)
        bar.SetButtonStyle(i, bar.GetButtonStyle(i) | TBBS_WRAPPED);
    bar.SetWindowText(title);
    bar.EnableDocking(0);
    FloatControlBar(&bar, at);
    ShowControlBar(&bar, FALSE);
    return true;
}

void CMainFrame::OnDestroy()
{
    DestroyConstantsPalette();
    m_pDrawing = nullptr;
    CMDIFrameWnd::OnDestroy();
}

std::array<CControlBar*, 3> CMainFrame::Bars()
{
    return {&m_wndDrawingBar, &m_wndSymbolBar, &m_wndPileBar};
}

QRect CMainFrame::PaletteArea() const
{
    CRect frame;
    GetWindowRect(&frame);
    const QRect window(frame.left, frame.top, frame.Width(), frame.Height());
    const QRect screen = WindowPlacement::ScreenAreaAt(window.center());
    const QRect inside = window.adjusted(0, kPaletteTop, -kPaletteRightMargin, 0) & screen;
    return inside.isEmpty() ? screen : inside;
}

std::vector<QRect> CMainFrame::FloatingBarRects()
{
    std::vector<QRect> rects;
    for (const CControlBar* bar : Bars()) {
        CRect r;
        bar->GetWindowRect(&r);
        if (bar->IsFloating())
            rects.emplace_back(QPoint(r.left, r.top), bar->FloatingFrameSize());
    }
    return rects;
}

void CMainFrame::PlaceBars()
{
    // The drawing tools first, at the top right; the Symbols palette below
    // them; the drawing's connections where there is room next.
    const QRect area = PaletteArea();
    std::vector<QRect> taken;
    for (CControlBar* bar : Bars()) {
        const QSize size = bar->FloatingFrameSize();
        const QPoint at = WindowPlacement::Apart(size, area, taken, kPaletteGap)
                              .value_or(WindowPlacement::Inside(size, area.topRight(), area));
        FloatControlBar(bar, CPoint(at.x(), at.y()));
        taken.emplace_back(at, size);
    }
}

void CMainFrame::PlacePalette(QWidget& palette)
{
    std::vector<QRect> taken = FloatingBarRects();
    // Text being typed stays in sight.
    if (const QWidget* focus = QApplication::focusWidget(); focus && focus->window() == widget()) {
        const QRect caret = focus->inputMethodQuery(Qt::ImCursorRectangle).toRect();
        if (caret.isValid())
            taken.emplace_back(focus->mapToGlobal(caret.topLeft()), caret.size());
    }
    const QSize size = WindowPlacement::FrameSizeOf(palette);
    CRect frame;
    GetWindowRect(&frame);
    const QRect screen = WindowPlacement::ScreenAreaAt(QPoint(frame.right, frame.top));
    const QRect beside =
        QRect(QPoint(frame.right + kPaletteGap, frame.top + kPaletteTop), screen.bottomRight()) & screen;
    const QRect inside = PaletteArea();
    std::optional<QPoint> at = WindowPlacement::Apart(size, beside, taken, kPaletteGap);
    if (!at)
        at = WindowPlacement::Apart(size, inside, taken, kPaletteGap);
    palette.move(at.value_or(WindowPlacement::Inside(size, inside.topRight(), inside)));
}

void CMainFrame::ShowDrawingBars(DiagramComp* drawing)
{
    ShowControlBar(&m_wndDrawingBar, TRUE);
    m_wndPileBar.SetDrawing(drawing);
    ShowControlBar(&m_wndPileBar, TRUE);
    m_pDrawing = drawing;
}

void CMainFrame::HideDrawingBars()
{
    ShowControlBar(&m_wndDrawingBar, FALSE);
    ShowControlBar(&m_wndPileBar, FALSE);
    // The hidden pile keeps no pointer into a drawing that may go away.
    m_wndPileBar.SetDrawing(nullptr);
    m_pDrawing = nullptr;
}

void CMainFrame::CreateConstantsPalette()
{
    DestroyConstantsPalette();
    auto* palette = new CConstantsDialog;
    if (!palette->Create(this)) {
        delete palette;
        return;
    }
    m_pConstants = palette;
}

void CMainFrame::DestroyConstantsPalette()
{
    if (CConstantsDialog* palette = m_pConstants) {
        m_pConstants = nullptr;
        palette->DestroyWindow();
    }
}

void CMainFrame::ConstantsPaletteDestroyed(CConstantsDialog* palette)
{
    if (m_pConstants == palette)
        m_pConstants = nullptr;
}

void CMainFrame::OnSetPreviewMode(BOOL preview, CPrintPreviewState*)
{
    if (preview) {
        m_bSymbolBarWasVisible = m_wndSymbolBar.IsWindowVisible();
        ShowControlBar(&m_wndSymbolBar, FALSE);
    } else {
        ShowControlBar(&m_wndSymbolBar, m_bSymbolBarWasVisible);
    }
}

void CMainFrame::OnViewSymbols()
{
    ShowControlBar(&m_wndSymbolBar, !m_wndSymbolBar.IsWindowVisible());
}

void CMainFrame::OnUpdateViewSymbols(CCmdUI* ui)
{
    ui->SetCheck(m_wndSymbolBar.IsWindowVisible() ? 1 : 0);
}

void CMainFrame::OnViewConstants()
{
    if (!m_pConstants)
        return;
    m_pConstants->ShowWindow(m_pConstants->IsWindowVisible() ? SW_HIDE : SW_SHOWNORMAL);
}

void CMainFrame::OnUpdateViewConstants(CCmdUI* ui)
{
    ui->Enable(m_pConstants != nullptr);
    ui->SetCheck(m_pConstants && m_pConstants->IsWindowVisible() ? 1 : 0);
}

void CMainFrame::OnTool(UINT id)
{
    if (m_pDrawing)
        SetDrawingTool(m_pDrawing, int(id - ID_TOOL_POINTER));
}

void CMainFrame::OnUpdateTool(CCmdUI* ui)
{
    if (m_pDrawing)
        ui->SetCheck(CurrentDrawingToolKind(m_pDrawing) == int(ui->m_nID - ID_TOOL_POINTER) ? 1 : 0);
}
