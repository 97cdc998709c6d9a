#include "drawing/DrawVariable.h"

#include "drawing/DrawIdentities.h"
#include "drawing/ItemCopyMap.h"
#include "foundation/DocReader.h"
#include "foundation/DocWriter.h"
#include "platform/Exceptions.h"

DrawVariable::~DrawVariable() { DrawIdentities::ForgetVariable(this); }

void DrawVariable::SetValue(double value)
{
    m_value = value;
    NotifyLinks();
}

DrawVariable* DrawVariable::Clone(ItemCopyMap& map) const
{
    auto* copy = new DrawVariable(m_value, m_fixed);
    map.AddVariable(const_cast<DrawVariable*>(this), copy);
    return copy;
}

void DrawVariable::Write(DocWriter& writer)
{
    writer.WriteLinkId(static_cast<LinkTarget*>(this));
    writer.WriteDouble(m_value);
    writer.WriteByte(m_fixed ? 1 : 0);
}

void DrawVariable::Read(DocReader& reader, void* context)
{
    reader.ReadTargetId(this);
    m_value = reader.ReadDouble();
    m_fixed = reader.ReadBool();
    m_owner = static_cast<DiagramComp*>(context);
}

DrawVariable* DrawVariable::ReadShared(DocReader& reader)
{
    auto* variable = dynamic_cast<DrawVariable*>(reader.ReadVariableRef());
    if (!variable)
        throw CFormatException("A drawing refers to a variable that is not one");
    return variable;
}

DrawVariable* DrawVariable::ReadOwned(DocReader& reader)
{
    DrawVariable* variable = ReadShared(reader);
    if (variable->m_claimed)
        throw CFormatException("Two items of a drawing claim the same variable");
    variable->m_claimed = true;
    return variable;
}
