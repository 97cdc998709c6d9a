#pragma once
// Selects a font family on the drawing context for the length of a scope and
// gives the previous family back afterwards, also when the scope is left by
// an exception.
#include "foundation/DrawContext.h"

class FontFamilyScope {
public:
    explicit FontFamilyScope(int family) : m_saved(gDrawContext.GetFontFamily()) { gDrawContext.SetFontFamily(family); }
    ~FontFamilyScope() { gDrawContext.SetFontFamily(m_saved); }
    FontFamilyScope(const FontFamilyScope&) = delete;
    FontFamilyScope& operator=(const FontFamilyScope&) = delete;

private:
    int m_saved;
};

// The mathematics face for a scope.
class MathFamilyScope : public FontFamilyScope {
public:
    MathFamilyScope() : FontFamilyScope(DrawContext::kMathFamily) {}
};
