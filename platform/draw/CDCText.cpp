// Text: the selected font realised as a Qt font, its metrics, the advances
// of the characters and drawing at the place the text alignment chooses.
#include "platform/draw/CDC.h"

#include "platform/draw/FontMap.h"
#include "platform/draw/TextCodec.h"

#include <algorithm>
#include <cmath>

namespace {

int clampCoord(std::int64_t v)
{
    return CDC::ClampCoord(v);
}

}  // namespace

void CDC::realiseFont()
{
    QFont font = FontMap::ToQFont(m_state.font);
    if (m_fontMetrics && font == m_qfont)
        return;
    m_qfont = font;
    m_fontMetrics.reset();
    m_textMetrics.reset();
    m_codeAdvanceKnown.reset();
}

const QFontMetricsF& CDC::fontMetrics() const
{
    if (!m_fontMetrics)
        m_fontMetrics = std::make_unique<QFontMetricsF>(m_qfont, metricsDevice());
    return *m_fontMetrics;
}

QString CDC::decode(const char* bytes, int count) const
{
    if (!bytes || count <= 0)
        return {};
    return TextCodec::Decode(bytes, count, m_state.font.lfCharSet);
}

namespace {

// Whole-pixel advances whose running sums are the rounded exact extents.
template <typename Advance>
std::vector<int> roundedAdvances(std::size_t count, Advance advance)
{
    std::vector<int> advances;
    advances.reserve(count);
    double total = 0;
    int placed = 0;
    for (std::size_t i = 0; i < count; ++i) {
        total += advance(i);
        int end = int(std::lround(std::clamp(total, -1e8, 1e8)));
        advances.push_back(end - placed);
        placed = end;
    }
    return advances;
}

}  // namespace

std::vector<int> CDC::advancesOf(const QString& text) const
{
    const QFontMetricsF& fm = fontMetrics();
    return roundedAdvances(std::size_t(text.size()), [&](std::size_t i) {
        // A surrogate pair advances once, on its first half.
        QChar c = text[qsizetype(i)];
        if (c.isLowSurrogate() && i > 0 && text[qsizetype(i) - 1].isHighSurrogate())
            return 0.0;
        if (c.isHighSurrogate() && qsizetype(i) + 1 < text.size())
            return fm.horizontalAdvance(text.mid(qsizetype(i), 2));
        return fm.horizontalAdvance(c);
    });
}

std::vector<int> CDC::advancesOf(const char* bytes, int count) const
{
    if (!bytes || count <= 0)
        return {};
    return roundedAdvances(std::size_t(count), [&](std::size_t i) {
        auto code = static_cast<unsigned char>(bytes[i]);
        if (!m_codeAdvanceKnown[code]) {
            m_codeAdvance[code] = fontMetrics().horizontalAdvance(decode(bytes + i, 1));
            m_codeAdvanceKnown.set(code);
        }
        return m_codeAdvance[code];
    });
}

bool CDC::drawTextAt(int x, int y, const QString& text, std::vector<int> advances)
{
    if (advances.size() != std::size_t(text.size()))
        advances = advancesOf(text);
    std::int64_t total = 0;
    for (int a : advances)
        total += a;
    int width = clampCoord(total);
    bool updateCp = (m_state.textAlign & TA_UPDATECP) != 0;
    CPoint origin = updateCp ? m_state.position : CPoint(x, y);
    QPoint ref = toDevice(origin);
    TEXTMETRIC tm;
    GetTextMetrics(&tm);
    int dx = 0;
    switch (m_state.textAlign & TA_CENTER) {
    case TA_RIGHT: dx = -width; break;
    case TA_CENTER: dx = -width / 2; break;
    default: break;
    }
    int dy = 0;
    switch (m_state.textAlign & TA_BASELINE) {
    case TA_BASELINE: dy = 0; break;
    case TA_BOTTOM: dy = -tm.tmDescent; break;
    default: dy = tm.tmAscent; break;
    }
    if (updateCp && (m_state.textAlign & TA_CENTER) == TA_LEFT)
        m_state.position.x = clampCoord(std::int64_t(m_state.position.x) + width);
    else if (updateCp && (m_state.textAlign & TA_CENTER) == TA_RIGHT)
        m_state.position.x = clampCoord(std::int64_t(m_state.position.x) - width);
    if (m_inPath || text.isEmpty())
        return true;
    drawText(ref, QPoint(ref.x() + dx, ref.y() + dy), text, advances, width);
    return true;
}

bool CDC::TextOut(int x, int y, const char* bytes, int count)
{
    if (count < 0)
        return false;
    return drawTextAt(x, y, decode(bytes, count), advancesOf(bytes, count));
}

bool CDC::TextOutW(int x, int y, const QString& text, const std::vector<int>& advances)
{
    return drawTextAt(x, y, text, advances);
}

CSize CDC::GetTextExtent(const char* bytes, int count) const
{
    std::int64_t width = 0;
    for (int a : advancesOf(bytes, count))
        width += a;
    TEXTMETRIC tm;
    GetTextMetrics(&tm);
    return CSize(clampCoord(width), tm.tmHeight);
}

bool CDC::GetTextExtentExPoint(const char* bytes, int count, int* extents, CSize* size) const
{
    if (count < 0 || (count > 0 && !bytes))
        return false;
    std::vector<int> advances = advancesOf(bytes, count);
    std::int64_t sum = 0;
    for (std::size_t i = 0; i < advances.size(); ++i) {
        sum += advances[i];
        if (extents && int(i) < count)
            extents[i] = clampCoord(sum);
    }
    if (size) {
        TEXTMETRIC tm;
        GetTextMetrics(&tm);
        *size = CSize(clampCoord(sum), tm.tmHeight);
    }
    return true;
}

bool CDC::GetTextMetrics(TEXTMETRIC* metrics) const
{
    if (!metrics)
        return false;
    if (m_textMetrics) {
        *metrics = *m_textMetrics;
        return true;
    }
    const QFontMetricsF& fm = fontMetrics();
    TEXTMETRIC tm;
    tm.tmAscent = int(std::lround(fm.ascent()));
    tm.tmDescent = int(std::lround(fm.descent()));
    tm.tmHeight = tm.tmAscent + tm.tmDescent;
    tm.tmInternalLeading = std::max(0, tm.tmHeight - m_qfont.pixelSize());
    tm.tmExternalLeading = std::max(0, int(std::lround(fm.leading())));
    tm.tmAveCharWidth = int(std::lround(fm.averageCharWidth()));
    tm.tmMaxCharWidth = int(std::lround(fm.maxWidth()));
    tm.tmWeight = m_state.font.lfWeight <= 0 ? FW_NORMAL : m_state.font.lfWeight;
    tm.tmItalic = m_state.font.lfItalic;
    tm.tmCharSet = m_state.font.lfCharSet;
    m_textMetrics = tm;
    *metrics = tm;
    return true;
}

int CDC::GetCharWidth(unsigned char code) const
{
    char c = char(code);
    return GetTextExtent(&c, 1).cx;
}
