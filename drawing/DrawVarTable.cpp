#include "drawing/DrawVarTable.h"

#include "drawing/ItemCopyMap.h"
#include "foundation/DocReader.h"
#include "foundation/DocWriter.h"
#include "platform/Exceptions.h"

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
    auto entry = std::make_unique<DrawVarEntry>();
    entry->name = name;
    entry->variable = std::make_unique<DrawVariable>(value, false);
    m_entries.push_back(std::move(entry));
}

void DrawVarTable::SetOwner(DiagramComp* diagram)
{
    for (const auto& entry : m_entries)
        entry->variable->SetOwner(diagram);
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
