#include "drawing/DiagramItem.h"

#include "foundation/DocReader.h"
#include "foundation/DocWriter.h"

void DiagramItem::Write(DocWriter& writer)
{
    writer.WriteByte(m_visible ? 1 : 0);
}

void DiagramItem::Read(DocReader& reader, void* context)
{
    m_selected = false;
    m_visible = reader.ReadBool();
}
