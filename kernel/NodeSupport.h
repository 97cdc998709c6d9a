#pragma once
// Shared pieces of the node classes: the marker wrapper, symbols and atoms on
// the link, characters and wrapped rows in component lists, and MathML "mo".
#include "foundation/CompList.h"
#include "foundation/ExprNode.h"
#include "mathlink/MathLink.h"

#include <memory>
#include <string>

class MathMLOutput;

namespace nodes {

// The wrapper every package form starts with: "VXTarget" or "VXMover" in mode
// 1, "VXMarker" in mode 2, nothing otherwise.
void PutMarker(const ExprNode& node, MLINK link, int mode);
// Program text (math face codes) as a symbol, converted to link characters.
void PutProgramSymbol(MLINK link, const char* text);
// A head of program text with n arguments.
void PutProgramHead(MLINK link, const char* text, int argCount);
// Text in stored character codes (the table's display spellings) as link text.
std::string StoredToLink(const char* text);
// The same as a symbol.
void PutStoredSymbol(MLINK link, const char* text);
// A digit or string atom sent in pieces (MLPutNext, MLPutSize, MLPutData).
void PutTextAtom(MLINK link, int type, const char* text);
// The node in package form (mode) or plain form; a missing node as Null.
void PutOrNull(const ExprNode* node, MLINK link, int mode, bool plain);
// The node as the arguments it stands for (as many as its GetItemCount): a
// sequence, also inside brackets or parentheses, as its elements one by one,
// an empty group as none, any other node whole.
void PutItems(const ExprNode* node, MLINK link, int mode, bool plain);

void AppendMathChar(CompList& list, unsigned char code);
void AppendTextChar(CompList& list, unsigned char code);
void AppendTextChars(CompList& list, const char* text);
// The components of a row, taken out of it.
std::unique_ptr<CompArray> Take(CompList& list);
// The node's components at the level into a new array.
std::unique_ptr<CompArray> Built(ExprNode* node, int level);
// Builds through fill into L, or into a new row wrapped in parentheses.
template <typename Fill>
void BuildMaybeWrapped(CompList& list, bool wrap, Fill fill);
void AppendParen(CompList& list, std::unique_ptr<CompArray> items);

void WriteMo(MathMLOutput& writer, const char* text);
void WriteChild(MathMLOutput& writer, ExprNode* node);

// Replaces a child that answers a fraction by the fraction's node.
void NormalizeInPlace(ExprNode*& child);
bool Contains(const ExprNode* node, const DocPosition& position);

template <typename Fill>
void BuildMaybeWrapped(CompList& list, bool wrap, Fill fill)
{
    if (!wrap) {
        fill(list);
        return;
    }
    CompList inner;
    fill(inner);
    AppendParen(list, Take(inner));
}

} // namespace nodes
