#pragma once
// A pen: style (solid, dash, dot, null), width in pixels (0 draws one pixel
// wide) and colour.
#include "platform/draw/GdiTypes.h"

struct LOGPEN {
    int lopnStyle = PS_SOLID;
    int lopnWidth = 0;
    COLORREF lopnColor = 0;
    bool operator==(const LOGPEN&) const = default;
};

class CPen {
public:
    CPen() = default;
    CPen(int style, int width, COLORREF colour) { CreatePen(style, width, colour); }

    bool CreatePen(int style, int width, COLORREF colour);
    bool DeleteObject();

    bool IsValid() const { return m_valid; }
    const LOGPEN& GetLogPen() const { return m_logPen; }

    // The stock pens.
    static CPen* BlackPen();
    static CPen* WhitePen();
    static CPen* NullPen();

private:
    LOGPEN m_logPen;
    bool m_valid = false;
};
