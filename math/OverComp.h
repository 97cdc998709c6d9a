#pragma once
// The common part of the marks over one row, the conjugate bar and the
// accents: they enclose their row, wrap a selection only while the row is
// empty, and take the caret inside an empty row or after a filled one.
#include "foundation/StructComp.h"

class OverComp : public StructComp {
public:
    bool AcceptsSelection() const override { return m_first->GetCount() == 0; }
    bool IsEnclosure() const override { return true; }
    void GetEntryPosition(DocPosition& out) override;

    CompList* Content() const { return m_first; }

protected:
    OverComp() = default;
    explicit OverComp(std::unique_ptr<CompArray> items) : StructComp(std::move(items)) {}
};
