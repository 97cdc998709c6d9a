#pragma once
// A device context over a QPrinter (also PDF output). Drawing happens between
// StartDoc and EndDoc, a page at a time between StartPage and EndPage.
// Coordinates are printer pixels at the printer's resolution, the page's
// printable area starting at (0, 0).
//
// A PDF job writes into a hidden temporary beside the file chosen, which
// takes the file's name only when the job ends: a stopped job, or one whose
// context is destroyed before EndDoc, leaves the earlier file as it was.
#include "platform/draw/PainterDC.h"

#include <QString>

#include <memory>
#include <string>

class AtomicFileWriter;
class QPrinter;

class CPrinterDC : public CPainterDC {
public:
    explicit CPrinterDC(QPrinter& printer);
    ~CPrinterDC() override;

    int StartDoc(const char* documentName) override;
    int StartPage() override;
    int EndPage() override;
    // Ends the job; a PDF then replaces the chosen file (-1 when it could
    // not, the earlier file kept).
    int EndDoc() override;
    // Drops the job: the printer cancels it, or the PDF written so far is
    // removed and the chosen file stays as it was.
    int AbortDoc() override;

    int PageCount() const { return m_pages; }
    // Why the PDF file could not be started or put in place (empty when it
    // could, or when the job prints to no file).
    const std::string& FileFailure() const { return m_fileFailure; }

protected:
    QPaintDevice* metricsDevice() const override;
    int dpiX() const override;
    int dpiY() const override;
    CSize deviceSize() const override;

private:
    // Points a PDF job at a temporary beside its file; false when the
    // folder takes no new file or the name is no regular file's.
    bool BeginFileJob();
    // Gives the printer its file name back; the temporary replaces the file
    // when kept (false when that fails), else it is removed.
    bool EndFileJob(bool keep);

    QPrinter& m_printer;
    bool m_started = false;
    bool m_inPage = false;
    int m_pages = 0;
    std::unique_ptr<AtomicFileWriter> m_pdf;
    QString m_chosenFile;
    std::string m_fileFailure;
};
