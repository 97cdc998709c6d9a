#include "foundation/CharComp.h"

#include "foundation/TextOutBuffer.h"

void CharComp::WriteText(TextOutBuffer& out) const
{
    out.WriteCode(m_code, m_fontId);
}
