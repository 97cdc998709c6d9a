#pragma once
// A view of a document inside a frame. It draws in OnDraw through a device
// context: on the screen into a backing image that the paint event shows (so
// that immediate drawing outside a paint event, through CClientDC, survives
// until it is drawn over), on the printer page by page. Commands reach the
// view first and then its document.
#include <QImage>
#include <QRegion>

#include "platform/draw/ImageDC.h"
#include "platform/draw/PainterDC.h"
#include "platform/framework/CPrintInfo.h"
#include "platform/framework/CWnd.h"

class CDocument;
struct CCreateContext;

class CView : public CWnd {
    DECLARE_DYNAMIC(CView)
public:
    CView();
    ~CView() override;

    // Makes the view's window inside parent and joins the context's document.
    virtual BOOL Create(CWnd* parent, UINT id, CCreateContext* context);

    CDocument* GetDocument() const { return m_pDocument; }
    virtual void OnInitialUpdate();
    virtual void OnUpdate(CView* sender, LPARAM hint, CObject* hintObject);
    virtual void OnActivateView(BOOL activate, CView* activateView, CView* deactiveView) {}
    virtual void OnDraw(CDC* dc) = 0;
    // Sets up a context before OnDraw or OnPrint (nothing by default).
    virtual void OnPrepareDC(CDC* dc, CPrintInfo* info = nullptr) {}

    // Printing, in the order the print job calls them.
    virtual BOOL OnPreparePrinting(CPrintInfo* info) { return DoPreparePrinting(info); }
    BOOL DoPreparePrinting(CPrintInfo* info);
    virtual void OnBeginPrinting(CDC* dc, CPrintInfo* info) {}
    virtual void OnPrint(CDC* dc, CPrintInfo* info) { OnDraw(dc); }
    virtual void OnEndPrinting(CDC* dc, CPrintInfo* info) {}
    // Runs the whole job on the application's printer; false when cancelled
    // or nothing was printed.
    BOOL PrintDocument(BOOL direct);
    // The document's print name (empty without a document).
    CString PrintName() const;
    void OnFilePrint() { PrintDocument(FALSE); }
    void OnFilePrintDirect() { PrintDocument(TRUE); }
    void OnFilePrintPreview();

    bool OnCmdMsg(UINT id, CCmdUI* pUI) override;
    bool HasCommandHandler(UINT id) override;

    // The image the view shows; what CClientDC draws on. Its size follows
    // the client area.
    QImage& BackingImage();
    // Whether the backing image lags behind the client area's size (it is
    // never replaced while a context draws on it).
    bool IsBackingStale() const;
    // Shows what was drawn on the backing image in a rectangle (all when null).
    void FlushBacking(const QRect* rect = nullptr);
    // Adds to the area that OnDraw repaints at the next paint.
    void AddInvalid(const QRegion& region);
    void InvalidateArea(const QRegion* region) override;

    // The widget that shows the drawing (the viewport for a scrolling view).
    virtual QWidget* drawingWidget() const { return m_widget; }

    // While true (work under way is changing what the view shows), a paint
    // shows the backing image as it is and keeps the area it would draw.
    virtual bool DrawingHeld() const { return false; }
    // Asks the views that kept an area while drawing was held to draw it.
    static void DrawHeldViews();

    CDocument* m_pDocument = nullptr;

protected:
    void OnPaint() override;
    void OnSetFocus(CWnd* oldWnd) override;
    void OnDestroy() override;
    void PostNcDestroy() override { delete this; }
    // Makes the view's widget; CScrollView makes a scrolling one.
    virtual QWidget* CreateViewWidget(QWidget* parent);

private:
    friend class CDocument;
    void EnsureBacking();
    QImage m_backing;
    QRegion m_invalid;
};

// A device context on a view's backing image, for drawing outside a paint
// event; what is drawn appears when the context ends.
class CClientDC : public CImageDC {
public:
    explicit CClientDC(CWnd* wnd);
    ~CClientDC() override;

private:
    CView* m_view;
};

// A device context on a window's own surface during its OnPaint.
class CPaintDC : public CPainterDC {
public:
    explicit CPaintDC(CWnd* wnd);
    ~CPaintDC() override;

protected:
    QPaintDevice* metricsDevice() const override;
    int dpiX() const override;
    int dpiY() const override;
    CSize deviceSize() const override;

private:
    QWidget* m_target;
};
