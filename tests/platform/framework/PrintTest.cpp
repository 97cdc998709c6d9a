// The print job: prepare, begin (where the page count is set), then prepare
// and print each page, then end; into a PDF with that many pages.
#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QRegularExpression>

#include "FrameworkTestSupport.h"

namespace {
int pdfPageCount(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    QByteArray bytes = file.readAll();
    return int(QString::fromLatin1(bytes).count(QRegularExpression("/Type\\s*/Page(?![s])")));
}
}

TEST_F(FrameworkTest, PrintingRunsTheFrameworksSequenceIntoAPdf)
{
    LogView* view = OpenNewView();
    ASSERT_NE(view, nullptr);
    QDir().mkpath(QV_TEST_OUTPUT);
    QString pdf = QString(QV_TEST_OUTPUT) + "/print-sequence.pdf";
    QFile::remove(pdf);
    QPrinter& printer = AfxGetPrinter();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);

    view->pagesToPrint = 3;
    view->SendMessage(WM_COMMAND, ID_FILE_PRINT_DIRECT);  // no print dialog
    EXPECT_EQ(view->printLog, (std::vector<std::string>{"prepare", "begin", "prepare page 1", "print page 1",
                                                        "prepare page 2", "print page 2", "prepare page 3",
                                                        "print page 3", "end"}));
    EXPECT_EQ(pdfPageCount(pdf), 3);

    view->printLog.clear();
    view->pagesToPrint = 5;
    app->mainFrame->OnCmdMsgFromUser(ID_FILE_PRINT_DIRECT);  // the same command from the menu
    EXPECT_EQ(view->printLog.size(), 3u + 2u * 5u);
    EXPECT_EQ(pdfPageCount(pdf), 5);
    printer.setOutputFileName(QString());
}
