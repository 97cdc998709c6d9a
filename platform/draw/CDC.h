#pragma once
// The drawing surface that all drawing and measuring code uses: a device
// context with the semantics of the old GDI where the drawing code relies on
// them. Coordinates are integer logical pixels; device = logical - window
// origin + viewport origin. Objects are selected in and the previous one is
// answered. Text is 8-bit bytes, turned into Unicode by the character set of
// the selected font (see TextCodec.h).
//
// The context keeps the GDI state and turns every call into device-space
// primitives; a backend (an image, a printer, the metafile recorder, or
// nothing at all for measuring) draws them.
#include "platform/draw/CBrush.h"
#include "platform/draw/CFont.h"
#include "platform/draw/CPen.h"
#include "platform/draw/CRgn.h"
#include "platform/draw/GdiTypes.h"

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainterPath>
#include <QPolygon>
#include <QRegion>
#include <QString>

#include <array>
#include <bitset>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class EnhMetafile;
class QPaintDevice;

class CDC {
public:
    CDC();
    virtual ~CDC();
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    // ---- device ----
    // LOGPIXELSX/Y, HORZRES, VERTRES (pixels), HORZSIZE, VERTSIZE (mm),
    // BITSPIXEL, PLANES; 0 for anything else.
    int GetDeviceCaps(int index) const;
    bool IsPrinting() const { return m_printing; }

    // ---- coordinates ----
    CPoint SetWindowOrg(int x, int y);
    CPoint SetWindowOrg(CPoint p) { return SetWindowOrg(p.x, p.y); }
    CPoint OffsetWindowOrg(int dx, int dy);
    CPoint GetWindowOrg() const { return m_state.windowOrg; }
    CPoint SetViewportOrg(int x, int y);
    CPoint SetViewportOrg(CPoint p) { return SetViewportOrg(p.x, p.y); }
    CPoint OffsetViewportOrg(int dx, int dy);
    CPoint GetViewportOrg() const { return m_state.viewportOrg; }
    void LPtoDP(CPoint* points, int count = 1) const;
    void LPtoDP(CRect* rect) const;
    void DPtoLP(CPoint* points, int count = 1) const;
    void DPtoLP(CRect* rect) const;
    // Keeps a coordinate well inside the int range, so that no later sum overflows.
    static int ClampCoord(std::int64_t v);

    // ---- attributes ----
    int SetBkMode(int mode);
    int GetBkMode() const { return m_state.bkMode; }
    COLORREF SetBkColor(COLORREF colour);
    COLORREF GetBkColor() const { return m_state.bkColor; }
    COLORREF SetTextColor(COLORREF colour);
    COLORREF GetTextColor() const { return m_state.textColor; }
    unsigned SetTextAlign(unsigned flags);
    unsigned GetTextAlign() const { return m_state.textAlign; }
    int SetPolyFillMode(int mode);
    int GetPolyFillMode() const { return m_state.polyFillMode; }
    int SetArcDirection(int direction);
    int GetArcDirection() const { return m_state.arcDirection; }

    // Selecting answers the object selected before (a stock object at first).
    // The context keeps a copy of the object's description, so deleting a
    // selected object does not disturb drawing.
    CFont* SelectObject(CFont* font);
    CPen* SelectObject(CPen* pen);
    CBrush* SelectObject(CBrush* brush);
    CFont* GetCurrentFont() const { return m_state.fontObject; }
    CPen* GetCurrentPen() const { return m_state.penObject; }
    CBrush* GetCurrentBrush() const { return m_state.brushObject; }
    const LOGFONT& CurrentLogFont() const { return m_state.font; }
    const LOGPEN& CurrentLogPen() const { return m_state.pen; }
    const LOGBRUSH& CurrentLogBrush() const { return m_state.brush; }

    // Saves the whole state; answers its level (1, 2, ...). RestoreDC (-1)
    // restores the last saved state, RestoreDC (n) the state saved at level n.
    int SaveDC();
    bool RestoreDC(int saved);

