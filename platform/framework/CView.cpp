#include "platform/framework/CView.h"

#include <QFileInfo>
#include <QPainter>
#include <QPointer>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>
#include <QTimer>

#include <algorithm>
#include <utility>
#include <vector>

#include "platform/InputGate.h"
#include "platform/draw/PrinterDC.h"
#include "platform/framework/CDocument.h"
#include "platform/framework/CFrameWnd.h"
#include "platform/framework/CWinApp.h"
#include "platform/framework/CommonDialogs.h"
#include "platform/framework/WndBridge.h"

IMPLEMENT_DYNAMIC(CView, CWnd)

QPrinter& AfxGetPrinter()
{
    static QPrinter printer(QPrinter::HighResolution);
    return printer;
}

CView::CView()
{
    MapCommand(ID_FILE_PRINT, [this] { OnFilePrint(); });
    MapCommand(ID_FILE_PRINT_DIRECT, [this] { OnFilePrintDirect(); });
    MapCommand(ID_FILE_PRINT_PREVIEW, [this] { OnFilePrintPreview(); });
}

CView::~CView()
{
    if (m_pDocument)
        m_pDocument->RemoveView(this);
}

QWidget* CView::CreateViewWidget(QWidget* parent)
{
    auto* w = new WndWidget<QWidget>(this, parent);
    w->setAttribute(Qt::WA_OpaquePaintEvent);
    return w;
}

BOOL CView::Create(CWnd* parent, UINT id, CCreateContext* context)
{
    QWidget* w = CreateViewWidget(parent ? parent->widget() : nullptr);
    w->setFocusPolicy(Qt::StrongFocus);
    SetWidget(w, true);
    m_controlId = int(id);
    if (OnCreate() == -1) {
        DestroyWindow();
        return FALSE;
    }
    if (context && context->m_pCurrentDoc)
        context->m_pCurrentDoc->AddView(this);
    return TRUE;
}

void CView::OnInitialUpdate()
{
    OnUpdate(nullptr, 0, nullptr);
}

void CView::OnUpdate(CView*, LPARAM, CObject*)
{
    Invalidate(TRUE);
}

bool CView::OnCmdMsg(UINT id, CCmdUI* pUI)
{
    if (CWnd::OnCmdMsg(id, pUI))
        return true;
    return m_pDocument && m_pDocument->OnCmdMsg(id, pUI);
}

bool CView::HasCommandHandler(UINT id)
{
    return CWnd::HasCommandHandler(id) || (m_pDocument && m_pDocument->HasCommandHandler(id));
}

void CView::OnSetFocus(CWnd*)
{
    if (CFrameWnd* frame = GetParentFrame())
        frame->SetActiveView(this);
}

void CView::OnDestroy()
{
    if (CFrameWnd* frame = GetParentFrame(); frame && frame->GetActiveView() == this)
        frame->SetActiveView(nullptr, FALSE);
}

void CView::EnsureBacking()
{
    QWidget* target = drawingWidget();
    if (!target)
        return;
    QSize size = target->size().expandedTo(QSize(1, 1));
    if (m_backing.size() == size)
        return;
    // A context still draws on the image (one kept while another window
    // opened and this one was resized): replacing the image would leave its
    // painter on freed pixels. The image follows the size when the last
    // context has ended (see ~CClientDC).
    if (m_backing.paintingActive())
        return;
    QImage fresh(size, QImage::Format_RGB32);
    fresh.fill(Qt::white);
    int dpi = target->screen() ? qRound(target->screen()->logicalDotsPerInchY()) : 96;
    SetImageDpi(fresh, dpi);
    m_backing = fresh;
    m_invalid = QRegion(QRect(QPoint(0, 0), size));
}

QImage& CView::BackingImage()
{
    EnsureBacking();
    return m_backing;
}

bool CView::IsBackingStale() const
{
    QWidget* target = drawingWidget();
    return target && m_backing.size() != target->size().expandedTo(QSize(1, 1));
}

