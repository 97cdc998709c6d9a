#include "platform/clipboard/PlatformClipboard.h"

#include <atomic>

#include "platform/clipboard/QtClipboard.h"

namespace {
std::atomic<PlatformClipboard*> installed{nullptr};
}

int PlatformClipboard::GetPriorityFormat(const std::vector<Format>& formats) const
{
    for (Format format : formats) {
        if (HasFormat(format))
            return format;
    }
    return 0;
}

PlatformClipboard& PlatformClipboard::Current()
{
    if (PlatformClipboard* clipboard = installed.load())
        return *clipboard;
    return QtClipboard::Instance();
}

PlatformClipboard* PlatformClipboard::Install(PlatformClipboard* clipboard)
{
    return installed.exchange(clipboard);
}
