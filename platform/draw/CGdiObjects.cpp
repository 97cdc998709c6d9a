// Fonts, pens and brushes: descriptions that a device context copies when
// they are selected.
#include "platform/draw/CBrush.h"
#include "platform/draw/CFont.h"
#include "platform/draw/CPen.h"

bool CFont::CreateFont(int height, int width, int escapement, int orientation, int weight,
                       std::uint8_t italic, std::uint8_t underline, std::uint8_t strikeOut,
                       std::uint8_t charSet, std::uint8_t outPrecision, std::uint8_t clipPrecision,
                       std::uint8_t quality, std::uint8_t pitchAndFamily, const char* faceName)
{
    LOGFONT lf;
    lf.lfHeight = height;
    lf.lfWidth = width;
    lf.lfEscapement = escapement;
    lf.lfOrientation = orientation;
    lf.lfWeight = weight;
    lf.lfItalic = italic;
    lf.lfUnderline = underline;
    lf.lfStrikeOut = strikeOut;
    lf.lfCharSet = charSet;
    lf.lfOutPrecision = outPrecision;
    lf.lfClipPrecision = clipPrecision;
    lf.lfQuality = quality;
    lf.lfPitchAndFamily = pitchAndFamily;
    lf.lfFaceName = faceName ? faceName : "";
    return CreateFontIndirect(lf);
}

bool CFont::CreateFontIndirect(const LOGFONT& logFont)
{
    m_logFont = logFont;
    m_valid = true;
    return true;
}

bool CFont::CreatePixelFont(const char* faceName, int pixelHeight, int weight, bool italic, int charSet)
{
    return CreateFont(-pixelHeight, 0, 0, 0, weight, italic ? 1 : 0, 0, 0, std::uint8_t(charSet),
                      OUT_TT_PRECIS, 0, PROOF_QUALITY, 0, faceName);
}

bool CFont::DeleteObject()
{
    bool had = m_valid;
    m_logFont = LOGFONT();
    m_valid = false;
    return had;
}

bool CFont::GetLogFont(LOGFONT* out) const
{
    if (!m_valid || !out)
        return false;
    *out = m_logFont;
    return true;
}

bool CPen::CreatePen(int style, int width, COLORREF colour)
{
    m_logPen.lopnStyle = (style >= PS_SOLID && style <= PS_INSIDEFRAME) ? style : PS_SOLID;
    m_logPen.lopnWidth = width < 0 ? 0 : width;
    m_logPen.lopnColor = colour & 0xFFFFFF;
    m_valid = true;
    return true;
}

bool CPen::DeleteObject()
{
    bool had = m_valid;
    m_logPen = LOGPEN();
    m_valid = false;
    return had;
}

CPen* CPen::BlackPen()
{
    static CPen pen(PS_SOLID, 0, RGB(0, 0, 0));
    return &pen;
}

CPen* CPen::WhitePen()
{
    static CPen pen(PS_SOLID, 0, RGB(255, 255, 255));
    return &pen;
}

CPen* CPen::NullPen()
{
    static CPen pen(PS_NULL, 0, 0);
    return &pen;
}

bool CBrush::CreateSolidBrush(COLORREF colour)
{
    return CreateBrushIndirect(LOGBRUSH{BS_SOLID, colour & 0xFFFFFF});
}

bool CBrush::CreateBrushIndirect(const LOGBRUSH& logBrush)
{
    m_logBrush = logBrush;
    if (m_logBrush.lbStyle != BS_NULL)
        m_logBrush.lbStyle = BS_SOLID;
    m_valid = true;
    return true;
}

bool CBrush::DeleteObject()
{
    bool had = m_valid;
    m_logBrush = LOGBRUSH();
    m_valid = false;
    return had;
}

CBrush* CBrush::BlackBrush()
{
    static CBrush brush(RGB(0, 0, 0));
    return &brush;
}

CBrush* CBrush::WhiteBrush()
{
    static CBrush brush(RGB(255, 255, 255));
    return &brush;
}

CBrush* CBrush::NullBrush()
{
    static CBrush brush = [] {
        CBrush b;
        b.CreateBrushIndirect(LOGBRUSH{BS_NULL, 0});
        return b;
    }();
    return &brush;
}
