// The drawing operations of the drawing context: pen and text, shapes,
// regions, pens, labels and tall delimiters.
#include "foundation/DrawContext.h"

#include "foundation/DrawTarget.h"
#include "foundation/MeasuringContexts.h"
#include "foundation/Str255.h"
#include "platform/draw/CBrush.h"
#include "platform/draw/CDC.h"
#include "platform/draw/ImageDC.h"
#include "platform/draw/TextCodec.h"

#include <QImage>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <tuple>
#include <vector>

namespace {

struct DelimiterPieces {
    unsigned char top;
    unsigned char bottom;
    unsigned char middle;
    unsigned char extension;
};

DelimiterPieces PiecesOf(unsigned char c)
{
    switch (c) {
    case '(': return {147, 145, 169, 169};
    case ')': return {148, 146, 153, 153};
    case '{': return {163, 167, 149, 169};
    case '}': return {182, 223, 174, 153};
    default: return {32, 32, 32, 32};
    }
}

// Top pieces join the piece below them; every other piece joins the one above.
bool JoinsBelow(unsigned char piece)
{
    for (unsigned char c : {'(', ')', '{', '}'})
        if (PiecesOf(c).top == piece)
            return true;
    return false;
}

// The column of a piece's vertical stroke where it joins its neighbour,
// relative to its drawing position: the middle of the ink of the piece's row
// a little inside its joining end, drawn alone in the font. The pieces are
// aligned on the extension piece's stroke, so that they join whatever the
// shape of the mathematics font's glyphs, and at any resolution, where a
// stroke is many pixels wide. Cached by font.
int StemColumn(const LOGFONT& logFont, unsigned char piece)
{
    static std::map<std::tuple<std::string, int, int>, int> cache;
    const auto key = std::make_tuple(logFont.lfFaceName, logFont.lfHeight, int(piece));
    if (auto found = cache.find(key); found != cache.end())
        return found->second;

    const int size = std::clamp(std::abs(logFont.lfHeight), 4, 1000);
    QImage image(3 * size, 3 * size, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        CImageDC dc(image);
        CFont font;
        font.CreateFontIndirect(logFont);
        dc.SelectObject(&font);
        dc.SetBkMode(TRANSPARENT);
        dc.SetTextAlign(TA_BASELINE | TA_LEFT);
        const char byte = static_cast<char>(piece);
        dc.TextOut(size, 2 * size, &byte, 1);
        dc.SelectObject(StockSystemFont());
    }
    auto inkOf = [&](int y, int x) { return 255 - qGray(image.pixel(x, y)); };
    int first = -1, last = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (inkOf(y, x) > 0) {
                first = first < 0 ? y : first;
                last = y;
                break;
            }
    int column = 0;
    if (first >= 0) {
        const int inset = (last - first) / 8;
        const int row = JoinsBelow(piece) ? last - inset : first + inset;
        double weight = 0, sum = 0;
        for (int x = 0; x < image.width(); ++x) {
            weight += inkOf(row, x);
            sum += double(inkOf(row, x)) * x;
        }
        column = weight > 0 ? int(std::lround(sum / weight)) - size : 0;
    }
    cache[key] = column;
    return column;
}

constexpr int kLabelFontHeight = 9;

}  // namespace

TallDelimiterLayout LayOutTallDelimiter(int span, int height)
{
    height = std::max(height, 1);
    span = std::max(span, 0);
    TallDelimiterLayout layout;
    layout.count = span / height + 1;
    if (layout.count % 2 == 0)
        ++layout.count;
    layout.step = (span + layout.count - 1) / layout.count;
    return layout;
}

// ---- pen and text ----

void DrawContext::MoveTo(const IntPoint& p)
{
    m_pen = p;
}

void DrawContext::MoveBy(int dx, int dy)
{
    MoveTo(IntPoint(m_pen.x + dx, m_pen.y + dy));
}

