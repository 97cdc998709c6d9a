#include "platform/InputGate.h"

#include "platform/UserInterface.h"

namespace {

InputHold* g_hold = nullptr;

} // namespace

namespace InputGate {

InputHold* Install(InputHold* hold)
{
    InputHold* old = g_hold;
    g_hold = hold;
    return old;
}

InputHold* Current()
{
    return g_hold;
}

bool IsHolding()
{
    return g_hold && g_hold->IsHolding();
}

void Refuse()
{
    UserInterface::Current().MessageBeep(0);
    if (g_hold)
        UserInterface::Current().SetStatusText(g_hold->RefusalText());
}

bool RefuseWhileHolding()
{
    if (!IsHolding())
        return false;
    Refuse();
    return true;
}

bool LetCommandThrough(unsigned id, bool closes, const std::function<void()>& rerun)
{
    if (!IsHolding() || g_hold->AllowsCommand(id))
        return true;
    if (closes)
        g_hold->CloseWhenStopped(rerun);
    else
        Refuse();
    return false;
}

} // namespace InputGate
