#pragma once
// The common base of the big operators (sum and product): a large operator
// sign with a lower bound below it and an upper bound above it, each centred
// on the widest of the three. The operator holds no operand: the row's
// parser joins it to what follows it.
#include "foundation/StructComp.h"

class BigOperatorComp : public StructComp {
public:
    ~BigOperatorComp() override;

    // The sign's character code in the mathematics face.
    virtual unsigned char GetSignChar() const = 0;
    // The index of the operator's name among the kernel's built-in names.
    virtual int GetSymbolIndex() const = 0;
    virtual void WriteLaTeXCommand(LaTeXWriter& writer) const = 0;

    void Measure() override;
    void SetOrigin(const IntPoint& point) override;
    void Draw() override;

    // 1 lower bound, 2 upper bound.
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
    void SetSizeStep(signed char step) override;

    CompList* Lower() const { return m_first; }
    CompList* Upper() const { return m_upper; }
    const Rect& SignBox() const { return m_signBox; }

protected:
    BigOperatorComp();
    // A null upper gives an empty bound.
    BigOperatorComp(std::unique_ptr<CompArray> upper, std::unique_ptr<CompArray> lower);

private:
    int SignUnit() const;

    CompList* m_upper;
    Rect m_signBox;
};