void CView::FlushBacking(const QRect* rect)
{
    if (QWidget* target = drawingWidget()) {
        if (rect)
            target->update(*rect);
        else
            target->update();
    }
}

void CView::AddInvalid(const QRegion& region)
{
    m_invalid += region;
}

void CView::InvalidateArea(const QRegion* region)
{
    QWidget* target = drawingWidget();
    if (!target)
        return;
    QRegion area = region ? *region : QRegion(target->rect());
    AddInvalid(area);
    target->update(area);
}

namespace {

// The widgets of the views whose drawing waits for work under way.
std::vector<QPointer<QWidget>>& HeldTargets()
{
    static std::vector<QPointer<QWidget>> targets;
    return targets;
}

} // namespace

void CView::DrawHeldViews()
{
    for (const QPointer<QWidget>& target : std::exchange(HeldTargets(), {}))
        if (target)
            target->update();
}

void CView::OnPaint()
{
    QWidget* target = drawingWidget();
    if (!target)
        return;
    EnsureBacking();
    if (!m_invalid.isEmpty() && DrawingHeld()) {
        HeldTargets().emplace_back(target);
    } else if (!m_invalid.isEmpty()) {
        QRegion area = m_invalid;
        m_invalid = QRegion();
        CImageDC dc(m_backing);
        CRgn clip(area);
        dc.SelectClipRgn(&clip);
        OnEraseBkgnd(&dc);
        OnPrepareDC(&dc, nullptr);
        OnDraw(&dc);
    }
    QPainter painter(target);
    painter.drawImage(0, 0, m_backing);
}

CString CView::PrintName() const
{
    return m_pDocument ? m_pDocument->GetPrintName() : CString();
}

BOOL CView::DoPreparePrinting(CPrintInfo* info)
{
    info->m_printer = &AfxGetPrinter();
    // Set before the dialog, which proposes a file named after it.
    info->m_printer->setDocName(ToQString(PrintName()));
    if (info->m_bDirect || info->m_bPreview)
        return TRUE;
    CPrintDialog dialog(FALSE);
    dialog.SetPageRange(info->GetMinPage(), info->GetMaxPage());
    if (dialog.DoModal() != IDOK)
        return FALSE;
    info->m_nFromPage = dialog.GetFromPage();
    info->m_nToPage = dialog.GetToPage();
    return TRUE;
}

// A job that could not be started or finished is not silently missing: the
// message names the file a PDF was to replace, which is left as it was.
static void reportFailure(const CPrinterDC& dc, const QPrinter& printer)
{
    if (dc.Failure().empty())
        return;
    const QString name = QFileInfo(printer.outputFileName()).fileName();
    const std::string where = name.isEmpty() ? std::string() : " to \"" + name.toStdString() + "\"";
    std::string text = "The pages could not be printed" + where + ". " + dc.Failure();
    if (text.back() != '.')
        text += '.';
    AfxMessageBox(text.c_str(), MB_OK | MB_ICONEXCLAMATION);
}

static void runPrintLoop(CView* view, CPrintInfo& info, const char* title)
{
    CPrinterDC dc(*info.m_printer);
    view->OnBeginPrinting(&dc, &info);
    if (!info.m_bContinuePrinting || dc.StartDoc(title) <= 0) {
        view->OnEndPrinting(&dc, &info);
        reportFailure(dc, *info.m_printer);
        return;
    }
    UINT first = std::max(info.GetFromPage(), info.GetMinPage());
    UINT last = std::min(info.GetToPage(), info.GetMaxPage());
    QRect page = info.m_printer->pageLayout().paintRectPixels(info.m_printer->resolution());
    info.m_rectDraw = CRect(0, 0, page.width(), page.height());
    for (UINT p = first; p <= last && info.m_bContinuePrinting; ++p) {
        info.m_nCurPage = p;
        view->OnPrepareDC(&dc, &info);
        if (!info.m_bContinuePrinting)
            break;
        dc.StartPage();
        view->OnPrint(&dc, &info);
        dc.EndPage();
    }
    // A job the view stopped (the user did) leaves no half-printed document.
    // The job has ended, and the screen is the screen again, before a
    // failure is told.
    if (!info.m_bContinuePrinting)
        dc.AbortDoc();
    else
        dc.EndDoc();
    view->OnEndPrinting(&dc, &info);
    reportFailure(dc, *info.m_printer);
}

