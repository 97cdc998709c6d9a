#include "app/DisplayRecord.h"

#include "foundation/DocReader.h"
#include "foundation/DocWriter.h"

void DisplayRecord::Write(DocWriter& writer) const
{
    writer.WriteShort(displaySize);
    writer.WriteByte(flag);
    writer.WriteBool(largerEquations);
    writer.WriteShort(firstPageNumber);
    writer.WriteLong(left);
    writer.WriteLong(top);
    writer.WriteLong(right);
    writer.WriteLong(bottom);
    writer.WriteBool(numberPrintedPages);
}

void DisplayRecord::Read(DocReader& reader)
{
    int16_t size = reader.ReadShort();
    if (size >= 0 && size < kDisplaySizeCount)
        displaySize = static_cast<uint8_t>(size);
    flag = reader.ReadByte();
    largerEquations = reader.ReadBool();
    firstPageNumber = reader.ReadShort();
    left = reader.ReadLong();
    top = reader.ReadLong();
    right = reader.ReadLong();
    bottom = reader.ReadLong();
    numberPrintedPages = reader.ReadBool();
}
