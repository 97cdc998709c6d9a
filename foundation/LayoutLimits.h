#pragma once
// How far layout may reach. Every size a document brings is bounded where it
// is read, but a file may hold very many of them: the sums that stack rows,
// lines and paragraphs saturate at kMaxCoordinate instead of wrapping, so a
// hostile document lays out too large to see rather than at a negative
// height. The limit leaves room for the margins and offsets added on top.
#include <algorithm>
#include <cstdint>

namespace LayoutLimits {

constexpr int32_t kMaxCoordinate = 1 << 28;

constexpr int32_t Clamp(int64_t v)
{
    return static_cast<int32_t>(std::clamp<int64_t>(v, -kMaxCoordinate, kMaxCoordinate));
}

constexpr int32_t Sum(int64_t a, int64_t b)
{
    return Clamp(a + b);
}

} // namespace LayoutLimits
