#include "foundation/NonAlphaLayout.h"

#include "foundation/ArchiveCharMaps.h"
#include "foundation/CharTable.h"

bool NonAlphaLayout::AcceptsCode(unsigned char code) const
{
    const int32_t kind = CharTable::GetKind(gWriterSymbolMap[code]);
    return kind == CharTable::other || kind == CharTable::relation;
}
