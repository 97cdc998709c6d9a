#pragma once
// A device context over a QPrinter (also PDF output). Drawing happens between
// StartDoc and EndDoc, a page at a time between StartPage and EndPage.
// Coordinates are printer pixels at the printer's resolution, the page's
// printable area starting at (0, 0).
//
// A printer that prints to a PDF file has the pages painted on a PDF writer
// of the printer's page layout, resolution, title and colour mode, whose file
// replaces the chosen one only when the whole PDF has been written (see
// PdfFileJob): a job that fails or stops, or whose context is destroyed
// before EndDoc, leaves the earlier file as it was, and the printer itself
// writes nothing that could fail for the next job. A printer that records
// pages for a print preview touches no file.
#include "platform/draw/PainterDC.h"

#include <memory>
#include <string>

class PdfFileJob;
class QPagedPaintDevice;
class QPrinter;

class CPrinterDC : public CPainterDC {
public:
    explicit CPrinterDC(QPrinter& printer);
    ~CPrinterDC() override;

    int StartDoc(const char* documentName) override;
    int StartPage() override;
    int EndPage() override;
    // Ends the job; a PDF then replaces the chosen file (-1 when the pages
    // could not be finished or the file not written whole, the earlier file
    // kept).
    int EndDoc() override;
    // Drops the job: the printer cancels it, or the PDF written so far is
    // removed and the chosen file stays as it was.
    int AbortDoc() override;

    int PageCount() const { return m_pages; }
    // Why the job could not be started or finished (empty when it could).
    const std::string& Failure() const { return m_failure; }

protected:
    QPaintDevice* metricsDevice() const override;
    int dpiX() const override;
    int dpiY() const override;
    CSize deviceSize() const override;

private:
    // Whether the printer records the pages of a print preview.
    bool RecordsPreview() const;
    // Starts the PDF of a printer that prints to a file; false when the
    // folder takes no new file or the name is no regular file's.
    bool BeginFileJob();
    // Ends the PDF: kept, it replaces the file (false when that fails),
    // else it is removed.
    bool EndFileJob(bool keep, bool painterEnded);
    // What the pages are painted on: the PDF's writer or the printer.
    QPagedPaintDevice& Target();

    QPrinter& m_printer;
    bool m_started = false;
    bool m_inPage = false;
    int m_pages = 0;
    std::unique_ptr<PdfFileJob> m_pdf;
    std::string m_failure;
};
