#include "kernel/ListNodes.h"

#include "kernel/KernelCodes.h"
#include "kernel/LeafNodes.h"
#include "kernel/MathMLOutput.h"
#include "kernel/NodeSupport.h"

#include "foundation/Str255.h"
#include "math/EquationSetComp.h"
#include "math/GridColumn.h"
#include "math/MatrixComp.h"
#include "math/SplitDefinitionComp.h"
#include "math/TableComp.h"

#include <algorithm>
#include <vector>

namespace {

std::vector<ExprNode*> Children(const CompositeNode& node)
{
    std::vector<ExprNode*> children;
    for (ExprNode* child = node.First(); child; child = child->next)
        children.push_back(child);
    return children;
}

void FillCell(CompList* cell, ExprNode* node)
{
    if (cell && node)
        cell->InsertAllAt(nodes::Built(node, Level::Whole), 1);
}

// A matrix of the rows (each a list of cells); a shorter row leaves its
// last cells empty.
MatrixComp* MatrixOfRows(const std::vector<ExprNode*>& rows)
{
    int columns = 0;
    for (ExprNode* row : rows)
        columns = std::max(columns, static_cast<CompositeNode*>(row)->Count());
    auto* matrix = new MatrixComp(std::max(columns, 1), int(rows.size()));
    for (std::size_t r = 0; r < rows.size(); ++r) {
        int c = 1;
        for (ExprNode* cell = static_cast<CompositeNode*>(rows[r])->First(); cell; cell = cell->next, ++c)
            FillCell(matrix->GetCell(c, int(r) + 1), cell);
    }
    return matrix;
}

MatrixComp* ColumnVector(const std::vector<ExprNode*>& cells)
{
    auto* matrix = new MatrixComp(1, int(cells.size()));
    for (std::size_t r = 0; r < cells.size(); ++r)
        FillCell(matrix->GetCell(1, int(r) + 1), cells[r]);
    return matrix;
}

GridColumn* ColumnOf(const std::vector<ExprNode*>& cells)
{
    auto* column = new GridColumn(nullptr, int(cells.size()));
    for (std::size_t r = 0; r < cells.size(); ++r)
        FillCell(column->GetCell(int(r) + 1), cells[r]);
    return column;
}

void WriteCell(MathMLOutput& writer, ExprNode* node)
{
    writer.Open("mtd");
    nodes::WriteChild(writer, node);
    writer.Close("mtd");
}

bool IsListNode(const ExprNode* node)
{
    return dynamic_cast<const ListNode*>(node) != nullptr;
}

// The split's plain form from the case onward: If[condition, value, rest].
void PutCases(ExprNode* item, MLINK link)
{
    auto* pair = static_cast<CompositeNode*>(item);
    ExprNode* value = pair->ChildAt(1);
    ExprNode* condition = pair->ChildAt(2);
    bool last = !item->next;
    if (last && AsSymbol(condition)) {
        value->PutPlainForm(link);
        return;
    }
    MLPutFunction(link, "If", last ? 2 : 3);
    condition->PutPlainForm(link);
    value->PutPlainForm(link);
    if (!last)
        PutCases(item->next, link);
}

} // namespace

// ---- list ----

CompositeNode* ListNode::NewWithFirstClone() const
{
    return new ListNode(m_first ? m_first->Clone() : nullptr);
}

void ListNode::PutWithHead(MLINK link, int mode, const char* head) const
{
    nodes::PutMarker(*this, link, mode);
    MLPutFunction(link, head, m_count);
    PutChildren(link, mode);
}

void ListNode::PutPlainList(MLINK link) const
{
    MLPutFunction(link, "List", m_count);
    PutPlainChildren(link);
}

void ListNode::PutPackageForm(MLINK link, int mode) const
{
    PutWithHead(link, mode, "List");
}

void ListNode::PutPlainForm(MLINK link) const
{
    PutPlainList(link);
}

