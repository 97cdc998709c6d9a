#include "foundation/DrawContext.h"

#include "foundation/DrawTarget.h"
#include "foundation/FontFace.h"
#include "foundation/FontManager.h"
#include "foundation/MeasuringContexts.h"
#include "foundation/Str255.h"
#include "platform/AppProfile.h"
#include "platform/Exceptions.h"
#include "platform/UserInterface.h"
#include "platform/draw/CDC.h"
#include "platform/draw/FontMap.h"
#include "platform/draw/MetaFileDC.h"

#include <algorithm>
#include <vector>

DrawContext gDrawContext;

namespace {

struct PageRow {
    int left;
    int top;
    int width;
    int height;
};

constexpr PageRow kPageRows[5] = {
    {16, 16, 420, 385}, {16, 16, 420, 385}, {16, 16, 504, 462}, {16, 16, 588, 539}, {16, 16, 756, 693},
};

constexpr int kSizeUnits[10] = {5, 4, 4, 3, 3, 2, 2, 1, 1, 1};
constexpr int kMarginPoints = 42;

}  // namespace

DrawContext::DrawContext() = default;
DrawContext::~DrawContext() = default;

// ---- device contexts ----

void DrawContext::PushLevel(DrawTarget* view, CDC* dc, bool createdHere, bool recording)
{
    if (m_depth >= kMaxLevels) {
        if (createdHere)
            delete dc;
        throw CException("Drawing contexts are nested too deeply");
    }
    Level& level = m_levels[m_depth++];
    level = Level{};
    level.dc = dc;
    level.view = view;
    level.createdHere = createdHere;
    level.recording = recording;
    level.outerDc = m_dc;
    level.outerView = m_view;
    level.outerPrinting = m_printing;
    level.outerResX = m_resX;
    level.outerResY = m_resY;
    level.outerOrigin = m_origin;
    level.outerPen = m_pen;
    level.outerBaseSize = m_baseSize;
    level.outerFamily = m_family;

    m_dc = dc;
    m_view = view;
    m_pen = IntPoint();
}

void DrawContext::BeginDraw(DrawTarget* view)
{
    CDC* dc = view ? view->CreateTargetDC() : nullptr;
    if (!dc)
        throw CException("The view has no surface to draw on");
    PushLevel(view, dc, true, false);
    m_printing = dc->IsPrinting();
    if (!m_printing)
        view->PrepareTargetDC(dc);
    m_origin = IntPoint();
    m_resX = dc->GetDeviceCaps(LOGPIXELSX);
    m_resY = dc->GetDeviceCaps(LOGPIXELSY);
    m_baseSize = static_cast<uint8_t>(view->TargetSizeLevel());
    SelectCurrentFont();
}

void DrawContext::BeginDrawOnDC(DrawTarget* view, CDC* dc)
{
    if (!dc)
        throw CException("No device context to draw on");
    PushLevel(view, dc, false, false);
    m_printing = dc->IsPrinting();
    m_origin = IntPoint();
    m_resX = dc->GetDeviceCaps(LOGPIXELSX);
    m_resY = dc->GetDeviceCaps(LOGPIXELSY);
    if (view)
        m_baseSize = static_cast<uint8_t>(view->TargetSizeLevel());
    dc->SetBkMode(TRANSPARENT);
    SelectCurrentFont();
}

void DrawContext::EndDraw()
{
    if (m_depth == 0)
        return;
    Level& level = m_levels[--m_depth];
    // A context that an outer level also draws on gets that level's font
    // back below; what it had before that belongs to the outer level.
    if (level.fontSaved && level.dc && !IsOuterContext(level.dc))
        level.dc->SelectObject(level.savedFont);
    if (level.recording)
        static_cast<CMetaFileDC*>(level.dc)->CloseEnhanced();
    if (level.createdHere)
        delete level.dc;

    m_dc = level.outerDc;
    m_view = level.outerView;
    m_printing = level.outerPrinting;
    m_resX = level.outerResX;
    m_resY = level.outerResY;
    m_origin = level.outerOrigin;
    m_pen = level.outerPen;
    m_baseSize = level.outerBaseSize;
    m_family = level.outerFamily;
    level = Level{};
    if (m_dc)
        SelectCurrentFont();
}

