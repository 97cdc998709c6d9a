#pragma once
// An owning array of kernel-expression nodes, 1-based, for the kernel question
// dialogs (the choices of a list answer). Named apart from the component
// rows' CompArray.
#include <memory>
#include <vector>

class CompositeNode;
class ExprNode;
class Str255;

class NodeArray {
public:
    NodeArray() = default;
    NodeArray(const NodeArray&) = delete;
    NodeArray& operator=(const NodeArray&) = delete;
    ~NodeArray() { DeleteAll(); }

    // Takes over the elements of a list node, which it deletes.
    static std::unique_ptr<NodeArray> FromList(CompositeNode* list);
    void Add(ExprNode* node);
    // Removes and answers element i; null outside 1..count.
    ExprNode* RemoveAt(int i);
    // A new list node holding every element; the array is left empty.
    ExprNode* DetachToList();
    void DeleteAll();
    // Appends the linear text of element i.
    void AppendTextAt(int i, Str255& text) const;

    int GetCount() const { return int(m_nodes.size()); }
    ExprNode* GetAt(int i) const { return i >= 1 && i <= GetCount() ? m_nodes[std::size_t(i - 1)] : nullptr; }

private:
    std::vector<ExprNode*> m_nodes;
};
