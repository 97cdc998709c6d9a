#include "platform/framework/LockKeys.h"

#include <QGuiApplication>

#include "platform/framework/AfxTypes.h"

#ifdef QV_HAVE_X11
#include <X11/XKBlib.h>
#endif

namespace {

LockKeyReader g_reader;

const char* IndicatorName(int vk)
{
    switch (vk) {
    case VK_CAPITAL: return "Caps Lock";
    case VK_NUMLOCK: return "Num Lock";
    case VK_SCROLL: return "Scroll Lock";
    default: return nullptr;
    }
}

// The indicator of that name on the application's X display.
bool DisplayIndicatorOn(const char* name)
{
#ifdef QV_HAVE_X11
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* display = x11 ? x11->display() : nullptr;
    if (!display)
        return false;
    const Atom atom = XInternAtom(display, name, True);
    Bool on = False;
    return atom != None && XkbGetNamedIndicator(display, atom, nullptr, &on, nullptr, nullptr) && on;
#else
    (void)name;
    return false;
#endif
}

} // namespace

bool IsLockKeyOn(int vk)
{
    const char* name = IndicatorName(vk);
    if (!name)
        return false;
    return g_reader ? g_reader(vk) : DisplayIndicatorOn(name);
}

LockKeyReader SetLockKeyReader(LockKeyReader reader)
{
    LockKeyReader old = std::move(g_reader);
    g_reader = std::move(reader);
    return old;
}
