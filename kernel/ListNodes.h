#pragma once
// Kernel lists and the grid nodes of matrices, tables, equation sets and split
// definitions.
#include "kernel/CompositeNode.h"

class MatrixComp;

class ListNode : public CompositeNode {
public:
    using CompositeNode::CompositeNode;
    CompositeNode* NewWithFirstClone() const override;
    void PutPackageForm(MLINK link, int mode) const override;
    void PutPlainForm(MLINK link) const override;
    void BuildComponents(CompList& list, int level) override;
    void WriteMathML(MathMLOutput& writer) override;
    void GetText(Str255& out) override;
    TypeTag GetTag() const override { return TypeTag("lisN"); }

protected:
    void PutWithHead(MLINK link, int mode, const char* head) const;
    void PutPlainList(MLINK link) const;
};

class MatrixNode : public ListNode {
public:
    using ListNode::ListNode;
    CompositeNode* NewWithFirstClone() const override;
    void PutPackageForm(MLINK link, int mode) const override;
    void BuildComponents(CompList& list, int level) override;
    void WriteMathML(MathMLOutput& writer) override;
    // The grid table alone, without the matrix's own fence.
    void WriteTable(MathMLOutput& writer);
    TypeTag GetTag() const override { return TypeTag("matN"); }
};

class TableNode : public ListNode {
public:
    using ListNode::ListNode;
    CompositeNode* NewWithFirstClone() const override;
    void PutPackageForm(MLINK link, int mode) const override;
    void BuildComponents(CompList& list, int level) override;
    void WriteMathML(MathMLOutput& writer) override;
    TypeTag GetTag() const override { return TypeTag("tabN"); }
};

class ColumnNode : public ListNode {
public:
    using ListNode::ListNode;
    CompositeNode* NewWithFirstClone() const override;
    void PutPackageForm(MLINK link, int mode) const override;
    void BuildComponents(CompList& list, int level) override;
    void WriteMathML(MathMLOutput& writer) override;
    TypeTag GetTag() const override { return TypeTag("colN"); }
};

class EqnSetNode : public ListNode {
public:
    using ListNode::ListNode;
    CompositeNode* NewWithFirstClone() const override;
    void PutPackageForm(MLINK link, int mode) const override;
    void BuildComponents(CompList& list, int level) override;
    void WriteMathML(MathMLOutput& writer) override;
    TypeTag GetTag() const override { return TypeTag("eqsN"); }
};

// Cases, each a list {value, condition}.
class SplitNode : public ListNode {
public:
    using ListNode::ListNode;
    CompositeNode* NewWithFirstClone() const override;
    void PutPackageForm(MLINK link, int mode) const override;
    void PutPlainForm(MLINK link) const override;
    void BuildComponents(CompList& list, int level) override;
    void WriteMathML(MathMLOutput& writer) override;
    TypeTag GetTag() const override { return TypeTag("splN"); }
};
