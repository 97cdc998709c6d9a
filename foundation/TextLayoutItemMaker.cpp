#include "foundation/TextLayoutItemMaker.h"

#include "foundation/NonAlphaLayout.h"
#include "foundation/PlaceholderLayout.h"
#include "foundation/SpaceLayout.h"
#include "foundation/StructLayout.h"
#include "foundation/StyleTable.h"
#include "foundation/WordLayout.h"

Layout* TextLayoutItemMaker::MakePlaceholder(CompList* row, int show)
{
    return new PlaceholderLayout(row, show);
}

Layout* TextLayoutItemMaker::MakeGray(CompList*)
{
    return new GrayLayout;
}

Layout* TextLayoutItemMaker::MakeStruct(TextComp* comp, int32_t index)
{
    return new StructLayout(comp, index);
}

Layout* TextLayoutItemMaker::MakeWord(CompList* row, int32_t index, unsigned char code, int fontId)
{
    return new WordLayout(row, index, code, fontId);
}

Layout* TextLayoutItemMaker::MakeNonAlpha(CompList* row, int32_t index, unsigned char code, int fontId)
{
    return new NonAlphaLayout(row, index, code, fontId);
}

Layout* TextLayoutItemMaker::MakeSpace(CompList* row, int32_t index, unsigned char, int fontId)
{
    return new SpaceLayout(row, index, fontId);
}

Layout* TextLayoutItemMaker::MakeTab(CompList* row, int32_t index, unsigned char, int fontId)
{
    return new TabLayout(row, index, fontId);
}

TextLayoutItemMaker& TextLayoutItemMaker::Instance()
{
    static TextLayoutItemMaker maker;
    return maker;
}

void InstallTextLayout()
{
    LayoutItemMaker::Install(&TextLayoutItemMaker::Instance());
    if (!gStyleTable) {
        static StyleTable table;
        gStyleTable = &table;
    }
}