    // ---- lines and shapes (pen for outlines, brush for interiors) ----
    CPoint MoveTo(int x, int y);
    CPoint MoveTo(CPoint p) { return MoveTo(p.x, p.y); }
    bool LineTo(int x, int y);
    bool LineTo(CPoint p) { return LineTo(p.x, p.y); }
    CPoint GetCurrentPosition() const { return m_state.position; }
    bool Polyline(const CPoint* points, int count);
    bool Polygon(const CPoint* points, int count);
    bool PolyBezier(const CPoint* points, int count);    // 1 + 3k points
    bool PolyBezierTo(const CPoint* points, int count);  // 3k points from the pen
    bool Rectangle(int left, int top, int right, int bottom);
    bool Rectangle(const CRect& r) { return Rectangle(r.left, r.top, r.right, r.bottom); }
    bool Ellipse(int left, int top, int right, int bottom);
    bool Ellipse(const CRect& r) { return Ellipse(r.left, r.top, r.right, r.bottom); }
    // The part of the ellipse in the box from the ray towards start to the ray
    // towards end, counter-clockwise unless the arc direction says otherwise.
    bool Arc(const CRect& box, CPoint start, CPoint end);
    bool Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
    {
        return Arc(CRect(x1, y1, x2, y2), CPoint(x3, y3), CPoint(x4, y4));
    }
    bool Pie(const CRect& box, CPoint start, CPoint end);
    bool Chord(const CRect& box, CPoint start, CPoint end);

    // ---- paths: between BeginPath and EndPath, lines and shapes are
    // collected instead of drawn ----
    bool BeginPath();
    bool EndPath();
    bool AbortPath();
    bool CloseFigure();
    bool StrokePath();
    bool FillPath();
    bool StrokeAndFillPath();

    // ---- text ----
    // Draws n bytes at (x, y) placed by the text alignment (top-left by
    // default; TA_BASELINE puts the baseline at y). An opaque background mode
    // fills the text's cell with the background colour first.
    bool TextOut(int x, int y, const char* bytes, int count);
    bool TextOut(int x, int y, const std::string& text) { return TextOut(x, y, text.data(), int(text.size())); }
    // Draws text that is already Unicode (used for other programs' pictures).
    bool TextOutW(int x, int y, const QString& text, const std::vector<int>& advances = {});
    CSize GetTextExtent(const char* bytes, int count) const;
    CSize GetTextExtent(const std::string& text) const { return GetTextExtent(text.data(), int(text.size())); }
    // The extents of every prefix (1, 2, ... count characters) into extents[0..count-1].
    bool GetTextExtentExPoint(const char* bytes, int count, int* extents, CSize* size = nullptr) const;
    bool GetTextMetrics(TEXTMETRIC* metrics) const;
    int GetCharWidth(unsigned char code) const;

    // ---- filling, framing and inverting ----
    void FillRect(const CRect& rect, const CBrush* brush);
    void FillSolidRect(const CRect& rect, COLORREF colour);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF colour) { FillSolidRect(CRect(x, y, x + cx, y + cy), colour); }
    void FrameRect(const CRect& rect, const CBrush* brush);
    void InvertRect(const CRect& rect);
    bool FillRgn(const CRgn* region, const CBrush* brush);
    bool FrameRgn(const CRgn* region, const CBrush* brush, int width, int height);
    bool InvertRgn(const CRgn* region);
    bool PaintRgn(const CRgn* region);  // with the selected brush

    // ---- clipping (regions are in logical coordinates when selected) ----
    // A null region removes clipping. Answers the kind of the new clip region.
    int SelectClipRgn(const CRgn* region);
    int SelectClipRgn(const CRgn* region, int mode);
    int IntersectClipRect(int left, int top, int right, int bottom);
    int IntersectClipRect(const CRect& r) { return IntersectClipRect(r.left, r.top, r.right, r.bottom); }
    int ExcludeClipRect(int left, int top, int right, int bottom);
    // The clip region's box in logical coordinates (the whole device when
    // there is no clipping).
    int GetClipBox(CRect* box) const;
    // The clip region in device coordinates; nullopt when there is none.
    const std::optional<QRegion>& DeviceClip() const { return m_state.clip; }

    // ---- pictures ----
    // Draws an image scaled into a logical rectangle.
    void StretchImage(const CRect& dest, const QImage& image);
    // Plays a picture scaled into a logical rectangle; false when its bytes
    // are not a picture (what could be read of a damaged one is drawn).
    bool PlayEnhMetaFile(const EnhMetafile& picture, const CRect& dest);

    // ---- print jobs (only a printer context does something) ----
    virtual int StartDoc(const char* documentName);
    virtual int StartPage();
    virtual int EndPage();
    virtual int EndDoc();
    virtual int AbortDoc();

    // The Qt font the selected font is realised as.
    const QFont& CurrentQFont() const { return m_qfont; }

