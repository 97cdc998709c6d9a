#include "foundation/Layout.h"

#include "foundation/DocPosition.h"

#include <array>
#include <new>
#include <vector>

namespace {

constexpr size_t kGrain = 16;
constexpr size_t kPooledSize = 256;
constexpr size_t kMaxFree = 1 << 18;  // per size class

// Free blocks by size class (size / 16); the program lays out on one thread.
std::array<std::vector<void*>, kPooledSize / kGrain + 1>& FreeLists()
{
    static auto* lists = new std::array<std::vector<void*>, kPooledSize / kGrain + 1>;
    return *lists;
}

size_t SizeClass(size_t size)
{
    return (size + kGrain - 1) / kGrain;
}

} // namespace

// Address sanitizer builds allocate every item on its own, so that a use
// after free is still caught.
#if defined(__SANITIZE_ADDRESS__)
#define QV_LAYOUT_UNPOOLED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QV_LAYOUT_UNPOOLED 1
#endif
#endif
#ifdef QV_LAYOUT_UNPOOLED
constexpr bool kPooled = false;
#else
constexpr bool kPooled = true;
#endif

void* Layout::operator new(size_t size)
{
    if (!kPooled || size > kPooledSize)
        return ::operator new(size);
    std::vector<void*>& free = FreeLists()[SizeClass(size)];
    if (free.empty())
        return ::operator new(SizeClass(size) * kGrain);
    void* block = free.back();
    free.pop_back();
    return block;
}

void Layout::operator delete(void* p, size_t size)
{
    if (!p)
        return;
    if (!kPooled || size > kPooledSize) {
        ::operator delete(p);
        return;
    }
    std::vector<void*>& free = FreeLists()[SizeClass(size)];
    if (free.size() < kMaxFree) {
        try {
            free.push_back(p);
            return;
        } catch (const std::bad_alloc&) {
        }
    }
    ::operator delete(p);
}

void Layout::PositionAt(const IntPoint&, DocPosition& out, bool)
{
    out = DocPosition();
}

bool Layout::IsEqual(const Layout& other) const
{
    // Where in the row the item starts is not compared: a character typed
    // before it moves that, not what the screen shows.
    return Tag() == other.Tag() && AbsRect() == other.AbsRect();
}

bool Layout::HitTest(const IntPoint& point) const
{
    return AbsRect().Contains(point);
}
