#pragma once
// The one drawing context through which every part of a document is measured
// and drawn: on the screen, a printer, a picture being recorded or an image.
// It keeps a stack of device contexts, the current font family and size
// (a base size level plus a stack of signed size steps), the resolution of
// the current device, the pen position and the drawing origin.
//
// Coordinates given to it are document coordinates: the origin is added and,
// on the screen, the view's scroll position is subtracted here. Lengths held
// in points become device pixels by resolution / 72 (integer division, after
// any fraction of the size has been taken with integer division).
#include "foundation/FontIds.h"
#include "foundation/IntPoint.h"
#include "foundation/Rect.h"
#include "foundation/Region.h"
#include "platform/draw/CFont.h"
#include "platform/draw/CPen.h"
#include "platform/draw/GdiTypes.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

class CBrush;
class CDC;
class CRgn;
class DrawTarget;
class EnhMetafile;
class Str255;
using HENHMETAFILE = EnhMetafile*;

// The counts of a tall delimiter: n pieces between the top and bottom pieces
// (an odd number: extensions, the middle piece, extensions), step pixels apart.
struct TallDelimiterLayout {
    int count = 1;
    int step = 0;
};
// span: the height the pieces between the ends fill; height: one piece's.
TallDelimiterLayout LayOutTallDelimiter(int span, int height);

class DrawContext {
public:
    static constexpr int kMaxLevels = 31;
    static constexpr int kMaxSizeDepth = 255;
    static constexpr int kMathFamily = FontId::kMath;
    static constexpr int kDefaultBaseSize = 5;
    static constexpr COLORREF kGrey = RGB(128, 128, 128);
    static constexpr COLORREF kHighlight = RGB(0, 0, 128);

    DrawContext();
    ~DrawContext();
    DrawContext(const DrawContext&) = delete;
    DrawContext& operator=(const DrawContext&) = delete;

    // ---- device contexts ----
    // Pushes a level drawing on a new client context of the view.
    void BeginDraw(DrawTarget* view);
    // Pushes a level drawing on a context the caller keeps (printing,
    // previews, images); view may be null.
    void BeginDrawOnDC(DrawTarget* view, CDC* dc);
    // Pops a level: the popped context gets back the font it had, the outer
    // level's context, view, printing flag, resolution, origin, size and
    // font become current again.
    void EndDraw();
    int GetDepth() const { return m_depth; }
    CDC* GetDC() const { return m_dc; }
    DrawTarget* GetTarget() const { return m_view; }
    bool IsPrinting() const { return m_printing; }
    int GetResolutionX() const { return m_resX; }
    int GetResolutionY() const { return m_resY; }

    // ---- pictures ----
    // Starts recording what is drawn in rect (document coordinates) as a
    // picture; the recording becomes the current context.
    void BeginMetafile(DrawTarget* view, const Rect& rect);
    // Ends the recording and answers the picture (owned by the caller, freed
    // with DeleteMetafile); null when no recording was in progress.
    HENHMETAFILE EndMetafile();
    void PlayMetafile(HENHMETAFILE picture, const Rect& rect);
    static void DeleteMetafile(HENHMETAFILE picture);
    bool IsRecording() const;

    // ---- origin and pen ----
    void SetOrigin(const IntPoint& origin) { m_origin = origin; }
    IntPoint GetOrigin() const { return m_origin; }
    IntPoint GetPenPosition() const { return m_pen; }
    // A document point in the current context's coordinates.
    IntPoint ToDevice(const IntPoint& p) const;
    Rect ToDevice(const Rect& r) const;

    // ---- text style and size ----
    void SetFontFamily(int family);
    int GetFontFamily() const { return m_family; }
    void SetBaseSize(int level);
    int GetBaseSize() const { return m_baseSize; }
    void PushSize(int step);
    void PopSize();
    int GetSizeDepth() const { return m_sizeDepth; }
    int GetTopStep() const { return m_sizeSteps[m_sizeDepth]; }
    // Base level plus the top step, kept within 0..9.
    int GetSizeLevel() const;
    void SelectCurrentFont();
    void SelectPlainFont(int size, bool scaled);

    int GetFontSize() const;
    int GetSizeUnit() const;
    int GetMarginUnit() const;
    int GetAxisHeight() const;
    int GetSubscriptDrop() const;
    bool IsTallerThanLine(int top, int bottom) const;
    int GetAscent() const { return m_ascent; }
    int GetDescent() const { return m_descent; }
    const Rect& GetCurrentCharBox() const { return m_charBox; }
    const Rect& GetEmBox() const { return m_emBox; }
    int PointsToDevX(int v) const { return v * m_resX / 72; }
    int PointsToDevY(int v) const { return v * m_resY / 72; }

    // ---- measuring ----
    void GetTextExtent(const Str255& text, Rect& out) const;
    int GetStringWidth(const Str255& text) const;
    int GetCharWidth(unsigned char c) const;
    // widths[i] = the width of the first i + 1 characters; widths must hold
    // text.GetLength() entries.
    void GetCharPositions(const Str255& text, int32_t* widths) const;
    void GetCharBox(unsigned char c, Rect& out) const;
    int GetCharAdvance(unsigned char c) const;
    void GetLargeCharBox(unsigned char c, Rect& out);
    void DrawTextLarger(const Str255& text);

    // ---- page geometry (by the base size level) ----
    // 4 for levels 0-3, 3 for 4-5, 2 for 6, 1 otherwise.
    int GetPaperIndex() const;
    int GetLeftMargin() const;
    int GetTopMargin() const;
    int GetPageWidth() const;
    int GetPageHeight() const;
    int GetPrintableHeight() const;

