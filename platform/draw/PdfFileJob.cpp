#include "platform/draw/PdfFileJob.h"

#include "platform/AtomicFileWriter.h"
#include "platform/Exceptions.h"

#include <QIODevice>

#include <algorithm>
#include <exception>
#include <new>
#include <vector>

// The writer's bytes on their way into the temporary, in blocks. Nothing is
// thrown through the writer: the first failure is kept, that write and every
// later one answer -1, and the writer stops writing.
class PdfFileDevice : public QIODevice {
public:
    static constexpr std::size_t kBlock = 64 * 1024;

    explicit PdfFileDevice(AtomicFileWriter& file) : m_file(file)
    {
        m_block.reserve(kBlock);
        open(QIODevice::WriteOnly);
    }

    // Writes what is still held; throws the first failure.
    void Finish()
    {
        if (!m_failure)
            PassOn();
        if (m_failure)
            std::rethrow_exception(m_failure);
    }

protected:
    qint64 readData(char*, qint64) override { return -1; }

    qint64 writeData(const char* data, qint64 size) override
    {
        if (m_failure)
            return -1;
        try {
            m_block.insert(m_block.end(), data, data + size);
        } catch (const std::bad_alloc&) {
            m_failure = std::make_exception_ptr(CMemoryException());
            return -1;
        }
        if (m_block.size() >= kBlock && !PassOn())
            return -1;
        return size;
    }

private:
    bool PassOn()
    {
        try {
            for (std::size_t done = 0; done < m_block.size();) {
                const std::size_t part = std::min<std::size_t>(m_block.size() - done, kBlock);
                m_file.Write(m_block.data() + done, uint32_t(part));
                done += part;
            }
            m_block.clear();
            return true;
        } catch (const CFileException&) {
            m_failure = std::current_exception();
            return false;
        }
    }

    AtomicFileWriter& m_file;
    std::vector<char> m_block;
    std::exception_ptr m_failure;
};

PdfFileJob::PdfFileJob(const std::string& path)
    : m_file(std::make_unique<AtomicFileWriter>(path)),
      m_device(std::make_unique<PdfFileDevice>(*m_file)),
      m_writer(std::make_unique<QPdfWriter>(m_device.get()))
{
}

PdfFileJob::~PdfFileJob() = default;

void PdfFileJob::Commit(bool painterEnded)
{
    try {
        m_device->Finish();
        if (!painterEnded)
            throw CFileException::Explained(CFileException::genericException, m_file->TargetPath(),
                                            "The PDF writer could not finish the pages");
        m_file->Commit();
    } catch (...) {
        Discard();
        throw;
    }
}

void PdfFileJob::Discard()
{
    m_file->Discard();
}
