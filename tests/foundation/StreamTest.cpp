// The byte streams and the text output buffer.
#include "foundation/CountingStream.h"
#include "foundation/FileReadStream.h"
#include "foundation/FileStream.h"
#include "foundation/FileWriteStream.h"
#include "foundation/MemoryStream.h"
#include "foundation/TextOutBuffer.h"
#include "platform/CFile.h"
#include "platform/Exceptions.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::string OutputPath(const std::string& name)
{
    fs::create_directories(QV_TEST_OUTPUT);
    return std::string(QV_TEST_OUTPUT) + "/" + name;
}

std::string MakeFile(const std::string& name, size_t size)
{
    std::string path = OutputPath(name);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    for (size_t i = 0; i < size; ++i)
        out.put(char(i % 251));
    return path;
}

std::string FileText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

template <class F>
void ExpectEndOfFile(F&& f)
{
    try {
        f();
        ADD_FAILURE() << "no end-of-file exception";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.m_cause, CFileException::endOfFile);
        EXPECT_TRUE(e.m_strFileName.empty());
    }
}

// Keeps everything written to it.
class RecordingStream : public ByteStream {
public:
    void Write(const void* buf, int32_t n) override { data.append(static_cast<const char*>(buf), static_cast<size_t>(n)); }
    int32_t GetLength() override { return int32_t(data.size()); }
    std::string data;
};

} // namespace

TEST(CountingStream, LargestRunIsTheLongestStretchBetweenFlushes)
{
    CountingStream s;
    s.Write(nullptr, 10);
    s.Flush();
    s.Write(nullptr, 30);
    s.Seek(12); // back into the run: it still reached position 40
    s.Write(nullptr, 4);
    EXPECT_EQ(s.GetPosition(), 16);
    s.Flush();
    s.Write(nullptr, 5);
    EXPECT_EQ(s.GetLength(), 21); // the size is where the writing stands
    EXPECT_EQ(s.GetLargestRun(), 30);
}

TEST(MemoryStream, ReadsWritesAndSeeksStayInsideTheBlock)
{
    char block[8] = {};
    MemoryStream s(block, 8);
    s.Write("abcdef", 6);
    EXPECT_EQ(s.GetPosition(), 6);
    ExpectEndOfFile([&] { s.Write("xyz", 3); });
    s.Seek(2);
    char out[4] = {};
    s.Read(out, 3);
    EXPECT_EQ(std::string(out, 3), "cde");
    s.Seek(8);
    ExpectEndOfFile([&] { s.ReadByte(); });
    ExpectEndOfFile([&] { s.Seek(9); });
    ExpectEndOfFile([&] { s.Seek(-1); });
    ExpectEndOfFile([&] { s.Read(out, -1); });
    EXPECT_EQ(s.GetPosition(), 8);
}

TEST(FileReadStream, CrossesBufferBoundariesAndStopsAtTheLastByte)
{
    CFile file(MakeFile("page.bin", 4096), CFile::modeRead);
    FileReadStream s(&file);
    std::vector<char> buf(4096);
    s.Read(buf.data(), 4000);
    s.Read(buf.data(), 96);
    EXPECT_EQ(s.GetPosition(), 4096);
    ExpectEndOfFile([&] { s.Read(buf.data(), 1); });
    ExpectEndOfFile([&] { s.Seek(4097); });

    CFile big(MakeFile("big.bin", 10000), CFile::modeRead);
    FileReadStream t(&big);
    t.Seek(4090);
    uint8_t b[20];
    t.Read(b, 20);
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(b[i], (4090 + i) % 251);
    t.Seek(5); // back into an earlier buffer
    EXPECT_EQ(t.ReadByte(), 5);
    t.Seek(9999);
    EXPECT_EQ(t.ReadByte(), 9999 % 251);
}

TEST(FileReadStream, AFileThatShrinksWhileReadEndsInEndOfFile)
{
    std::string path = MakeFile("shrinking.bin", 9000);
    CFile file(path, CFile::modeRead);
    FileReadStream s(&file);
    ASSERT_EQ(s.GetLength(), 9000);
    ASSERT_EQ(::truncate(path.c_str(), 5000), 0);
    std::vector<char> buf(9000);
    ExpectEndOfFile([&] { s.Read(buf.data(), 9000); });
}

// Only Flush writes: what is still buffered when the stream goes is not
// written by its destructor.
TEST(FileWriteStream, BufferReachesTheFileAtFlushOnly)
{
    std::string path = OutputPath("written.bin");
    {
        CFile file(path, CFile::modeCreate | CFile::modeReadWrite);
        std::vector<char> buffer(16);
        FileWriteStream s(&file, buffer.data(), 16);
        s.Write("0000abcd", 8);
        s.Seek(0);
        s.Write("1234", 4); // back-patch the first four bytes
        s.Seek(8);
        EXPECT_EQ(s.GetLength(), 0); // nothing has reached the file yet
        s.Flush();
        EXPECT_EQ(s.GetLength(), 8);
        s.Write("xyz", 3);
        s.Flush();
        s.Write("dropped", 7);
    }
    EXPECT_EQ(FileText(path), "1234abcdxyz");
}

TEST(FileWriteStream, MoreDataThanTheBufferIsStillWritten)
{
    std::string path = OutputPath("overflow.bin");
    {
        CFile file(path, CFile::modeCreate | CFile::modeReadWrite);
        char buffer[4];
        FileWriteStream s(&file, buffer, 4);
        s.Write("abc", 3);
        s.Write("defgh", 5);
        s.Write("ij", 2);
        EXPECT_EQ(s.GetPosition(), 10);
        EXPECT_THROW(s.Seek(1), CFileException); // already on disk
        s.Flush();
    }
    EXPECT_EQ(FileText(path), "abcdefghij");
}

// The file grows in chunks while written; what is left of the last chunk is
// cut off at the end.
TEST(FileStream, DropsTheUnusedTailOfItsChunks)
{
    std::string path = OutputPath("export.bin");
    {
        CFile file(path, CFile::modeCreate | CFile::modeReadWrite);
        FileStream s(&file, 0, 4096);
        std::vector<char> data(5000, 'x');
        s.Write(data.data(), 3000);
        s.Write(data.data(), 2000);
        EXPECT_EQ(s.GetPosition(), 5000);
        s.Write(data.data(), 0);
    }
    EXPECT_EQ(fs::file_size(path), 5000u);
    {
        CFile file(path, CFile::modeCreate | CFile::modeReadWrite);
        FileStream s(&file, 100, 10);
        std::vector<char> data(250, 'y');
        s.Write(data.data(), 250); // 100 + 15 chunks exactly
        s.Write(data.data(), 1);
    }
    EXPECT_EQ(fs::file_size(path), 251u);
}

TEST(TextOutBuffer, WritesEverythingAndEndsLinesWithCarriageReturns)
{
    RecordingStream out;
    TextOutBuffer text(&out);
    std::string s(1025, 'a');
    text.WriteString(s.c_str());
    text.Flush();
    EXPECT_EQ(out.data, s);

    RecordingStream line;
    TextOutBuffer t2(&line);
    t2.WriteChar('x');
    t2.EndLine();
    t2.Flush();
    EXPECT_EQ(line.data, "x\r");
}
