#include "drawing/DrawVarTable.h"

#include "drawing/DrawingNodes.h"
#include "drawing/ItemCopyMap.h"
#include "foundation/DocReader.h"
#include "foundation/DocWriter.h"
#include "kernel/LeafNodes.h"
#include "kernel/ListNodes.h"
#include "kernel/NodeBuilders.h"
#include "kernel/OperatorNodes.h"
#include "platform/Exceptions.h"

#include <algorithm>
#include <cstdint>

namespace {

// A name's length byte and a variable index.
constexpr int32_t kMinEntryBytes = 3;

} // namespace

DrawVariable* DrawVarTable::Find(const Str255& name) const
{
    for (const auto& entry : m_entries)
        if (entry->name == name)
            return entry->variable.get();
    return nullptr;
}

void DrawVarTable::SetNamed(const Str255& name, double value)
{
    if (DrawVariable* variable = Find(name)) {
        variable->SetValue(value);
        return;
    }
    m_entries.push_back(NewEntry(name, value));
}

std::unique_ptr<DrawVarEntry> DrawVarTable::NewEntry(const Str255& name, double value) const
{
    auto entry = std::make_unique<DrawVarEntry>();
    entry->name = name;
    entry->variable = std::make_unique<DrawVariable>(value, false);
    entry->variable->SetOwner(m_owner);
    return entry;
}

void DrawVarTable::SetOwner(DiagramComp* diagram)
{
    m_owner = diagram;
    for (const auto& entry : m_entries)
        entry->variable->SetOwner(diagram);
}

ExprNode* DrawVarTable::ToRuleList() const
{
    auto* list = new ListNode;
    for (const auto& entry : m_entries)
        list->AppendChild(new RuleNode(new SymbolNode(std::string(entry->name.GetText())),
                                       new RealNode(entry->variable->GetValue())));
    return list;
}

void DrawVarTable::AppendEquations(ExprNode& list) const
{
    for (const auto& entry : m_entries) {
        DrawVariable* variable = entry->variable.get();
        ExprNode* right = variable->IsFixed() ? static_cast<ExprNode*>(new RealNode(variable->GetValue()))
                                              : new DrawVarNode(variable);
        list.AppendChild(MakeRelation(new SymbolNode(std::string(entry->name.GetText())), right));
    }
}

void DrawVarTable::FixNamed(const ExprNode& list)
{
    const auto* composite = dynamic_cast<const CompositeNode*>(&list);
    if (!composite)
        return;
    for (ExprNode* child = composite->First(); child; child = child->next) {
        Str255 name;
        child->GetText(name);
        if (DrawVariable* variable = Find(name))
            variable->SetFixed(true);
    }
}

void DrawVarTable::ReplaceFromRules(ExprNode* list)
{
    std::unique_ptr<ExprNode> rules(list);
    std::vector<std::unique_ptr<DrawVarEntry>> kept;
    auto* composite = dynamic_cast<CompositeNode*>(list);
    for (ExprNode* child = composite ? composite->First() : nullptr; child; child = child->next) {
        auto* rule = dynamic_cast<RuleNode*>(child);
        if (!rule || child->GetTag() != TypeTag("rulN") || !rule->Left() || !rule->Right())
            continue;
        Str255 name;
        rule->Left()->GetText(name);
        const double value = rule->Right()->GetRealValue();
        auto same = [&](const std::unique_ptr<DrawVarEntry>& entry) { return entry && entry->name == name; };
        if (auto again = std::find_if(kept.begin(), kept.end(), same); again != kept.end()) {
            (*again)->variable->SetValue(value);
        } else if (auto old = std::find_if(m_entries.begin(), m_entries.end(), same); old != m_entries.end()) {
            (*old)->variable->SetValue(value);
            kept.push_back(std::move(*old));
        } else {
            kept.push_back(NewEntry(name, value));
        }
    }
    // The entries no rule named go with their variables.
    m_entries = std::move(kept);
}

bool DrawVarTable::Holds(const DrawVariable* variable) const
{
    for (const auto& entry : m_entries)
        if (entry->variable.get() == variable)
            return true;
    return false;
}

void DrawVarTable::CopyFrom(const DrawVarTable& other, ItemCopyMap& map)
{
    for (const auto& entry : other.m_entries) {
        auto copy = std::make_unique<DrawVarEntry>();
        copy->name = entry->name;
        copy->variable.reset(map.FindOrCloneVariable(entry->variable.get()));
        m_entries.push_back(std::move(copy));
    }
}

void DrawVarTable::Write(DocWriter& writer) const
{
    if (m_entries.size() > static_cast<size_t>(INT16_MAX))
        throw CException("The drawing has too many named variables to be stored");
    writer.WriteShort(static_cast<int16_t>(m_entries.size()));
    for (const auto& entry : m_entries) {
        writer.WritePString(entry->name, true);
        writer.WriteVariableRef(entry->variable.get());
    }
}

void DrawVarTable::Read(DocReader& reader)
{
    const int count = reader.ReadShort();
    if (count < 0 || count > reader.BytesLeft() / kMinEntryBytes)
        throw CFormatException("A drawing's variable count is damaged");
    for (int i = 0; i < count; ++i) {
        auto entry = std::make_unique<DrawVarEntry>();
        reader.ReadPString(entry->name, true);
        entry->variable.reset(DrawVariable::ReadOwned(reader));
        m_entries.push_back(std::move(entry));
    }
}
