#include "foundation/RunExtentCache.h"

#include "foundation/DrawContext.h"
#include "foundation/FontFace.h"
#include "foundation/FontManager.h"
#include "foundation/MeasuringContexts.h"

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

// Font id, size level, printing flag, resolution and the text, in place;
// the bytes after the key are zero.
struct Key {
    static constexpr size_t kSize = 40;
    uint8_t length = 0;
    char bytes[kSize] = {};

    std::string_view View() const { return {bytes, length}; }
    bool operator==(const Key& other) const { return View() == other.View(); }
};
static_assert(5 + kMaxKeyText <= Key::kSize);

struct KeyHash {
    // Eight bytes at a time, each word mixed in by a multiplication.
    size_t operator()(const Key& key) const
    {
        uint64_t hash = key.length;
        for (size_t at = 0; at < key.length; at += 8) {
            uint64_t word;
            std::memcpy(&word, key.bytes + at, sizeof word);
            hash = (hash ^ word) * 0x9E3779B97F4A7C15ull;
            hash ^= hash >> 29;
        }
        return size_t(hash ^ (hash >> 32));
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

Str255 TextOf(const char* bytes, int count)
{
    Str255 text;
    for (int i = 0; i < count && i < Str255::kCapacity; ++i)
        text.AppendChar(bytes[i]);
    return text;
}

} // namespace

void RunExtentCache::Clear()
{
    Cache& cache = TheCache();
    cache.extents.clear();
    cache.faces.fill(FaceSignature());
    MeasuringContexts::Clear();
}

void RunExtentCache::GetTextExtent(int fontId, const Str255& text, Rect& out)
{
    GetTextExtent(fontId, text.GetPtrAt(0), text.GetLength(), out);
}

void RunExtentCache::GetTextExtent(int fontId, const char* text, int count, Rect& out)
{
    gDrawContext.SetFontFamily(fontId);
    const bool cached = gDrawContext.GetDC() && gFontManager && fontId >= 0 && fontId < FontManager::kFaceCount &&
                        count >= 0 && count <= kMaxKeyText;
    if (!cached) {
        gDrawContext.GetTextExtent(TextOf(text, count), out);
        return;
    }
    Cache& cache = TheCache();
    CheckFace(cache, fontId);
    const int resolution = gDrawContext.GetResolutionY();
    Key key;
    key.bytes[0] = static_cast<char>(fontId);
    key.bytes[1] = static_cast<char>(gDrawContext.GetSizeLevel());
    key.bytes[2] = static_cast<char>(gDrawContext.IsPrinting());
    key.bytes[3] = static_cast<char>(resolution & 0xFF);
    key.bytes[4] = static_cast<char>(resolution >> 8);
    std::memcpy(key.bytes + 5, text, size_t(count));
    key.length = static_cast<uint8_t>(5 + count);
    auto found = cache.extents.find(key);
    if (found != cache.extents.end()) {
        out = found->second;
        return;
    }
    gDrawContext.GetTextExtent(TextOf(text, count), out);
    if (cache.extents.size() >= kMaxEntries)
        cache.extents.clear();
    cache.extents.emplace(key, out);
}
