#pragma once
// The common base of boxed components: an owner row, bounds relative to an
// origin, a needs-layout flag and a size step, with the matching answers of
// the component interface. Concrete classes measure, place and draw.
#include "foundation/FontIds.h"
#include "foundation/TextComp.h"

#include <cstdint>

class BoxComp : public TextComp {
public:
    // Edit codes the key mapping of a box answers.

    bool IsDirty() const override { return m_needsLayout != 0; }
    void MarkDirty() override { m_needsLayout = 1; }
    void Invalidate() override;

    void SetOrigin(const IntPoint& point) override { m_origin = point; }
    void GetOrigin(IntPoint& out) const override { out = m_origin; }
    void SetBounds(const Rect& bounds) override { m_bounds = bounds; }
    void GetBounds(Rect& out) const override { out = m_bounds; }
    int GetWidth() const override { return m_bounds.Width(); }
    void GetAbsBounds(Rect& out) const override;

    bool HitTest(const IntPoint& point) const override;
    TextComp* ComponentAt(const IntPoint& point) override;

    void SetOwner(CompList* owner) override { m_owner = owner; }
    CompList* GetOwner() const override { return m_owner; }

    int GetFontId() const override { return FontId::kMath; }
    void SetSizeStep(signed char step) override;
    signed char GetSizeStep() const { return m_sizeStep; }

    int MapKey(DocPosition& position, int key, bool shift, bool ctrl) override;
    bool IsCommandEnabled(int commandId, int extra) const override;

protected:
    BoxComp() = default;
    // A copy has the same bounds, origin and size step, but no owner and needs layout.
    BoxComp(const BoxComp& other);

    // The component that owns this component's row, or null.
    TextComp* OwnerComponent() const;

    CompList* m_owner = nullptr;
    Rect m_bounds;
    IntPoint m_origin;
    uint8_t m_needsLayout = 1;
    signed char m_sizeStep = 0;
};