bool DrawContext::IsOuterContext(const CDC* dc) const
{
    for (int i = 0; i < m_depth; ++i)
        if (m_levels[i].dc == dc)
            return true;
    return false;
}

// ---- pictures ----

bool DrawContext::IsRecording() const
{
    return m_depth > 0 && m_levels[m_depth - 1].recording;
}

void DrawContext::BeginMetafile(DrawTarget* view, const Rect& rect)
{
    auto recorder = std::make_unique<CMetaFileDC>();
    const CRect frame(0, 0, rect.Width(), rect.Height());
    if (!recorder->CreateEnhanced(m_dc, &frame, nullptr))
        throw CException("The picture could not be recorded");
    recorder->IntersectClipRect(frame);
    recorder->SetBkMode(TRANSPARENT);
    const int resX = recorder->GetDeviceCaps(LOGPIXELSX);
    const int resY = recorder->GetDeviceCaps(LOGPIXELSY);
    PushLevel(view, recorder.release(), true, true);
    m_printing = false;
    m_resX = resX;
    m_resY = resY;
    m_origin = IntPoint(-rect.left, -rect.top);
    SelectCurrentFont();
}

HENHMETAFILE DrawContext::EndMetafile()
{
    if (!IsRecording())
        return nullptr;
    Level& level = m_levels[m_depth - 1];
    auto* recorder = static_cast<CMetaFileDC*>(level.dc);
    if (level.fontSaved)
        recorder->SelectObject(level.savedFont);
    level.fontSaved = false;
    auto* picture = new EnhMetafile(recorder->CloseEnhanced());
    level.recording = false;
    EndDraw();
    return picture;
}

void DrawContext::PlayMetafile(HENHMETAFILE picture, const Rect& rect)
{
    if (m_dc && picture)
        m_dc->PlayEnhMetaFile(*picture, ToDevice(rect).ToCRect());
}

void DrawContext::DeleteMetafile(HENHMETAFILE picture)
{
    DeleteEnhMetaFile(picture);
}

// ---- coordinates ----

IntPoint DrawContext::Offset() const
{
    IntPoint offset = m_origin;
    if (m_view && !m_printing && !IsRecording()) {
        const IntPoint scroll = m_view->TargetScrollPosition();
        offset.x -= scroll.x;
        offset.y -= scroll.y;
    }
    return offset;
}

IntPoint DrawContext::ToDevice(const IntPoint& p) const
{
    const IntPoint offset = Offset();
    return IntPoint(p.x + offset.x, p.y + offset.y);
}

Rect DrawContext::ToDevice(const Rect& r) const
{
    Rect moved = r;
    moved.Offset(Offset());
    return moved;
}

CRgn DrawContext::ToDevice(const Region& region) const
{
    CRgn moved = region.Handle();
    const IntPoint offset = Offset();
    moved.OffsetRgn(offset.x, offset.y);
    return moved;
}

// ---- text style and size ----

void DrawContext::SetFontFamily(int family)
{
    if (family == m_family)
        return;
    m_family = family;
    SelectCurrentFont();
}

void DrawContext::SetBaseSize(int level)
{
    m_baseSize = static_cast<uint8_t>(level);
    SelectCurrentFont();
}

void DrawContext::PushSize(int step)
{
    if (m_sizeDepth < kMaxSizeDepth)
        ++m_sizeDepth;
    m_sizeSteps[m_sizeDepth] = static_cast<int8_t>(step);
    if (m_sizeDepth > 1 && m_sizeSteps[m_sizeDepth] == m_sizeSteps[m_sizeDepth - 1])
        return;
    SelectCurrentFont();
}

void DrawContext::PopSize()
{
    if (m_sizeDepth == 0)
        return;
    const int8_t popped = m_sizeSteps[m_sizeDepth];
    --m_sizeDepth;
    if (m_sizeSteps[m_sizeDepth] != popped)
        SelectCurrentFont();
}

