#include "platform/draw/PrinterDC.h"

#include <QFile>
#include <QPrinter>

CPrinterDC::CPrinterDC(QPrinter& printer) : m_printer(printer)
{
    setPrinting(true);
}

CPrinterDC::~CPrinterDC()
{
    if (m_started)
        EndDoc();
}

int CPrinterDC::StartDoc(const char* documentName)
{
    if (m_started)
        return -1;
    if (documentName)
        m_printer.setDocName(QString::fromUtf8(documentName));
    beginPainting(&m_printer);
    if (!painter())
        return -1;
    m_started = true;
    m_pages = 0;
    return 1;
}

int CPrinterDC::StartPage()
{
    if (!m_started || m_inPage)
        return -1;
    if (m_pages > 0 && !m_printer.newPage())
        return -1;
    ++m_pages;
    m_inPage = true;
    return 1;
}

int CPrinterDC::EndPage()
{
    if (!m_inPage)
        return -1;
    m_inPage = false;
    return 1;
}

int CPrinterDC::EndDoc()
{
    if (!m_started)
        return -1;
    endPainting();
    m_started = m_inPage = false;
    return 1;
}

int CPrinterDC::AbortDoc()
{
    if (!m_started)
        return -1;
    const bool aborted = m_printer.abort();
    endPainting();
    m_started = m_inPage = false;
    // A PDF file cannot take its pages back: the part written goes.
    if (!aborted && m_printer.outputFormat() == QPrinter::PdfFormat && !m_printer.outputFileName().isEmpty())
        QFile::remove(m_printer.outputFileName());
    return 1;
}

QPaintDevice* CPrinterDC::metricsDevice() const { return &m_printer; }
int CPrinterDC::dpiX() const { return m_printer.resolution(); }
int CPrinterDC::dpiY() const { return m_printer.resolution(); }

CSize CPrinterDC::deviceSize() const
{
    QRect page = m_printer.pageLayout().paintRectPixels(m_printer.resolution());
    return CSize(page.width(), page.height());
}
