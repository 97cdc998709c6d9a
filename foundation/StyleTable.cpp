#include "foundation/StyleTable.h"

#include "platform/Exceptions.h"

StyleTable* gStyleTable = nullptr;

ParagraphStyle* StyleTable::Lookup(int index)
{
    if (!gStyleTable)
        throw CException("The paragraph styles are not set up");
    return gStyleTable->GetStyle(index);
}
