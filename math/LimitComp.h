#pragma once
// A limit: the word lim with the approach (x -> a) written below it. Like a
// big operator it holds no operand. The word is a row of its own: a click can
// put the caret into it and text typed there is kept, but keyboard moves
// never enter it.
#include "foundation/StructComp.h"

class LimitComp : public StructComp {
public:
    LimitComp();
    explicit LimitComp(std::unique_ptr<CompArray> approach);
    ~LimitComp() override;

    TextComp* Clone(LinkRemap& remap) override;
    void GetTag(TypeTag& out) const override { out = tag_Limt; }

    void Measure() override;
    void SetOrigin(const IntPoint& point) override;
    void Draw() override;

    // 1 approach, 2 the word.
    CompList* GetChild(int i) const override { return i == 1 ? m_first : i == 2 ? m_word : nullptr; }
    int GetChildCount() const override { return 2; }

    void WriteLaTeX(LaTeXWriter& writer) override;
    void WriteText(TextOutBuffer& out) const override;
    void Write(DocWriter& writer) override;
    void Read(DocReader& reader) override;

    void SetSizeStep(signed char step) override;

    CompList* Approach() const { return m_first; }
    CompList* Word() const { return m_word; }

private:
    // The word still reads "lim".
    bool HasStandardWord() const;

    CompList* m_word;
};