protected:
    // ---- what a backend supplies; all coordinates are device pixels ----
    // The device used for font metrics (never null).
    virtual QPaintDevice* metricsDevice() const = 0;
    virtual int dpiX() const = 0;
    virtual int dpiY() const = 0;
    virtual CSize deviceSize() const = 0;  // pixels
    virtual int bitsPerPixel() const { return 32; }

    virtual void drawPolyline(const QPolygon& points) = 0;
    virtual void drawPolygon(const QPolygon& points) = 0;
    virtual void drawRectangle(const QRect& box) = 0;  // box edges as GDI: right/bottom excluded
    virtual void drawEllipse(const QRect& box) = 0;
    enum class ArcKind { Arc, Pie, Chord };
    virtual void drawArc(ArcKind kind, const QRect& box, QPoint start, QPoint end) = 0;
    virtual void drawBezier(const QPolygon& points) = 0;  // 1 + 3k points
    virtual void drawPath(const QPainterPath& path, bool stroke, bool fill) = 0;
    // ref: the reference point as given (device), with the alignment of the
    // state; baselineLeft: where the text's baseline starts; advances: the
    // advance of each character in pixels; width: their sum.
    virtual void drawText(QPoint ref, QPoint baselineLeft, const QString& text,
                          const std::vector<int>& advances, int width) = 0;
    virtual void fillRegion(const QRegion& region, COLORREF colour) = 0;
    virtual void invertRegion(const QRegion& region) = 0;
    virtual void drawImage(const QRect& dest, const QImage& image) = 0;

    // The drawing state, as a backend reads it.
    struct State {
        CPoint windowOrg;
        CPoint viewportOrg;
        int bkMode = OPAQUE;
        COLORREF bkColor = RGB(255, 255, 255);
        COLORREF textColor = RGB(0, 0, 0);
        unsigned textAlign = TA_LEFT | TA_TOP;
        int polyFillMode = ALTERNATE;
        int arcDirection = AD_COUNTERCLOCKWISE;
        CFont* fontObject = nullptr;
        CPen* penObject = nullptr;
        CBrush* brushObject = nullptr;
        LOGFONT font;
        LOGPEN pen;
        LOGBRUSH brush;
        CPoint position;                // logical
        std::optional<QRegion> clip;    // device
    };
    const State& state() const { return m_state; }
    void setPrinting(bool printing) { m_printing = printing; }
    // Called by a backend when its device changes (a new page size, a new image).
    void resetState();

    // Increases whenever the clip region changes, so a backend can tell.
    int clipGeneration() const { return m_clipGeneration; }
    // The outline of an arc, pie or chord of the ellipse in box (device).
    static QPainterPath arcPath(ArcKind kind, const QRect& box, QPoint start, QPoint end, int direction);
    // The box a shape's outline follows: the box less its right and bottom edges.
    static QRectF outlineBox(const QRect& box);

    QPoint toDevice(int x, int y) const;
    QPoint toDevice(CPoint p) const { return toDevice(p.x, p.y); }
    QRect toDevice(const CRect& r) const;  // QRect spanning left..right-1, top..bottom-1
    QRegion toDevice(const CRgn& region) const;

private:
    void realiseFont();
    QString decode(const char* bytes, int count) const;
    const QFontMetricsF& fontMetrics() const;
    std::vector<int> advancesOf(const QString& text) const;
    std::vector<int> advancesOf(const char* bytes, int count) const;
    bool drawTextAt(int x, int y, const QString& text, std::vector<int> advances);
    void addToPath(const QPainterPath& piece);
    QRect deviceBox(int left, int top, int right, int bottom) const;
    void setClip(std::optional<QRegion> clip);

    State m_state;
    std::vector<State> m_saved;
    bool m_printing = false;
    QFont m_qfont;
    // Measurements of the selected font, made when first needed.
    mutable std::unique_ptr<QFontMetricsF> m_fontMetrics;
    mutable std::optional<TEXTMETRIC> m_textMetrics;
    mutable std::array<double, 256> m_codeAdvance{};
    mutable std::bitset<256> m_codeAdvanceKnown;
    bool m_inPath = false;
    bool m_pathReady = false;
    QPainterPath m_path;
    int m_clipGeneration = 0;
};

// The stock objects a fresh context starts with.
CFont* StockSystemFont();
