#include "platform/draw/PrinterDC.h"

#include "platform/AtomicFileWriter.h"

#include <QFile>
#include <QPrinter>

CPrinterDC::CPrinterDC(QPrinter& printer) : m_printer(printer)
{
    setPrinting(true);
}

// A job never ended is not printed: nothing is written from here.
CPrinterDC::~CPrinterDC()
{
    if (m_started)
        AbortDoc();
}

bool CPrinterDC::BeginFileJob()
{
    if (m_printer.outputFormat() != QPrinter::PdfFormat || m_printer.outputFileName().isEmpty())
        return true;
    m_fileFailure.clear();
    try {
        m_pdf = std::make_unique<AtomicFileWriter>(QFile::encodeName(m_printer.outputFileName()).toStdString());
    } catch (const CFileException& e) {
        m_fileFailure = e.Reason();
        return false;
    }
    m_chosenFile = m_printer.outputFileName();
    m_printer.setOutputFileName(QFile::decodeName(QByteArray::fromStdString(m_pdf->TemporaryPath())));
    return true;
}

bool CPrinterDC::EndFileJob(bool keep)
{
    if (!m_pdf)
        return true;
    m_printer.setOutputFileName(m_chosenFile);
    bool placed = true;
    try {
        if (keep)
            m_pdf->Commit();
        else
            m_pdf->Discard();
    } catch (const CFileException& e) {
        m_fileFailure = e.Reason();
        placed = false;
    }
    m_pdf.reset();
    return placed;
}

int CPrinterDC::StartDoc(const char* documentName)
{
    if (m_started)
        return -1;
    if (documentName)
        m_printer.setDocName(QString::fromUtf8(documentName));
    if (!BeginFileJob())
        return -1;
    beginPainting(&m_printer);
    if (!painter()) {
        EndFileJob(false);
        return -1;
    }
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
    return EndFileJob(true) ? 1 : -1;
}

int CPrinterDC::AbortDoc()
{
    if (!m_started)
        return -1;
    m_printer.abort();
    endPainting();
    m_started = m_inPage = false;
    EndFileJob(false);
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