int DrawContext::GetSizeLevel() const
{
    return std::clamp(int(m_baseSize) + m_sizeSteps[m_sizeDepth], 0, 9);
}

int DrawContext::GetFontSize() const
{
    return GetPointSize(GetSizeLevel());
}

void DrawContext::SelectFontObject(CFont* font)
{
    if (!m_dc || !font)
        return;
    // Selecting realises the font on the device, which is not cheap; the
    // font already selected is kept.
    const bool selected = m_dc->GetCurrentFont() == font && m_dc->CurrentLogFont() == font->GetLogFont();
    CFont* previous = selected ? font : m_dc->SelectObject(font);
    if (m_depth > 0) {
        Level& level = m_levels[m_depth - 1];
        if (!level.fontSaved) {
            level.savedFont = previous;
            level.fontSaved = true;
        }
    }
    TEXTMETRIC metrics;
    MeasuringContexts::For(*m_dc).GetTextMetrics(&metrics);
    m_charBox = Rect(0, -metrics.tmAscent, metrics.tmMaxCharWidth, metrics.tmDescent);
}

void DrawContext::ComputeSizeMetrics(int s)
{
    m_emBox = Rect(0, -PointsToDevY(7 * s / 10), PointsToDevX(s / 2), PointsToDevY(s / 5));
    m_ascent = -PointsToDevY(1413 * s / 2048) - 1;
    m_descent = PointsToDevY(1147 * s / 4096) + 1;
}

void DrawContext::SelectCurrentFont()
{
    if (!m_dc)
        return;
    const int level = GetSizeLevel();
    if (FontFace* face = gFontManager ? gFontManager->GetFace(m_family) : nullptr)
        SelectFontObject(face->GetFont(level, m_resY));
    ComputeSizeMetrics(GetPointSize(level));
}

void DrawContext::SelectPlainFont(int size, bool scaled)
{
    auto font = std::make_unique<CFont>();
    font->CreateFont(-(scaled ? PointsToDevY(size) : size), 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0,
                     "Arial");
    SelectFontObject(font.get());
    m_plainFont = std::move(font);
    ComputeSizeMetrics(size);
}

int DrawContext::GetSizeUnit() const
{
    return PointsToDevY(kSizeUnits[GetSizeLevel()]);
}

int DrawContext::GetMarginUnit() const
{
    return PointsToDevY(kMarginPoints);
}

int DrawContext::GetAxisHeight() const
{
    return -PointsToDevY(220 * GetFontSize() / 2048);
}

int DrawContext::GetSubscriptDrop() const
{
    return PointsToDevX(410 * GetFontSize() / 1024);
}

bool DrawContext::IsTallerThanLine(int top, int bottom) const
{
    return bottom - top > PointsToDevY(3 * GetFontSize() / 2);
}

// ---- measuring ----

int DrawContext::SymbolScaled(int32_t units) const
{
    return PointsToDevY(units * GetFontSize() / 1024);
}

int DrawContext::SymbolTop(unsigned char c) const
{
    return SymbolScaled(FontMap::MathMetrics().top[c]);
}

int DrawContext::SymbolBottom(unsigned char c) const
{
    return SymbolScaled(FontMap::MathMetrics().bottom[c]);
}

int DrawContext::GetCharAdvance(unsigned char c) const
{
    return PointsToDevX(FontMap::MathMetrics().advance[c] * GetFontSize() / 1024);
}

void DrawContext::GetTextExtent(const Str255& text, Rect& out) const
{
    out = Rect(0, m_ascent, GetStringWidth(text), m_descent);
    if (m_family != kMathFamily)
        return;
    const FontMap::SymbolMetrics& metrics = FontMap::MathMetrics();
    int32_t top = 0;
    int32_t bottom = 0;
    for (int i = 0; i < text.GetLength(); ++i) {
        top = std::min(top, metrics.top[text.GetByteAt(i)]);
        bottom = std::max(bottom, metrics.bottom[text.GetByteAt(i)]);
    }
    out.top = SymbolScaled(top) - 1;
    out.bottom = SymbolScaled(bottom) + 1;
}