void ListNode::BuildComponents(CompList& list, int level)
{
    std::vector<ExprNode*> children = Children(*this);
    if (level == Level::Top || children.empty()) {
        nodes::AppendMathChar(list, '{');
        for (ExprNode* child : children) {
            if (child != m_first)
                nodes::AppendMathChar(list, ',');
            child->BuildComponents(list, level);
        }
        nodes::AppendMathChar(list, '}');
        return;
    }
    auto* only = children.size() == 1 ? dynamic_cast<ListNode*>(children.front()) : nullptr;
    if (only && only->Count() == 1) {
        only->First()->BuildComponents(list, level);
        return;
    }
    if (std::all_of(children.begin(), children.end(), IsListNode))
        list.Append(MatrixOfRows(children));
    else
        list.Append(ColumnVector(children));
}

void ListNode::WriteMathML(MathMLOutput& writer)
{
    writer.StartFencedWith("{", "}");
    CompositeNode::WriteMathML(writer);
    writer.EndFenced();
}

void ListNode::GetText(Str255& out)
{
    if (!m_first) {
        out = Str255("{ }");
        return;
    }
    out = Str255("{");
    for (ExprNode* child = m_first; child; child = child->next) {
        if (child != m_first)
            out.AppendChar(',');
        Str255 part;
        child->GetText(part);
        out.Append(part);
    }
    out.AppendChar('}');
}

// ---- matrix ----

CompositeNode* MatrixNode::NewWithFirstClone() const
{
    return new MatrixNode(m_first ? m_first->Clone() : nullptr);
}

void MatrixNode::PutPackageForm(MLINK link, int mode) const
{
    PutWithHead(link, mode, "VXMatrix");
}

void MatrixNode::BuildComponents(CompList& list, int)
{
    std::vector<ExprNode*> rows;
    for (ExprNode* row : Children(*this))
        if (IsListNode(row))
            rows.push_back(row);
    list.Append(MatrixOfRows(rows));
}

void MatrixNode::WriteTable(MathMLOutput& writer)
{
    writer.Open("mtable");
    for (ExprNode* row = m_first; row; row = row->next) {
        writer.Open("mtr");
        if (auto* cells = dynamic_cast<CompositeNode*>(row)) {
            for (ExprNode* cell = cells->First(); cell; cell = cell->next)
                WriteCell(writer, cell);
        } else {
            WriteCell(writer, row);
        }
        writer.Close("mtr");
    }
    writer.Close("mtable");
}

void MatrixNode::WriteMathML(MathMLOutput& writer)
{
    writer.StartFencedWith("[", "]");
    WriteTable(writer);
    writer.EndFenced();
}

// ---- table ----

CompositeNode* TableNode::NewWithFirstClone() const
{
    return new TableNode(m_first ? m_first->Clone() : nullptr);
}

void TableNode::PutPackageForm(MLINK link, int mode) const
{
    PutWithHead(link, mode, "VXTable");
}

void TableNode::BuildComponents(CompList& list, int level)
{
    list.Append(new TableComp);
    for (ExprNode* column = m_first; column; column = column->next)
        column->BuildComponents(list, level);
}

// A framed table with lines between its columns and a line under its first
// row (row lines are the table's attribute: the last value repeats).
void TableNode::WriteMathML(MathMLOutput& writer)
{
    int rows = 0;
    for (ExprNode* column = m_first; column; column = column->next)
        rows = std::max(rows, column->GetChildCount());
    writer.StartElement("mtable", true);
    writer.WriteAttribute("columnlines", "solid");
    if (rows > 1)
        writer.WriteAttribute("rowlines", "solid none");
    writer.WriteAttribute("frame", "solid");
    writer.EndPendingTag(true);
    for (int r = 1; r <= rows; ++r) {
        writer.Open("mtr");
        for (ExprNode* column = m_first; column; column = column->next) {
            auto* cells = dynamic_cast<CompositeNode*>(column);
            WriteCell(writer, cells ? cells->ChildAt(r) : nullptr);
        }
        writer.Close("mtr");
    }
    writer.Close("mtable");
}

