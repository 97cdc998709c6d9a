#include "math/OverComp.h"

#include "foundation/DocPosition.h"

void OverComp::GetEntryPosition(DocPosition& out)
{
    if (m_first->GetCount() == 0)
        out = DocPosition(m_first, 1);
    else
        TextComp::GetEntryPosition(out);
}