BOOL CView::PrintDocument(BOOL direct)
{
    CPrintInfo info;
    info.m_bDirect = direct;
    if (!OnPreparePrinting(&info) || !info.m_printer)
        return FALSE;
    runPrintLoop(this, info, PrintName());
    return TRUE;
}

void CView::OnFilePrintPreview()
{
    CPrintInfo info;
    info.m_bPreview = TRUE;
    if (!OnPreparePrinting(&info))
        return;
    CFrameWnd* frame = GetTopLevelFrame();
    if (frame)
        frame->OnSetPreviewMode(TRUE, nullptr);
    QPrintPreviewDialog preview(info.m_printer, frame ? frame->widget() : nullptr);
    // The preview opens as large as the window it previews, so that the page
    // it fits to its width is read at about the size the screen shows it.
    if (frame && frame->widget())
        preview.resize(frame->widget()->size());
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview, [this, &preview](QPrinter* printer) {
        CPrintInfo pass;
        pass.m_bPreview = TRUE;
        pass.m_printer = printer;
        runPrintLoop(this, pass, PrintName());
        // Stopped by the user: the preview closes (once it runs; it is not
        // shown yet while it prepares its first pages).
        if (!pass.m_bContinuePrinting)
            QTimer::singleShot(0, &preview, &QDialog::reject);
    });
    // Closing the preview while its pages are prepared stops the work.
    QObject::connect(&preview, &QDialog::finished, &preview, [] {
        if (InputGate::IsHolding())
            InputGate::Current()->Stop();
    });
    RunCommonDialog(preview);
    if (frame)
        frame->OnSetPreviewMode(FALSE, nullptr);
}

static QImage& backingOf(CWnd* wnd)
{
    static QImage none;  // a window without a backing image draws nowhere
    auto* view = dynamic_cast<CView*>(wnd);
    return view ? view->BackingImage() : none;
}

CClientDC::CClientDC(CWnd* wnd) : CImageDC(backingOf(wnd)), m_view(dynamic_cast<CView*>(wnd))
{
}

// The window shows again only what was drawn: a whole-window copy on every
// caret move would cost more than the drawing itself. A window resized while
// the context drew is shown whole, at its new size.
CClientDC::~CClientDC()
{
    if (!m_view)
        return;
    if (DrewAnywhere() || m_view->IsBackingStale()) {
        m_view->FlushBacking();
    } else if (!DrawnBox().isEmpty()) {
        m_view->FlushBacking(&DrawnBox());
    }
}

static QWidget* surfaceOf(CWnd* wnd)
{
    if (auto* view = dynamic_cast<CView*>(wnd))
        return view->drawingWidget();
    return wnd ? wnd->widget() : nullptr;
}

CPaintDC::CPaintDC(CWnd* wnd) : m_target(surfaceOf(wnd))
{
    beginPainting(m_target);
}

CPaintDC::~CPaintDC()
{
    endPainting();
}

QPaintDevice* CPaintDC::metricsDevice() const
{
    static QImage fallback(1, 1, QImage::Format_RGB32);
    return m_target ? static_cast<QPaintDevice*>(m_target) : &fallback;
}

int CPaintDC::dpiX() const
{
    return m_target ? m_target->logicalDpiX() : 96;
}

int CPaintDC::dpiY() const
{
    return m_target ? m_target->logicalDpiY() : 96;
}

CSize CPaintDC::deviceSize() const
{
    return m_target ? CSize(m_target->width(), m_target->height()) : CSize();
}