void DrawContext::LineTo(const IntPoint& p)
{
    if (m_dc) {
        const IntPoint from = ToDevice(m_pen);
        const IntPoint to = ToDevice(p);
        m_dc->MoveTo(from.x, from.y);
        m_dc->LineTo(to.x, to.y);
    }
    m_pen = p;
}

void DrawContext::DrawLine(const IntPoint& a, const IntPoint& b)
{
    MoveTo(a);
    LineTo(b);
}

void DrawContext::DrawLineRel(int dx, int dy)
{
    LineTo(IntPoint(m_pen.x + dx, m_pen.y + dy));
}

void DrawContext::TextOutAt(const char* bytes, int count)
{
    if (!m_dc || count <= 0)
        return;
    const IntPoint at = ToDevice(m_pen);
    m_dc->SetTextAlign(TA_BASELINE | TA_LEFT);
    const CDC& measuring = MeasuringContexts::For(*m_dc);
    if (&measuring == m_dc || !bytes) {
        m_dc->TextOut(at.x, at.y, bytes, count);
        return;
    }
    // The measuring context knows the advances already; the device would
    // work them out again after every change of font.
    std::vector<int> advances(static_cast<size_t>(count));
    measuring.GetTextExtentExPoint(bytes, count, advances.data());
    for (size_t i = advances.size() - 1; i > 0; --i)
        advances[i] -= advances[i - 1];
    m_dc->TextOutW(at.x, at.y, TextCodec::Decode(bytes, count, m_dc->CurrentLogFont().lfCharSet), advances);
}

void DrawContext::TextOutAt(const char* text)
{
    TextOutAt(text, int(std::strlen(text)));
}

void DrawContext::DrawString(const Str255& text)
{
    TextOutAt(text.GetPtrAt(0), text.GetLength());
}

void DrawContext::DrawChar(unsigned char c)
{
    const char byte = static_cast<char>(c);
    TextOutAt(&byte, 1);
}

// ---- shapes ----

void DrawContext::DrawRectangle(const Rect& rect)
{
    if (!m_dc)
        return;
    CBrush* previous = m_dc->SelectObject(CBrush::NullBrush());
    m_dc->Rectangle(ToDevice(rect).ToCRect());
    m_dc->SelectObject(previous);
}

void DrawContext::DrawRectangle(const IntPoint& p)
{
    DrawRectangle(Rect(p.x - 2, p.y - 2, p.x + 2, p.y + 2));
}

void DrawContext::DrawEllipse(const Rect& rect)
{
    if (!m_dc)
        return;
    CBrush* previous = m_dc->SelectObject(CBrush::NullBrush());
    m_dc->Ellipse(ToDevice(rect).ToCRect());
    m_dc->SelectObject(previous);
}

void DrawContext::FillEllipse(const Rect& rect, CBrush* brush)
{
    if (!m_dc)
        return;
    CBrush* previous = brush ? m_dc->SelectObject(brush) : nullptr;
    m_dc->Ellipse(ToDevice(rect).ToCRect());
    if (brush)
        m_dc->SelectObject(previous);
}

void DrawContext::DrawArc(const Rect& rect, const IntPoint& from, const IntPoint& to)
{
    if (!m_dc)
        return;
    const IntPoint a = ToDevice(from);
    const IntPoint b = ToDevice(to);
    m_dc->Arc(ToDevice(rect).ToCRect(), CPoint(a.x, a.y), CPoint(b.x, b.y));
}

void DrawContext::FrameRectColor(const Rect& rect, COLORREF colour)
{
    if (!m_dc)
        return;
    CBrush brush(colour);
    m_dc->FrameRect(ToDevice(rect).ToCRect(), &brush);
}

void DrawContext::FrameRectBk(const Rect& rect)
{
    if (m_dc)
        FrameRectColor(rect, m_dc->GetBkColor());
}

void DrawContext::EraseRect(const Rect& rect)
{
    if (m_dc)
        m_dc->FillSolidRect(ToDevice(rect).ToCRect(), m_dc->GetBkColor());
}

void DrawContext::InvertRect(const Rect& rect)
{
    if (m_dc)
        m_dc->InvertRect(ToDevice(rect).ToCRect());
}

