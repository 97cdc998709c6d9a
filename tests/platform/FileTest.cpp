#include <filesystem>
#include <fstream>
#include <sys/stat.h>

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "platform/AtomicFileWriter.h"
#include "platform/CFile.h"
#include "platform/FileFaults.h"

namespace fs = std::filesystem;

namespace {

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteAll(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

size_t FileCount(const QTemporaryDir& dir)
{
    return size_t(std::distance(fs::directory_iterator(dir.path().toStdString()), fs::directory_iterator()));
}

std::string Path(const QTemporaryDir& dir, const char* name) { return dir.filePath(name).toStdString(); }

} // namespace

TEST(CFileTest, ReadsWritesSeeksAndResizes)
{
    QTemporaryDir dir;
    const std::string path = Path(dir, "data.bin");
    {
        CFile file(path, CFile::modeCreate | CFile::modeReadWrite | CFile::shareExclusive);
        file.Write("0123456789", 10);
        EXPECT_EQ(file.GetLength(), 10u);
        EXPECT_EQ(file.Seek(4, CFile::begin), 4u);
        char buffer[16] = {};
        EXPECT_EQ(file.Read(buffer, 16), 6u); // a short read: the end of the file
        EXPECT_STREQ(buffer, "456789");
        EXPECT_EQ(file.Read(buffer, 1), 0u);
        file.SetLength(8192);
        EXPECT_EQ(file.GetLength(), 8192u);
        EXPECT_EQ(file.GetPosition(), 10u); // resizing keeps the position
        file.SetLength(3);
        file.Close();
        EXPECT_FALSE(file.IsOpen());
        EXPECT_THROW(file.Read(buffer, 1), CFileException);
    }
    EXPECT_EQ(ReadAll(path), "012");
}

TEST(CFileTest, FailuresCarryTheirCause)
{
    QTemporaryDir dir;
    CFileException::Cause cause = CFileException::none;
    CFile file;
    EXPECT_FALSE(file.Open(Path(dir, "missing.vxm"), CFile::modeRead, &cause));
    EXPECT_EQ(cause, CFileException::fileNotFound);
    EXPECT_FALSE(file.Open(dir.path().toStdString(), CFile::modeRead, &cause));
    EXPECT_EQ(cause, CFileException::accessDenied);
    // Nor is a device opened, to be read or to be written over.
    cause = CFileException::none;
    EXPECT_FALSE(file.Open("/dev/null", CFile::modeCreate | CFile::modeReadWrite, &cause));
    EXPECT_EQ(cause, CFileException::accessDenied);

    try {
        CFile missing(Path(dir, "no/such/folder.vxm"), CFile::modeRead);
        FAIL() << "opening a missing file must throw";
    } catch (const CFileException& e) {
        EXPECT_NE(std::string(e.what()).find("folder.vxm"), std::string::npos);
    }

    WriteAll(Path(dir, "read-only.bin"), "abc");
    CFile reader(Path(dir, "read-only.bin"), CFile::modeRead);
    EXPECT_THROW(reader.Write("x", 1), CFileException);
    EXPECT_THROW(reader.Seek(-5, CFile::begin), CFileException);
}

TEST(CFileTest, SimulatedFullDiskStoresWhatFitsThenFails)
{
    QTemporaryDir dir;
    const std::string path = Path(dir, "full.bin");
    CFile file(path, CFile::modeCreate | CFile::modeWrite);
    {
        ScopedDiskFull full(6);
        file.Write("abcd", 4);
        try {
            file.Write("efgh", 4);
            FAIL() << "the write past the limit must fail";
        } catch (const CFileException& e) {
            EXPECT_EQ(e.m_cause, CFileException::diskFull);
        }
        EXPECT_THROW(file.Write("i", 1), CFileException);
    }
    file.Write("!", 1); // the hook is off again
    file.Close();
    EXPECT_EQ(ReadAll(path), "abcdef!");
}

TEST(AtomicFileWriterTest, ReplacesTheFileKeepingItsPermissions)
{
    QTemporaryDir dir;
    const std::string path = Path(dir, "doc.vxm");
    WriteAll(path, "old content");
    ::chmod(path.c_str(), 0640);

    AtomicFileWriter writer(path);
    EXPECT_EQ(fs::path(writer.TemporaryPath()).parent_path(), fs::path(path).parent_path());
    writer.Write("new", 3);
    EXPECT_EQ(ReadAll(path), "old content"); // untouched until the commit
    writer.Commit();

    EXPECT_EQ(ReadAll(path), "new");
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_EQ(FileCount(dir), 1u);
}

TEST(AtomicFileWriterTest, FullDiskLeavesTheOldFileByteIdentical)
{
    QTemporaryDir dir;
    const std::string path = Path(dir, "doc.vxm");
    std::string old("\x00\x01old\xff\r\n", 8);
    WriteAll(path, old);

    std::string big(100000, 'x');
    try {
        AtomicFileWriter writer(path);
        ScopedDiskFull full(4096);
        writer.Write(big.data(), static_cast<uint32_t>(big.size()));
        writer.Commit();
        FAIL() << "a full disk must be reported";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.m_cause, CFileException::diskFull);
        EXPECT_NE(std::string(e.what()).find("disk is full"), std::string::npos);
    }
    EXPECT_EQ(ReadAll(path), old);
    EXPECT_EQ(FileCount(dir), 1u); // the temporary is gone
}

