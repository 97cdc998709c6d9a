#include "foundation/CharComp.h"

#include "foundation/TextOutBuffer.h"

void CharComp::WriteText(TextOutBuffer& out) const
{
    out.WriteChar(static_cast<char>(m_code));
}
