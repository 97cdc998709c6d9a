#include "kernel/KernelRowBuilder.h"

#include "kernel/ComponentNodes.h"
#include "kernel/KernelCodes.h"
#include "kernel/LeafNodes.h"
#include "kernel/ListNodes.h"
#include "kernel/MathParser.h"

#include "foundation/CompList.h"
#include "foundation/TextComp.h"
#include "math/ExponentComp.h"
#include "math/SubscriptComp.h"

#include <string>

namespace {

constexpr unsigned char kBlank = 32;

bool IsChar(const TextComp* comp)
{
    return comp && !TextComp::IsNotChar(comp->Tag());
}

bool IsBlank(const CompList& row, int i)
{
    TextComp* comp = row.GetAt(i);
    return IsChar(comp) && comp->GetChar() == kBlank;
}

} // namespace

KernelRowBuilder& KernelRowBuilder::Instance()
{
    static KernelRowBuilder builder;
    return builder;
}

ExprNode* KernelRowBuilder::BuildNode(CompList& row)
{
    if (row.GetCount() == 0)
        return new EmptySlotNode;
    return MathParser(row, 1, row.GetCount() + 1).Parse();
}

// Text sent as code: runs of characters become strings, an exponent "^(" its
// text ") ", and a subscript is parsed with the characters around it up to
// the neighbouring blanks.
ExprNode* KernelRowBuilder::BuildTextNode(CompList& row)
{
    auto* pieces = new ListNode;
    std::string run;
    auto flush = [&] {
        if (!run.empty())
            pieces->AppendChild(new StringNode(run));
        run.clear();
    };
    const int count = row.GetCount();
    // Where the word at i ends, and whether a subscript follows it: found
    // once per word, so that a long word costs its length only.
    int wordEnd = 0;
    bool subscriptAhead = false;
    for (int i = 1; i <= count; ++i) {
        TextComp* comp = row.GetAt(i);
        if (IsChar(comp)) {
            // A subscript ahead in this word takes the word with it.
            if (i >= wordEnd) {
                wordEnd = i;
                while (wordEnd <= count && !IsBlank(row, wordEnd) && IsChar(row.GetAt(wordEnd)))
                    ++wordEnd;
                subscriptAhead = wordEnd <= count && dynamic_cast<SubscriptComp*>(row.GetAt(wordEnd));
            }
            if (subscriptAhead)
                continue;
            run += char(comp->GetChar());
            continue;
        }
        if (auto* exponent = dynamic_cast<ExponentComp*>(comp)) {
            flush();
            pieces->AppendChild(new StringNode("^("));
            pieces->AppendChild(BuildTextNode(*exponent->Script()));
            pieces->AppendChild(new StringNode(") "));
            continue;
        }
        if (dynamic_cast<SubscriptComp*>(comp)) {
            int start = i;
            while (start > 1 && IsChar(row.GetAt(start - 1)) && !IsBlank(row, start - 1))
                --start;
            int end = i + 1;
            while (end <= count && IsChar(row.GetAt(end)) && !IsBlank(row, end))
                ++end;
            // The word's characters before the subscript were held back above.
            flush();
            pieces->AppendChild(MathParser(row, start, end).Parse());
            i = end - 1;
            continue;
        }
        flush();
        if (ExprNode* node = comp ? comp->BuildNode() : nullptr)
            pieces->AppendChild(node);
    }
    flush();
    return pieces;
}

ExprNode* KernelRowBuilder::BuildComponentNode(TextComp& comp)
{
    return ::BuildComponentNode(comp);
}