// ---- regions ----

void DrawContext::SetClipRegion(const Region& region)
{
    if (!m_dc)
        return;
    const CRgn moved = ToDevice(region);
    m_dc->SelectClipRgn(&moved);
}

void DrawContext::SetClipRegion(const Rect& rect)
{
    SetClipRegion(Region::RegionFromRect(rect));
}

void DrawContext::ClearClipRegion()
{
    if (m_dc)
        m_dc->SelectClipRgn(nullptr);
}

void DrawContext::SelectClipRegionCopy(const Region& region)
{
    m_region = region;
    SetClipRegion(m_region);
}

void DrawContext::FillRegion(const Region& region, COLORREF colour)
{
    if (!m_dc)
        return;
    const CRgn moved = ToDevice(region);
    CBrush brush(colour);
    m_dc->FillRgn(&moved, &brush);
}

void DrawContext::FillRegionGray(const Region& region)
{
    FillRegion(region, m_grey);
}

void DrawContext::FillRegionBackground(const Region& region)
{
    if (m_dc)
        FillRegion(region, m_dc->GetBkColor());
}

void DrawContext::FrameRegion(const Region& region)
{
    if (!m_dc)
        return;
    const CRgn moved = ToDevice(region);
    if (m_printing) {
        CBrush* previous = m_dc->SelectObject(CBrush::NullBrush());
        m_dc->Rectangle(moved.GetBox());
        m_dc->SelectObject(previous);
        return;
    }
    CBrush brush(kHighlight);
    m_dc->FrameRgn(&moved, &brush, 2, 2);
}

void DrawContext::FrameRegion(const Rect& rect)
{
    FrameRegion(Region::RegionFromRect(rect));
}

void DrawContext::FrameRegionColor(const Region& region, COLORREF colour)
{
    if (!m_dc)
        return;
    const CRgn moved = ToDevice(region);
    CBrush brush(colour);
    m_dc->FrameRgn(&moved, &brush, 1, 1);
}

void DrawContext::FrameOrInvertRegion(const Region& region, bool invert)
{
    if (!invert) {
        FrameRegion(region);
        return;
    }
    if (m_dc) {
        const CRgn moved = ToDevice(region);
        m_dc->InvertRgn(&moved);
    }
}

void DrawContext::FillRegionAndShow(const Region& region)
{
    if (!m_dc)
        return;
    const CRgn moved = ToDevice(region);
    m_dc->InvertRgn(&moved);
    if (m_view)
        m_view->InvalidateTargetRect(Rect(moved.GetBox()), false);
}

// ---- pens ----

void DrawContext::SelectPen(int style, int width, COLORREF colour)
{
    if (!m_dc)
        return;
    auto pen = std::make_unique<CPen>(style, width, colour);
    CPen* previous = m_dc->SelectObject(pen.get());
    if (!m_penHolder)
        m_oldPen = previous;
    m_penHolder = std::move(pen);
}

void DrawContext::RestorePen()
{
    if (!m_penHolder)
        return;
    if (m_dc)
        m_dc->SelectObject(m_oldPen ? m_oldPen : CPen::BlackPen());
    m_penHolder.reset();
    m_oldPen = nullptr;
}

// ---- labels ----

void DrawContext::MeasureLabel(const IntPoint& p, const Str255& text, Rect& out)
{
    SelectPlainFont(kLabelFontHeight, false);
    TEXTMETRIC metrics;
    if (m_dc)
        m_dc->GetTextMetrics(&metrics);
    out = Rect(p.x, p.y, p.x + GetStringWidth(text) + 4, p.y + metrics.tmHeight + 2);
    SelectCurrentFont();
}

void DrawContext::MeasureLabelLeftOf(const IntPoint& p, const Str255& text, Rect& out)
{
    SelectPlainFont(kLabelFontHeight, false);
    TEXTMETRIC metrics;
    if (m_dc)
        m_dc->GetTextMetrics(&metrics);
    out = Rect(p.x - GetStringWidth(text) - 8, p.y, p.x, p.y + metrics.tmHeight + 4);
    SelectCurrentFont();
}

