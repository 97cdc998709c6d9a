#include "kernel/NodeArray.h"

#include "kernel/CompositeNode.h"
#include "kernel/ListNodes.h"

#include "foundation/Str255.h"

std::unique_ptr<NodeArray> NodeArray::FromList(CompositeNode* list)
{
    auto array = std::make_unique<NodeArray>();
    if (!list)
        return array;
    for (ExprNode* child = list->DetachChildren(); child;) {
        ExprNode* following = child->next;
        child->next = nullptr;
        array->Add(child);
        child = following;
    }
    delete list;
    return array;
}

void NodeArray::Add(ExprNode* node)
{
    m_nodes.push_back(node);
}

ExprNode* NodeArray::RemoveAt(int i)
{
    ExprNode* node = GetAt(i);
    if (node)
        m_nodes.erase(m_nodes.begin() + (i - 1));
    return node;
}

ExprNode* NodeArray::DetachToList()
{
    auto* list = new ListNode;
    for (ExprNode* node : m_nodes)
        list->AppendChild(node);
    m_nodes.clear();
    return list;
}

void NodeArray::DeleteAll()
{
    for (ExprNode* node : m_nodes)
        delete node;
    m_nodes.clear();
}

void NodeArray::AppendTextAt(int i, Str255& text) const
{
    if (ExprNode* node = GetAt(i)) {
        Str255 part;
        node->GetText(part);
        text.Append(part);
    }
}