// ---- column of a table ----

CompositeNode* ColumnNode::NewWithFirstClone() const
{
    return new ColumnNode(m_first ? m_first->Clone() : nullptr);
}

void ColumnNode::PutPackageForm(MLINK link, int mode) const
{
    PutWithHead(link, mode, "VXColumn");
}

void ColumnNode::BuildComponents(CompList& list, int)
{
    auto* table = dynamic_cast<TableComp*>(list.GetAt(list.GetCount()));
    if (!table)
        return;
    auto* column = new GridColumn(nullptr, m_count);
    int r = 1;
    for (ExprNode* cell = m_first; cell; cell = cell->next, ++r)
        if (!IsBuiltinSymbol(cell, Entry::Null))
            FillCell(column->GetCell(r), cell);
    table->AppendColumn(column);
}

void ColumnNode::WriteMathML(MathMLOutput& writer)
{
    CompositeNode::WriteMathML(writer);
}

// ---- equation set ----

CompositeNode* EqnSetNode::NewWithFirstClone() const
{
    return new EqnSetNode(m_first ? m_first->Clone() : nullptr);
}

void EqnSetNode::PutPackageForm(MLINK link, int mode) const
{
    PutWithHead(link, mode, "VXEqnSet");
}

void EqnSetNode::BuildComponents(CompList& list, int)
{
    list.Append(new EquationSetComp(ColumnOf(Children(*this))));
}

void EqnSetNode::WriteMathML(MathMLOutput& writer)
{
    writer.StartFencedWith("{", "}");
    writer.Open("mtable");
    for (ExprNode* equation = m_first; equation; equation = equation->next) {
        writer.Open("mtr");
        WriteCell(writer, equation);
        writer.Close("mtr");
    }
    writer.Close("mtable");
    writer.EndFenced();
}

// ---- split definition ----

CompositeNode* SplitNode::NewWithFirstClone() const
{
    return new SplitNode(m_first ? m_first->Clone() : nullptr);
}

void SplitNode::PutPackageForm(MLINK link, int mode) const
{
    PutWithHead(link, mode, "VXSplit");
}

void SplitNode::PutPlainForm(MLINK link) const
{
    for (ExprNode* item = m_first; item; item = item->next) {
        auto* pair = dynamic_cast<CompositeNode*>(item);
        if (!pair || pair->Count() < 2) {
            // Not a split of {value, condition} cases: sent as the list it is.
            PutPlainList(link);
            return;
        }
    }
    if (!m_first) {
        PutPlainList(link);
        return;
    }
    PutCases(m_first, link);
}

void SplitNode::BuildComponents(CompList& list, int)
{
    std::vector<ExprNode*> values;
    std::vector<ExprNode*> conditions;
    for (ExprNode* item = m_first; item; item = item->next) {
        auto* pair = dynamic_cast<CompositeNode*>(item);
        values.push_back(pair ? pair->ChildAt(1) : item);
        conditions.push_back(pair ? pair->ChildAt(2) : nullptr);
    }
    list.Append(new SplitDefinitionComp(ColumnOf(values), ColumnOf(conditions)));
}

void SplitNode::WriteMathML(MathMLOutput& writer)
{
    writer.Open("mrow");
    nodes::WriteMo(writer, "{");
    writer.Open("mtable");
    for (ExprNode* item = m_first; item; item = item->next) {
        auto* pair = dynamic_cast<CompositeNode*>(item);
        writer.Open("mtr");
        WriteCell(writer, pair ? pair->ChildAt(1) : item);
        WriteCell(writer, pair ? pair->ChildAt(2) : nullptr);
        writer.Close("mtr");
    }
    writer.Close("mtable");
    writer.Close("mrow");
}
