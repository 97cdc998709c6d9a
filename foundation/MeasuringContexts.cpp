#include "foundation/MeasuringContexts.h"

#include "platform/draw/CFont.h"
#include "platform/draw/ImageDC.h"
#include "platform/draw/MeasureDC.h"
#include "platform/draw/MetaFileDC.h"
#include "platform/draw/SvgDC.h"

#include <memory>
#include <typeinfo>
#include <vector>

namespace {

// Layout uses a few faces at a few sizes; more than this means the fonts or
// resolutions keep changing, and the contexts are made afresh.
constexpr size_t kMaxContexts = 64;

struct Entry {
    Entry(const LOGFONT& logFont, int resolution) : font(logFont), dpi(resolution), dc(resolution)
    {
        selected.CreateFontIndirect(logFont);
        dc.SelectObject(&selected);
    }

    LOGFONT font;
    int dpi;
    CFont selected;
    CMeasureDC dc;
};

struct Contexts {
    std::vector<std::unique_ptr<Entry>> entries;
    Entry* last = nullptr;
};

Contexts& TheContexts()
{
    // Never destroyed: the contexts hold fonts that must not outlive the
    // application object at exit.
    static auto* contexts = new Contexts;
    return *contexts;
}

// Contexts whose metrics device is an image at the context's resolution
// (those drawing on images, measuring, recording pictures and writing SVG,
// and the kinds made from them). The answer depends on the type alone and is
// kept for the type seen last.
bool MeasuresOnImage(const CDC& target)
{
    static const std::type_info* lastType = nullptr;
    static bool lastAnswer = false;
    const std::type_info& type = typeid(target);
    if (&type != lastType) {
        lastAnswer = dynamic_cast<const CImageDC*>(&target) || dynamic_cast<const CMeasureDC*>(&target) ||
                     dynamic_cast<const CMetaFileDC*>(&target) || dynamic_cast<const CSvgDC*>(&target);
        lastType = &type;
    }
    return lastAnswer;
}

bool Matches(const Entry& entry, const LOGFONT& font, int dpi)
{
    return entry.dpi == dpi && entry.font == font;
}

} // namespace

const CDC& MeasuringContexts::For(const CDC& target)
{
    if (!MeasuresOnImage(target))
        return target;
    const LOGFONT& font = target.CurrentLogFont();
    const int dpi = target.GetDeviceCaps(LOGPIXELSY);
    if (dpi != target.GetDeviceCaps(LOGPIXELSX))
        return target;
    Contexts& contexts = TheContexts();
    if (contexts.last && Matches(*contexts.last, font, dpi))
        return contexts.last->dc;
    for (const auto& entry : contexts.entries) {
        if (Matches(*entry, font, dpi)) {
            contexts.last = entry.get();
            return entry->dc;
        }
    }
    if (contexts.entries.size() >= kMaxContexts)
        Clear();
    contexts.entries.push_back(std::make_unique<Entry>(font, dpi));
    contexts.last = contexts.entries.back().get();
    return contexts.last->dc;
}

void MeasuringContexts::Clear()
{
    Contexts& contexts = TheContexts();
    contexts.last = nullptr;
    contexts.entries.clear();
}