void DrawContext::DrawLabelBox(const IntPoint& p, const Str255& text)
{
    if (!m_dc)
        return;
    Rect box;
    MeasureLabel(p, text, box);
    SelectPlainFont(kLabelFontHeight, false);
    const IntPoint at = ToDevice(IntPoint(p.x + 2, p.y + 1));
    m_dc->SetTextAlign(TA_TOP | TA_LEFT);
    m_dc->TextOut(at.x, at.y, text.GetPtrAt(0), text.GetLength());
    InvertRect(box);
    SelectCurrentFont();
}

void DrawContext::DrawLabelBoxLeftOf(const IntPoint& p, const Str255& text)
{
    if (!m_dc)
        return;
    Rect box;
    MeasureLabelLeftOf(p, text, box);
    SelectPlainFont(kLabelFontHeight, false);
    const IntPoint at = ToDevice(IntPoint(box.left + 4, p.y + 2));
    m_dc->SetTextAlign(TA_TOP | TA_LEFT);
    m_dc->TextOut(at.x, at.y, text.GetPtrAt(0), text.GetLength());
    InvertRect(box);
    SelectCurrentFont();
}

void DrawContext::FillGrayBox(const IntPoint& p)
{
    if (!m_dc)
        return;
    Rect box = m_emBox;
    box.right = box.left + 4 * box.Width();
    box.Offset(p);
    const int unit = GetSizeUnit();
    box.Deflate(unit, unit);
    m_dc->FillSolidRect(ToDevice(box).ToCRect(), m_grey);
}

// ---- tall delimiters ----

void DrawContext::DrawSymbolPiece(unsigned char piece, unsigned char extension, int baseline, int x)
{
    int shift = 0;
    if (m_dc && piece != extension) {
        const LOGFONT& font = m_dc->CurrentLogFont();
        shift = StemColumn(font, extension) - StemColumn(font, piece);
    }
    MoveTo(IntPoint(x + shift, baseline));
    DrawChar(piece);
}

void DrawContext::DrawTallDelimiter(unsigned char c, int top, int bottom)
{
    const DelimiterPieces pieces = PiecesOf(c);
    const int savedFamily = m_family;
    SetFontFamily(kMathFamily);
    if (m_dc)
        m_dc->SetBkMode(TRANSPARENT);

    const int x = m_pen.x;
    const int topBaseline = top - SymbolTop(pieces.top);
    const int bottomBaseline = bottom - SymbolBottom(pieces.bottom);
    DrawSymbolPiece(pieces.top, pieces.extension, topBaseline, x);
    // The pieces between fill the gap from the top piece's glyph bottom to
    // the bottom piece's glyph top, each overlapping the next a little, so
    // that no part of an extension stands beside a curved end.
    const int gapTop = topBaseline + SymbolBottom(pieces.top);
    const int gap = bottomBaseline + SymbolTop(pieces.bottom) - gapTop;
    const int height = std::max(1, SymbolBottom(pieces.extension) - SymbolTop(pieces.extension));
    const TallDelimiterLayout layout = LayOutTallDelimiter(gap, height);
    const int covered = (layout.count - 1) * layout.step + height;
    int slotTop = gapTop - (covered - gap) / 2;
    const int half = (layout.count - 1) / 2;
    for (int i = 0; i < layout.count; ++i, slotTop += layout.step) {
        const unsigned char piece = i == half ? pieces.middle : pieces.extension;
        // Each piece centred on its slot (the middle piece of a brace is taller).
        const int centre = slotTop + height / 2;
        DrawSymbolPiece(piece, pieces.extension, centre - (SymbolTop(piece) + SymbolBottom(piece)) / 2, x);
    }
    DrawSymbolPiece(pieces.bottom, pieces.extension, bottomBaseline, x);

    MoveTo(IntPoint(x, bottomBaseline));
    SetFontFamily(savedFamily);
}
