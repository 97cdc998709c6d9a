#pragma once
// A radical: the radicand under the root sign, with an optional index in the
// sign's crook. The index row shows no placeholder while it is empty, so a
// square root looks like one; it still reserves one size unit of width.
#include "foundation/StructComp.h"

class RadicalComp : public StructComp {
public:
    RadicalComp();
    // A null index gives an empty one.
    RadicalComp(std::unique_ptr<CompArray> radicand, std::unique_ptr<CompArray> index);
    ~RadicalComp() override;

    TextComp* Clone(LinkRemap& remap) override;
    void GetTag(TypeTag& out) const override { out = tag_Sqrt; }

    void Measure() override;
    void SetOrigin(const IntPoint& point) override;
    void Draw() override;

    // 1 radicand, 2 index.
    CompList* GetChild(int i) const override;
    int GetChildCount() const override { return 2; }
    CompList* GetListLeft(CompList* from) override;
    CompList* GetListRight(CompList* from) override;
    CompList* GetListUp(CompList* from) override;
    CompList* GetListDown(CompList* from) override;

    void WriteLaTeX(LaTeXWriter& writer) override;
    void WriteText(TextOutBuffer& out) const override;
    void Write(DocWriter& writer) override;
    void Read(DocReader& reader) override;

    bool AcceptsSelection() const override { return true; }
    bool IsEnclosure() const override { return true; }
    void SetSizeStep(signed char step) override;

    CompList* Radicand() const { return m_first; }
    CompList* Index() const { return m_index; }

private:
    int Unit() const;
    // The index rectangle with its width raised to at least u.
    Rect IndexRect(int u) const;

    CompList* m_index;
};
