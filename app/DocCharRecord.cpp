#include "app/DocCharRecord.h"

#include "foundation/ArchiveCharMaps.h"
#include "foundation/DocReader.h"
#include "foundation/DocWriter.h"

void DocCharRecord::Write(DocWriter& writer) const
{
    writer.WriteByte(EncodeArchiveChar(code, true));
}

void DocCharRecord::Read(DocReader& reader)
{
    code = DecodeArchiveChar(reader.ReadByte(), true);
}
