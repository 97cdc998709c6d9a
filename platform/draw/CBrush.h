#pragma once
// A solid brush, or the null (hollow) brush that fills nothing.
#include "platform/draw/GdiTypes.h"

struct LOGBRUSH {
    int lbStyle = BS_SOLID;
    COLORREF lbColor = 0;
    bool operator==(const LOGBRUSH&) const = default;
};

class CBrush {
public:
    CBrush() = default;
    explicit CBrush(COLORREF colour) { CreateSolidBrush(colour); }

    bool CreateSolidBrush(COLORREF colour);
    bool CreateBrushIndirect(const LOGBRUSH& logBrush);
    bool DeleteObject();

    bool IsValid() const { return m_valid; }
    const LOGBRUSH& GetLogBrush() const { return m_logBrush; }
    bool IsNull() const { return m_logBrush.lbStyle == BS_NULL; }

    // The stock brushes.
    static CBrush* BlackBrush();
    static CBrush* WhiteBrush();
    static CBrush* NullBrush();

private:
    LOGBRUSH m_logBrush;
    bool m_valid = false;
};
