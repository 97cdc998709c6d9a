#include "foundation/RunExtentCache.h"

#include "foundation/DrawContext.h"
#include "foundation/FontFace.h"
#include "foundation/FontManager.h"

#include <array>
#include <cstring>
#include <string_view>
#include <unordered_map>

namespace {

constexpr size_t kMaxEntries = 20000;
// Longer texts are measured directly (they seldom recur).
constexpr int kMaxKeyText = 31;

struct FaceSignature {
    const FontFace* face = nullptr;
    uint32_t changes = 0;
};

// Font id, size level, printing flag, resolution and the text, in place.
struct Key {
    uint8_t length = 0;
    char bytes[5 + kMaxKeyText];

    std::string_view View() const { return {bytes, length}; }
    bool operator==(const Key& other) const { return View() == other.View(); }
};

struct KeyHash {
    // FNV-1a: the keys are a few dozen bytes.
    size_t operator()(const Key& key) const
    {
        uint64_t hash = 14695981039346656037ull;
        for (uint8_t i = 0; i < key.length; ++i)
            hash = (hash ^ static_cast<uint8_t>(key.bytes[i])) * 1099511628211ull;
        return size_t(hash);
    }
};

struct Cache {
    std::unordered_map<Key, Rect, KeyHash> extents;
    std::array<FaceSignature, FontManager::kFaceCount> faces;
    const FontManager* manager = nullptr;
};

Cache& TheCache()
{
    static Cache cache;
    return cache;
}

// Whether the face of the font id is still the one the entries were made
// with; a changed face empties the cache.
void CheckFace(Cache& cache, int fontId)
{
    if (cache.manager != gFontManager) {
        RunExtentCache::Clear();
        cache.manager = gFontManager;
    }
    const FontFace* face = gFontManager->GetFace(fontId);
    FaceSignature& known = cache.faces[size_t(fontId)];
    if (known.face == face && known.changes == face->GetChangeCount())
        return;
    if (known.face)
        RunExtentCache::Clear();
    known.face = face;
    known.changes = face->GetChangeCount();
}

} // namespace

void RunExtentCache::Clear()
{
    Cache& cache = TheCache();
    cache.extents.clear();
    cache.faces.fill(FaceSignature());
}

void RunExtentCache::GetTextExtent(int fontId, const Str255& text, Rect& out)
{
    gDrawContext.SetFontFamily(fontId);
    if (!gDrawContext.GetDC() || !gFontManager || fontId < 0 || fontId >= FontManager::kFaceCount) {
        gDrawContext.GetTextExtent(text, out);
        return;
    }
    Cache& cache = TheCache();
    CheckFace(cache, fontId);
    const int resolution = gDrawContext.GetResolutionY();
    if (text.GetLength() > kMaxKeyText) {
        gDrawContext.GetTextExtent(text, out);
        return;
    }
    Key key;
    key.bytes[0] = static_cast<char>(fontId);
    key.bytes[1] = static_cast<char>(gDrawContext.GetSizeLevel());
    key.bytes[2] = static_cast<char>(gDrawContext.IsPrinting());
    key.bytes[3] = static_cast<char>(resolution & 0xFF);
    key.bytes[4] = static_cast<char>(resolution >> 8);
    std::memcpy(key.bytes + 5, text.GetPtrAt(0), size_t(text.GetLength()));
    key.length = static_cast<uint8_t>(5 + text.GetLength());
    auto found = cache.extents.find(key);
    if (found != cache.extents.end()) {
        out = found->second;
        return;
    }
    gDrawContext.GetTextExtent(text, out);
    if (cache.extents.size() >= kMaxEntries)
        cache.extents.clear();
    cache.extents.emplace(key, out);
}
