#include "kernel/TermOrdering.h"

#include "foundation/Str255.h"
#include "kernel/LeafNodes.h"
#include "kernel/ListNodes.h"
#include "kernel/NameTable.h"
#include "platform/AppProfile.h"

#include <algorithm>
#include <charconv>

namespace {

constexpr const char* kUseKey = "Use Ordering";
constexpr const char* kCountKey = "Term Count";
constexpr const char* kTermsKey = "Terms";
constexpr const char* kConstantsKey = "Constants to back";

const char* TrueFalse(bool on) { return on ? "true" : "false"; }

bool ValidSymbol(const std::string& symbol)
{
    return !symbol.empty() && symbol.size() <= std::size_t(TermOrdering::kMaxSymbolLength) &&
           symbol.find_first_of(":, ") == std::string::npos;
}

// "x:200,y:100": the pairs that read; anything else is skipped.
std::vector<TermEntry> ParseTerms(const std::string& text, int limit)
{
    std::vector<TermEntry> entries;
    std::size_t start = 0;
    while (start < text.size() && int(entries.size()) < limit) {
        std::size_t end = text.find(',', start);
        if (end == std::string::npos)
            end = text.size();
        std::string pair = text.substr(start, end - start);
        start = end + 1;
        std::size_t colon = pair.rfind(':');
        if (colon == std::string::npos)
            continue;
        TermEntry entry{pair.substr(0, colon), 0};
        const char* first = pair.data() + colon + 1;
        const char* last = pair.data() + pair.size();
        auto [ptr, ec] = std::from_chars(first, last, entry.priority);
        if (ec != std::errc() || ptr != last || entry.priority < 0 || entry.priority > TermOrdering::kMaxPriority ||
            !ValidSymbol(entry.symbol))
            continue;
        auto same = [&](const TermEntry& e) { return e.symbol == entry.symbol; };
        if (std::none_of(entries.begin(), entries.end(), same))
            entries.push_back(entry);
    }
    return entries;
}

std::string SymbolName(const ExprNode* node)
{
    const SymbolNode* symbol = AsSymbol(node);
    if (!symbol)
        return {};
    return symbol->IsBuiltin() ? symbol->Name() : symbol->FreeText();
}

} // namespace

bool TermOrdering::Load()
{
    std::string terms = AppProfile::GetProfileString(kSection, kTermsKey);
    if (terms.empty())
        return false;
    useOrdering = AppProfile::GetProfileString(kSection, kUseKey) == "true";
    std::string constants = AppProfile::GetProfileString(kSection, kConstantsKey, "true");
    constantsToBack = constants == "true";
    int count = std::clamp(AppProfile::GetProfileInt(kSection, kCountKey, kMaxEntries), 0, kMaxEntries);
    entries = ParseTerms(terms, count);
    return true;
}

void TermOrdering::Save() const
{
    std::string terms;
    for (const TermEntry& entry : entries) {
        if (!terms.empty())
            terms += ',';
        terms += entry.symbol + ':' + std::to_string(entry.priority);
    }
    AppProfile::WriteProfileString(kSection, kUseKey, TrueFalse(useOrdering));
    AppProfile::WriteProfileInt(kSection, kCountKey, int(entries.size()));
    // An ordering without entries is still a stored ordering.
    AppProfile::WriteProfileString(kSection, kTermsKey, terms.empty() ? "," : terms);
    AppProfile::WriteProfileString(kSection, kConstantsKey, TrueFalse(constantsToBack));
}

ExprNode* TermOrdering::ToKernelList() const
{
    auto* pairs = new ListNode;
    for (const TermEntry& entry : entries) {
        auto* pair = new ListNode;
        int builtin = TheNameTable().Find(entry.symbol.c_str());
        pair->AppendChild(builtin > 0 ? new SymbolNode(builtin) : new SymbolNode(entry.symbol));
        pair->AppendChild(new IntegerNode(entry.priority));
        pairs->AppendChild(pair);
    }
    auto* list = new ListNode;
    list->AppendChild(new SymbolNode(useOrdering ? "True" : "False"));
    list->AppendChild(pairs);
    return list;
}

bool TermOrdering::FromKernelList(const ExprNode* node, bool constantsToBackValue)
{
    const auto* list = dynamic_cast<const ListNode*>(node);
    if (!list || list->Count() != 2)
        return false;
    const auto* pairs = dynamic_cast<const ListNode*>(list->ChildAt(2));
    if (!pairs)
        return false;
    std::vector<TermEntry> read;
    for (ExprNode* child = pairs->First(); child && int(read.size()) < kMaxEntries; child = child->next) {
        const auto* pair = dynamic_cast<const ListNode*>(child);
        if (!pair || pair->Count() < 2 || pair->ChildAt(2)->GetTag() != TypeTag("intN"))
            continue;
        TermEntry entry{SymbolName(pair->ChildAt(1)), pair->ChildAt(2)->GetIntegerValue()};
        if (ValidSymbol(entry.symbol) && entry.priority >= 0 && entry.priority <= kMaxPriority)
            read.push_back(entry);
    }
    useOrdering = SymbolName(list->ChildAt(1)) == "True";
    entries = std::move(read);
    constantsToBack = constantsToBackValue;
    return true;
}

bool TermOrdering::Precedes(const TermEntry& a, const TermEntry& b)
{
    return a.priority > b.priority || (a.priority == b.priority && a.symbol < b.symbol);
}

void TermOrdering::SortByVariable()
{
    std::stable_sort(entries.begin(), entries.end(),
                     [](const TermEntry& a, const TermEntry& b) { return a.symbol > b.symbol; });
}

void TermOrdering::SortByPriority()
{
    std::stable_sort(entries.begin(), entries.end(), Precedes);
}

bool TermOrdering::SetPriority(const std::string& symbol, int priority)
{
    if (!ValidSymbol(symbol) || priority < 0 || priority > kMaxPriority)
        return false;
    for (TermEntry& entry : entries) {
        if (entry.symbol == symbol) {
            entry.priority = priority;
            return true;
        }
    }
    if (int(entries.size()) >= kMaxEntries)
        return false;
    TermEntry added{symbol, priority};
    auto place = std::find_if(entries.begin(), entries.end(),
                              [&](const TermEntry& e) { return !Precedes(e, added); });
    entries.insert(place, added);
    return true;
}

std::string TermOrdering::LineText(const TermEntry& entry)
{
    std::string line = entry.symbol + " - " + std::to_string(entry.priority);
    if (line.size() < 7)
        line.resize(7, ' ');
    return line;
}
