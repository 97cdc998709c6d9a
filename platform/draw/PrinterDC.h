#pragma once
// A device context over a QPrinter (also PDF output). Drawing happens between
// StartDoc and EndDoc, a page at a time between StartPage and EndPage.
// Coordinates are printer pixels at the printer's resolution, the page's
// printable area starting at (0, 0).
#include "platform/draw/PainterDC.h"

class QPrinter;

class CPrinterDC : public CPainterDC {
public:
    explicit CPrinterDC(QPrinter& printer);
    ~CPrinterDC() override;

    int StartDoc(const char* documentName) override;
    int StartPage() override;
    int EndPage() override;
    int EndDoc() override;
    // Drops the job: the printer cancels it, or the PDF file written so far
    // is removed.
    int AbortDoc() override;

    int PageCount() const { return m_pages; }

protected:
    QPaintDevice* metricsDevice() const override;
    int dpiX() const override;
    int dpiY() const override;
    CSize deviceSize() const override;

private:
    QPrinter& m_printer;
    bool m_started = false;
    bool m_inPage = false;
    int m_pages = 0;
};
