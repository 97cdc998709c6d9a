#include "support/model/ArchiveStore.h"

#include "foundation/CountingStream.h"
#include "foundation/MemoryStream.h"

#include <gtest/gtest.h>

std::vector<uint8_t> StoreArchive(const std::function<void(DocWriter&, bool measuring)>& write)
{
    CountingStream counter;
    {
        DocWriter measure(&counter);
        write(measure, true);
    }
    std::vector<uint8_t> bytes(static_cast<size_t>(counter.GetLength()));
    MemoryStream stream(bytes.data(), static_cast<int32_t>(bytes.size()));
    DocWriter writer(&stream);
    write(writer, false);
    EXPECT_EQ(stream.GetPosition(), static_cast<int32_t>(bytes.size()));
    return bytes;
}

std::vector<uint8_t> StoreArchive(const std::function<void(DocWriter&)>& write)
{
    return StoreArchive([&write](DocWriter& writer, bool) { write(writer); });
}
