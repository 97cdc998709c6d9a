// The document model's conversions to kernel nodes: points of the drawings
// and the paragraphs of a selection.
#include "kernel/CompositeNode.h"
#include "kernel/LeafNodes.h"
#include "kernel/ListNodes.h"

#include "foundation/DPoint.h"
#include "foundation/DocSelection.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"

ExprNode* DPoint::ToKernelList() const
{
    auto* list = new ListNode(new RealNode(x));
    list->AppendChild(new RealNode(y));
    return list;
}

DPoint NodeToDPoint(const ExprNode* node)
{
    auto* composite = dynamic_cast<const CompositeNode*>(node);
    if (!composite)
        return DPoint();
    const ExprNode* first = composite->ChildAt(1);
    const ExprNode* second = composite->ChildAt(2);
    return DPoint(first ? first->GetRealValue() : 0.0, second ? second->GetRealValue() : 0.0);
}

ExprNode* DocSelection::CollectParagraphs() const
{
    auto* rows = new ListNode;
    ParagraphList* list = m_first.GetParagraph();
    if (!list)
        return rows;
    int first = list->IndexOf(m_first.GetParagraphComp());
    int last = list->IndexOf(m_second.GetParagraphComp());
    if (first == 0 || last < first)
        return rows;
    for (int i = first; i <= last; ++i)
        if (CompList* row = list->GetAt(i)->GetRow())
            rows->AppendChild(row->BuildNode());
    return rows;
}
