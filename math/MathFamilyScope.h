#pragma once
// Selects the math face (family 3) on the drawing context for the length of
// a scope and gives the previous family back afterwards, also when the scope
// is left by an exception.
#include "foundation/DrawContext.h"

class MathFamilyScope {
public:
    MathFamilyScope() : m_saved(gDrawContext.GetFontFamily()) { gDrawContext.SetFontFamily(DrawContext::kMathFamily); }
    ~MathFamilyScope() { gDrawContext.SetFontFamily(m_saved); }
    MathFamilyScope(const MathFamilyScope&) = delete;
    MathFamilyScope& operator=(const MathFamilyScope&) = delete;

private:
    int m_saved;
};