    // ---- pen and text ----
    void MoveTo(const IntPoint& p);
    void MoveBy(int dx, int dy);
    void LineTo(const IntPoint& p);
    void DrawLine(const IntPoint& a, const IntPoint& b);
    void DrawLineRel(int dx, int dy);
    // Text at the pen position, baseline at the pen; the pen does not move.
    void TextOutAt(const char* text);
    void TextOutAt(const char* bytes, int count);
    void DrawString(const Str255& text);
    void DrawChar(unsigned char c);

    // ---- shapes (outlines with the current pen) ----
    void DrawRectangle(const Rect& rect);
    // A point marker: the rectangle from (x - 2, y - 2) to (x + 2, y + 2).
    void DrawRectangle(const IntPoint& p);
    void DrawEllipse(const Rect& rect);
    // Filled with the brush (the selected brush when null), outlined with the pen.
    void FillEllipse(const Rect& rect, CBrush* brush = nullptr);
    void DrawArc(const Rect& rect, const IntPoint& from, const IntPoint& to);
    void FrameRectColor(const Rect& rect, COLORREF colour);
    void FrameRectBk(const Rect& rect);
    void EraseRect(const Rect& rect);
    void InvertRect(const Rect& rect);

    // ---- regions (document coordinates) ----
    void SetClipRegion(const Region& region);
    void SetClipRegion(const Rect& rect);
    void ClearClipRegion();
    void SelectClipRegionCopy(const Region& region);
    void FillRegion(const Region& region, COLORREF colour);
    void FillRegionGray(const Region& region);
    void FillRegionBackground(const Region& region);
    // A two-pixel frame in the highlight colour; the box's outline when printing.
    void FrameRegion(const Region& region);
    void FrameRegion(const Rect& rect);
    void FrameRegionColor(const Region& region, COLORREF colour);
    void FrameOrInvertRegion(const Region& region, bool invert);
    // Inverts the region and asks the view to show the change.
    void FillRegionAndShow(const Region& region);

    // ---- pens ----
    void SelectPen(int style, int width, COLORREF colour);
    void RestorePen();

    // ---- labels: small texts in the plain font 9 device units high ----
    // The box of DrawLabelBox: top-left corner at the point, text width + 4
    // wide, text height + 2 high.
    void MeasureLabel(const IntPoint& p, const Str255& text, Rect& out);
    // The box of DrawLabelBoxLeftOf: top-right corner at the point, from
    // x - text width - 8 to x, text height + 4 high.
    void MeasureLabelLeftOf(const IntPoint& p, const Str255& text, Rect& out);
    void DrawLabelBox(const IntPoint& p, const Str255& text);
    void DrawLabelBoxLeftOf(const IntPoint& p, const Str255& text);
    // The em box at the point, four times as wide, shrunk by the size unit.
    void FillGrayBox(const IntPoint& p);

    // ---- the target view ----
    void InvalidateLogicalRect(const Rect& rect);
    void ShowRect(const Rect& rect);

    // A "(", ")", "{" or "}" built from mathematics-face pieces, its top piece
    // reaching up to top and its bottom piece down to bottom.
    void DrawTallDelimiter(unsigned char c, int top, int bottom);

    // The mathematics face's glyph top, bottom and advance of a code at the
    // current size, in pixels.
    int SymbolTop(unsigned char c) const;
    int SymbolBottom(unsigned char c) const;

private:
    struct Level {
        CDC* dc = nullptr;
        DrawTarget* view = nullptr;
        bool createdHere = false;
        bool recording = false;
        CFont* savedFont = nullptr;  // what the context had before our first font
        bool fontSaved = false;
        // The outer level's state, restored when this level ends.
        CDC* outerDc = nullptr;
        DrawTarget* outerView = nullptr;
        bool outerPrinting = false;
        int outerResX = 96;
        int outerResY = 96;
        IntPoint outerOrigin;
        IntPoint outerPen;
        uint8_t outerBaseSize = kDefaultBaseSize;
        int outerFamily = 0;
    };

    void PushLevel(DrawTarget* view, CDC* dc, bool createdHere, bool recording);
    // The context is drawn on by a level below the top one.
    bool IsOuterContext(const CDC* dc) const;
    void SelectFontObject(CFont* font);
    void ComputeSizeMetrics(int size);
    IntPoint Offset() const;
    CRgn ToDevice(const Region& region) const;
    int SymbolScaled(int32_t units) const;
    void DrawSymbolPiece(unsigned char piece, unsigned char extension, int baseline, int x);

    CDC* m_dc = nullptr;
    std::array<Level, kMaxLevels> m_levels{};
    int m_depth = 0;
    std::unique_ptr<CFont> m_plainFont;
    COLORREF m_grey = kGrey;
    DrawTarget* m_view = nullptr;
    bool m_printing = false;
    Rect m_charBox;
    Rect m_emBox;
    int m_family = 0;
    uint8_t m_baseSize = kDefaultBaseSize;
    std::array<int8_t, kMaxSizeDepth + 1> m_sizeSteps{};
    int m_sizeDepth = 0;
    int m_ascent = 0;
    int m_descent = 0;
    int m_resY = 96;
    int m_resX = 96;
    IntPoint m_pen;
    IntPoint m_origin;
    Region m_region;
    std::unique_ptr<CPen> m_penHolder;
    CPen* m_oldPen = nullptr;
};

// The program's drawing context. User-interface thread only: a worker thread
// hands what it computed over by a queued call and never draws with it.
extern DrawContext gDrawContext;

// A message box with the text, or a beep when the text is empty.
void ShowMessageOrBeep(const std::string& text);
