#include "math/ScriptComp.h"

void ScriptComp::SetSizeStep(signed char step)
{
    BoxComp::SetSizeStep(step);
    m_first->SetSizeStep(static_cast<signed char>(step + 2));
}

const Rect& ScriptComp::LayOutScript()
{
    m_first->LayoutToContextWidth();
    return m_first->GetRect();
}
