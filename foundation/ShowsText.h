#pragma once
// Links, references and value displays: structures that show text in the
// running sentence, whatever face they carry.
#include "foundation/TypeTag.h"

inline bool ShowsText(TypeTag tag)
{
    return tag == tag_Link || tag == tag_Ref || tag == tag_VDsp;
}
