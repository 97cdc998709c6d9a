#include "foundation/LayoutItemMaker.h"

#include "platform/Exceptions.h"

namespace {
LayoutItemMaker* gLayoutItemMaker = nullptr;
}

void LayoutItemMaker::Install(LayoutItemMaker* maker)
{
    gLayoutItemMaker = maker;
}

LayoutItemMaker* LayoutItemMaker::Installed()
{
    return gLayoutItemMaker;
}

LayoutItemMaker* LayoutItemMaker::Get()
{
    if (!gLayoutItemMaker)
        throw CException("No text layout is installed");
    return gLayoutItemMaker;
}
