#include "kernel/NodeSupport.h"

#include "kernel/CompositeNode.h"
#include "kernel/MathLinkCharConv.h"
#include "kernel/MathMLOutput.h"
#include "kernel/PowerNodes.h"

#include "foundation/CharComp.h"
#include "foundation/DocSelection.h"
#include "foundation/FontFace.h"
#include "foundation/FontManager.h"
#include "math/ParenComp.h"
#include "mathlink/LinkCharacters.h"

#include <cstring>
#include <string>

namespace nodes {

void PutMarker(const ExprNode& node, MLINK link, int mode)
{
    if (mode == 1 && node.IsTarget())
        MLPutFunction(link, "VXTarget", 1);
    else if (mode == 1 && node.IsMover())
        MLPutFunction(link, "VXMover", 1);
    else if (mode == 2 && node.IsMover())
        MLPutFunction(link, "VXMarker", 1);
}

void PutProgramSymbol(MLINK link, const char* text)
{
    MLPutSymbol(link, MathLinkCharConv::MakeLinkString(text ? text : "", true).c_str());
}

void PutProgramHead(MLINK link, const char* text, int argCount)
{
    MLPutFunction(link, MathLinkCharConv::MakeLinkString(text ? text : "", true).c_str(), argCount);
}

std::string StoredToLink(const char* text)
{
    std::string out;
    for (const char* p = text; p && *p; ++p) {
        unsigned char bytes[4];
        int n = MLConvertCharacter(MathLinkCharConv::MathUnicodeAt(uint8_t(*p)), bytes);
        out.append(reinterpret_cast<const char*>(bytes), std::size_t(n));
    }
    return out;
}

void PutStoredSymbol(MLINK link, const char* text)
{
    MLPutSymbol(link, StoredToLink(text).c_str());
}

void PutTextAtom(MLINK link, int type, const char* text)
{
    int length = int(std::strlen(text));
    MLPutNext(link, type);
    MLPutSize(link, length);
    MLPutData(link, text, length);
}

void PutOrNull(const ExprNode* node, MLINK link, int mode, bool plain)
{
    if (!node)
        MLPutSymbol(link, "Null");
    else if (plain)
        node->PutPlainForm(link);
    else
        node->PutPackageForm(link, mode);
}

void PutItems(const ExprNode* node, MLINK link, int mode, bool plain)
{
    const ExprNode* inner = node;
    while (auto* group = dynamic_cast<const GroupNode*>(inner))
        inner = group->Child();
    auto* sequence = inner && inner->IsSequence() ? dynamic_cast<const CompositeNode*>(inner) : nullptr;
    if (inner && !sequence) {
        PutOrNull(node, link, mode, plain);
        return;
    }
    for (const ExprNode* item = sequence ? sequence->First() : nullptr; item; item = item->next)
        PutOrNull(item, link, mode, plain);
}

void AppendMathChar(CompList& list, unsigned char code)
{
    if (gMathFace)
        list.Append(gMathFace->GetCharacter(code));
}

void AppendTextChar(CompList& list, unsigned char code)
{
    if (gTextFace)
        list.Append(gTextFace->GetCharacter(code));
}

void AppendTextChars(CompList& list, const char* text)
{
    for (; text && *text; ++text)
        AppendTextChar(list, static_cast<unsigned char>(*text));
}

std::unique_ptr<CompArray> Take(CompList& list)
{
    return list.DetachAll();
}

std::unique_ptr<CompArray> Built(ExprNode* node, int level)
{
    CompList row;
    if (node)
        node->BuildComponents(row, level);
    return Take(row);
}

void AppendParen(CompList& list, std::unique_ptr<CompArray> items)
{
    list.Append(new ParenComp(std::move(items)));
}

void WriteMo(MathMLOutput& writer, const char* text)
{
    writer.WriteTextElement("mo", text);
}

void WriteChild(MathMLOutput& writer, ExprNode* node)
{
    if (node)
        node->WriteMathML(writer);
}

void NormalizeInPlace(ExprNode*& child)
{
    if (!child)
        return;
    ExprNode* num = nullptr;
    ExprNode* den = nullptr;
    if (!child->NormalizeFractions(num, den))
        return;
    ExprNode* replacement = den ? new DivideNode(num, den) : num;
    if (replacement == child)
        return;
    replacement->next = child->next;
    child->next = nullptr;
    if (num != child)
        delete child;
    child = replacement;
}

bool Contains(const ExprNode* node, const DocPosition& position)
{
    return node && node->HasRange() && node->GetSourceRange().Overlaps(position);
}

} // namespace nodes
