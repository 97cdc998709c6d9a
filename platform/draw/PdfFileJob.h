#pragma once
// A PDF that replaces a file only when it is whole. The pages are painted on
// Writer(), a PDF writer of its own whose bytes go through the file layer
// into a temporary beside the chosen file; Commit renames the temporary over
// the file once every byte has been written and synced. The first write that
// fails (a full disk) stops the writer and is told by Commit; a job that
// fails or is discarded removes its temporary and leaves the earlier file
// byte for byte. Nothing of a failed job outlives it: the next job starts
// with a writer and a file of its own.
#include <QPdfWriter>

#include <memory>
#include <string>

class AtomicFileWriter;
class PdfFileDevice;

class PdfFileJob {
public:
    // Throws CFileException when the name is no regular file's or its folder
    // takes no new file.
    explicit PdfFileJob(const std::string& path);
    // Discards the temporary unless committed.
    ~PdfFileJob();
    PdfFileJob(const PdfFileJob&) = delete;
    PdfFileJob& operator=(const PdfFileJob&) = delete;

    QPdfWriter& Writer() { return *m_writer; }

    // Called once the painter on the writer has ended, with what its end
    // answered: the PDF takes the file's name. Throws CFileException naming
    // the chosen file when a byte could not be written, the writer did not
    // end well or the rename failed; the temporary is then removed.
    void Commit(bool painterEnded);
    void Discard();

private:
    std::unique_ptr<AtomicFileWriter> m_file;
    std::unique_ptr<PdfFileDevice> m_device;
    std::unique_ptr<QPdfWriter> m_writer;
};
