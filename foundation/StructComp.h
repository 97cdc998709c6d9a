#pragma once
// The base of components with child rows (fractions, scripts, radicals,
// delimiters, accents, integrals, ...). It owns child row 1 and implements
// every operation that concerns children by looping over the rows the
// concrete class reports through GetChildCount and GetChild.
#include "foundation/BoxComp.h"
#include "foundation/CompList.h"

#include <memory>

class StructComp : public BoxComp {
public:
    ~StructComp() override;

    void MarkDirty() override;
    void SetOrigin(const IntPoint& point) override;
    void PositionFromPoint(DocPosition& out, const IntPoint& point, bool nearest) override;
    TextComp* ComponentAt(const IntPoint& point) override;
    bool IsEqual(const TextComp& other) const override;

    CompList* GetChild(int i) const override { return i == 1 ? m_first : nullptr; }
    int GetChildCount() const override { return 1; }
    CompList* GetListLeft(CompList* from) override { return from ? nullptr : GetChild(1); }
    CompList* GetListRight(CompList* from) override { return from ? nullptr : GetChild(1); }
    CompList* GetListUp(CompList* from) override { return from ? nullptr : GetChild(1); }
    CompList* GetListDown(CompList* from) override { return from ? nullptr : GetChild(1); }
    int IndexOfChild(const CompList* row) const override;

    void Write(DocWriter& writer) override;
    void Read(DocReader& reader) override;
    void GetEntryPosition(DocPosition& out) override;
    void SetFontId(int fontId) override;
    void SetSizeStep(signed char step) override;

protected:
    // With an empty child row.
    StructComp();
    // With a child row adopting the components (null: an empty row).
    explicit StructComp(std::unique_ptr<CompArray> components);
    // A copy holding clones of the other's first child row.
    StructComp(const StructComp& other, LinkRemap& remap);

    // Makes row a child of this component, showing the placeholder when empty.
    void AdoptRow(CompList* row);

    CompList* m_first;
};
