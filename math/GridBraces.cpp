#include "math/GridBraces.h"

#include "foundation/DrawContext.h"
#include "foundation/FontFamilyScope.h"

int GridBraces::Width(unsigned char brace)
{
    MathFamilyScope family;
    return gDrawContext.GetCharWidth(brace);
}

void GridBraces::Draw(unsigned char brace, int x, const Rect& box)
{
    MathFamilyScope family;
    Rect character;
    gDrawContext.GetCharBox(brace, character);
    gDrawContext.MoveTo(IntPoint(x, box.top));
    if (box.Height() >= 2 * character.Height()) {
        gDrawContext.DrawTallDelimiter(brace, box.top, box.bottom);
    } else {
        gDrawContext.MoveTo(IntPoint(x, (box.top + box.bottom) / 2));
        gDrawContext.DrawChar(brace);
    }
}