TEST(AtomicFileWriterTest, FailedRenameDiscardsTheTemporary)
{
    QTemporaryDir dir;
    const std::string target = Path(dir, "folder");
    // A folder that takes the name while the file is written is left as it is.
    AtomicFileWriter writer(target);
    fs::create_directory(target);
    WriteAll(target + "/inside", "kept");
    writer.Write("data", 4);
    EXPECT_THROW(writer.Commit(), CFileException);
    EXPECT_FALSE(writer.IsCommitted());
    EXPECT_EQ(ReadAll(target + "/inside"), "kept");
    EXPECT_EQ(FileCount(dir), 1u);

    EXPECT_THROW(AtomicFileWriter(Path(dir, "missing/doc.vxm")), CFileException);
}

// Only a regular file is replaced: whatever else has the name, reached
// directly or through a link, is refused before anything is written, with a
// reason that says what has the name. A folder that takes no new file is
// named as what stops the writing.
TEST(AtomicFileWriterTest, WhatIsNoRegularFileIsRefusedAndLeftAsItWas)
{
    QTemporaryDir dir;
    const std::string pipe = Path(dir, "pipe.vxm"), folder = Path(dir, "folder.vxm");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    fs::create_directory(folder);
    fs::create_symlink("/dev/null", Path(dir, "device.vxm"));
    const std::pair<std::string, const char*> refused[] = {
        {pipe, "a named pipe"}, {Path(dir, "device.vxm"), "a device"}, {folder, "a folder"}};
    for (const auto& [path, kind] : refused) {
        SCOPED_TRACE(path);
        try {
            AtomicFileWriter writer(path);
            FAIL() << "replaced";
        } catch (const CFileException& e) {
            EXPECT_NE(e.Reason().find(std::string("That name belongs to ") + kind), std::string::npos) << e.Reason();
            EXPECT_EQ(e.Reason(), e.what());
        }
    }
    EXPECT_TRUE(fs::is_fifo(pipe));
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_EQ(FileCount(dir), 3u);

    const std::string kept = Path(dir, "kept.vxm");
    WriteAll(kept, "old");
    ScopedFolderDenied denied(dir.path().toStdString());
    try {
        AtomicFileWriter writer(kept);
        FAIL() << "written";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.m_cause, CFileException::accessDenied);
        EXPECT_EQ(e.Reason(),
                  "The folder \"" + fs::canonical(dir.path().toStdString()).string() +
                      "\" does not let new files be made in it; choose another folder");
    }
    EXPECT_EQ(ReadAll(kept), "old");
    EXPECT_EQ(FileCount(dir), 4u);
}

TEST(AtomicFileWriterTest, UncommittedWriterChangesNothingAndLinksAreFollowed)
{
    QTemporaryDir dir;
    const std::string real = Path(dir, "real.vxm");
    const std::string link = Path(dir, "link.vxm");
    WriteAll(real, "old");
    fs::create_symlink(real, link);
    {
        AtomicFileWriter abandoned(link);
        abandoned.Write("lost", 4);
    }
    EXPECT_EQ(ReadAll(real), "old");
    EXPECT_EQ(FileCount(dir), 2u);

    AtomicFileWriter writer(link);
    writer.Write("new", 3);
    writer.Commit();
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadAll(real), "new");
}
