#include "platform/draw/PrinterDC.h"

#include "platform/Exceptions.h"
#include "platform/draw/PdfFileJob.h"

#include <QFile>
#include <QPaintEngine>
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

// A preview paints on the printer while it records pages, with the output
// file the user last printed to still set: that file is no business of it.
bool CPrinterDC::RecordsPreview() const
{
    const QPaintEngine* engine = m_printer.paintEngine();
    return engine && engine->type() == QPaintEngine::Picture;
}

bool CPrinterDC::BeginFileJob()
{
    if (m_printer.outputFormat() != QPrinter::PdfFormat || m_printer.outputFileName().isEmpty() || RecordsPreview())
        return true;
    try {
        m_pdf = std::make_unique<PdfFileJob>(QFile::encodeName(m_printer.outputFileName()).toStdString());
    } catch (const CFileException& e) {
        m_failure = e.Reason();
        return false;
    }
    QPdfWriter& writer = m_pdf->Writer();
    writer.setPdfVersion(m_printer.pdfVersion());
    writer.setResolution(m_printer.resolution());
    writer.setPageLayout(m_printer.pageLayout());
    writer.setTitle(m_printer.docName());
    writer.setCreator(m_printer.creator());
    setGreyscale(m_printer.colorMode() == QPrinter::GrayScale);
    return true;
}

bool CPrinterDC::EndFileJob(bool keep, bool painterEnded)
{
    if (!m_pdf)
        return true;
    bool placed = true;
    try {
        if (keep)
            m_pdf->Commit(painterEnded);
        else
            m_pdf->Discard();
    } catch (const CFileException& e) {
        m_failure = e.Reason();
        placed = false;
    } catch (const CException& e) {
        m_failure = e.what();
        placed = false;
    }
    m_pdf.reset();
    return placed;
}

QPagedPaintDevice& CPrinterDC::Target()
{
    if (m_pdf)
        return m_pdf->Writer();
    return m_printer;
}

int CPrinterDC::StartDoc(const char* documentName)
{
    if (m_started)
        return -1;
    m_failure.clear();
    if (documentName)
        m_printer.setDocName(QString::fromUtf8(documentName));
    if (!BeginFileJob())
        return -1;
    beginPainting(&Target());
    if (!painter()) {
        if (m_pdf)
            m_failure = "The PDF could not be started";
        EndFileJob(false, false);
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
    if (m_pages > 0 && !Target().newPage())
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
    const bool ended = endPainting();
    m_started = m_inPage = false;
    if (!m_pdf && !ended)
        m_failure = "The printer could not finish the pages";
    return EndFileJob(true, ended) && ended ? 1 : -1;
}

int CPrinterDC::AbortDoc()
{
    if (!m_started)
        return -1;
    if (!m_pdf)
        m_printer.abort();
    endPainting();
    m_started = m_inPage = false;
    EndFileJob(false, false);
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