int DrawContext::GetStringWidth(const Str255& text) const
{
    return m_dc ? MeasuringContexts::For(*m_dc).GetTextExtent(text.GetPtrAt(0), text.GetLength()).cx : 0;
}

int DrawContext::GetCharWidth(unsigned char c) const
{
    const char byte = static_cast<char>(c);
    return m_dc ? MeasuringContexts::For(*m_dc).GetTextExtent(&byte, 1).cx : 0;
}

void DrawContext::GetCharPositions(const Str255& text, int32_t* widths) const
{
    const int count = text.GetLength();
    if (count == 0)
        return;
    std::vector<int> extents(count, 0);
    if (m_dc)
        MeasuringContexts::For(*m_dc).GetTextExtentExPoint(text.GetPtrAt(0), count, extents.data());
    std::copy(extents.begin(), extents.end(), widths);
}

void DrawContext::GetCharBox(unsigned char c, Rect& out) const
{
    if (m_family == kMathFamily) {
        const FontMap::SymbolMetrics& metrics = FontMap::MathMetrics();
        out = Rect(0, SymbolScaled(std::min(0, metrics.top[c])) - 1, GetCharWidth(c),
                   SymbolScaled(std::max(0, metrics.bottom[c])) + 1);
        return;
    }
    out = Rect(0, m_charBox.top, GetCharWidth(c), m_charBox.bottom);
}

void DrawContext::GetLargeCharBox(unsigned char c, Rect& out)
{
    PushSize(GetTopStep() - 2);
    const int saved = m_family;
    m_family = kMathFamily;  // the symbol tables, whatever the family
    const FontMap::SymbolMetrics& metrics = FontMap::MathMetrics();
    out = Rect(0, SymbolScaled(std::min(0, metrics.top[c])) - 1, GetCharAdvance(c),
               SymbolScaled(std::max(0, metrics.bottom[c])) + 1);
    m_family = saved;
    PopSize();
}

void DrawContext::DrawTextLarger(const Str255& text)
{
    PushSize(GetTopStep() - 2);
    DrawString(text);
    PopSize();
}

// ---- page geometry ----

int DrawContext::GetPaperIndex() const
{
    if (m_baseSize <= 3)
        return 4;
    if (m_baseSize <= 5)
        return 3;
    if (m_baseSize == 6)
        return 2;
    return 1;
}

int DrawContext::GetLeftMargin() const
{
    return m_printing ? 0 : PointsToDevX(kPageRows[GetPaperIndex()].left);
}

int DrawContext::GetTopMargin() const
{
    return PointsToDevY(kPageRows[GetPaperIndex()].top);
}

int DrawContext::GetPageWidth() const
{
    const PageRow& row = kPageRows[GetPaperIndex()];
    if (m_printing && m_dc)
        return m_dc->GetDeviceCaps(HORZRES) - 2 * GetMarginUnit();
    return PointsToDevX(row.width);
}

int DrawContext::GetPageHeight() const
{
    const PageRow& row = kPageRows[GetPaperIndex()];
    if (m_printing && m_dc)
        return m_dc->GetDeviceCaps(HORZRES) - PointsToDevX(row.width - row.height) - 2 * GetMarginUnit();
    return PointsToDevX(row.height);
}

int DrawContext::GetPrintableHeight() const
{
    const int vertRes = m_dc ? m_dc->GetDeviceCaps(VERTRES) : 0;
    return vertRes - 5 * GetMarginUnit() / 2;
}

// ---- the target view ----

void DrawContext::InvalidateLogicalRect(const Rect& rect)
{
    if (m_view)
        m_view->InvalidateTargetRect(ToDevice(rect), true);
}

void DrawContext::ShowRect(const Rect& rect)
{
    if (m_view)
        m_view->ShowTargetRect(rect);
}

void ShowMessageOrBeep(const std::string& text)
{
    if (text.empty())
        UserInterface::Current().MessageBeep(0);
    else
        UserInterface::Current().MessageBox(text, AppProfile::application, MB_OK);
}
