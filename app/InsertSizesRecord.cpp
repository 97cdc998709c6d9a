#include "app/InsertSizesRecord.h"

#include "foundation/DocReader.h"
#include "foundation/DocWriter.h"

void InsertSizesRecord::Write(DocWriter& writer) const
{
    writer.WriteShort(columns);
    writer.WriteShort(rows);
    writer.WriteShort(entries);
}

void InsertSizesRecord::Read(DocReader& reader)
{
    columns = reader.ReadShort();
    rows = reader.ReadShort();
    entries = reader.ReadShort();
}
