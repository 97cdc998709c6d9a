#include "foundation/ExprNode.h"

#include "foundation/CharComp.h"
#include "foundation/CompList.h"
#include "foundation/FontFace.h"
#include "foundation/FontManager.h"
#include "foundation/Str255.h"
#include "foundation/TextOutBuffer.h"

#include <string>

namespace {

constexpr TypeTag kNodeTag{"node"};
constexpr int kOperandToken = 259;
constexpr int kMaxText = 255;

// Collects what a row writes as linear text.
class StringStream : public ByteStream {
public:
    void Write(const void* buf, int32_t n) override { text.append(static_cast<const char*>(buf), std::size_t(n)); }
    int32_t GetLength() override { return int32_t(text.size()); }
    std::string text;
};

} // namespace

ExprNode::ExprNode(const ExprNode& other)
    : m_range(other.m_range), m_target(other.m_target), m_mover(other.m_mover), m_hasRange(other.m_hasRange),
      m_spare(other.m_spare), m_spareIndex(other.m_spareIndex)
{
}

ExprNode::~ExprNode()
{
    // Iteratively, so that a long sibling chain never nests destructor calls.
    while (ExprNode* following = next) {
        next = following->next;
        following->next = nullptr;
        delete following;
    }
}

bool ExprNode::NormalizeFractions(ExprNode*& num, ExprNode*& den)
{
    num = this;
    den = nullptr;
    return false;
}

bool ExprNode::SetMover(ExprNode*, ExprNode*)
{
    m_mover = 1;
    return false;
}

int ExprNode::GetTokenCode() const
{
    return kOperandToken;
}

TypeTag ExprNode::GetTag() const
{
    return kNodeTag;
}

void ExprNode::GetText(Str255& out)
{
    CompList row;
    BuildComponents(row, 1);
    StringStream stream;
    TextOutBuffer buffer(&stream);
    row.WriteTextAll(buffer);
    buffer.Flush();
    if (stream.text.size() > std::size_t(kMaxText))
        stream.text.resize(std::size_t(kMaxText));
    out = Str255(stream.text.c_str());
}

ExprNode* ExprNode::GetLastSibling()
{
    ExprNode* node = this;
    while (node->next)
        node = node->next;
    return node;
}

CompList* ExprNode::ToCompList()
{
    auto* list = new CompList;
    BuildComponents(*list, 1);
    return list;
}

void ExprNode::AppendCharacters(const char* text, CompList& list)
{
    if (!text || !gMathFace)
        return;
    for (; *text; ++text)
        list.Append(gMathFace->GetCharacter(static_cast<unsigned char>(*text)));
}
