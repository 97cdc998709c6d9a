#pragma once
// pdflatex run by the LaTeX export tests on a file the export wrote, and
// the text of a PDF.
#include <QProcess>
#include <QString>

#include <filesystem>
#include <string>

// pdflatex on the file in its folder, waiting at most timeoutMs for each
// run: empty when it succeeds, else the log's first error. It runs again
// while LaTeX asks for it, as a reader's own build does, so that references
// read their numbers rather than "??".
inline std::string CompileLaTeX(const std::string& texPath, int timeoutMs = 120000)
{
    const std::filesystem::path path(texPath);
    for (int run = 0; run < 3; ++run) {
        QProcess latex;
        latex.setWorkingDirectory(QString::fromStdString(path.parent_path().string()));
        latex.start("pdflatex",
                    {"-interaction=nonstopmode", "-halt-on-error", "-no-shell-escape",
                     QString::fromStdString(path.filename().string())});
        if (!latex.waitForFinished(timeoutMs))
            return "pdflatex did not finish";
        const std::string log = latex.readAllStandardOutput().toStdString();
        if (latex.exitStatus() != QProcess::NormalExit || latex.exitCode() != 0) {
            const size_t error = log.find("\n!");
            return error == std::string::npos ? log.substr(log.size() > 2000 ? log.size() - 2000 : 0)
                                              : log.substr(error, 600);
        }
        if (log.find("Rerun to get") == std::string::npos && log.find("may have changed") == std::string::npos)
            return {};
    }
    return {};
}

// The text of a PDF as pdftotext reads it, in the order of the page's
// content, not of its columns.
inline std::string PdfText(const std::string& pdfPath)
{
    QProcess text;
    text.start("pdftotext", {"-raw", "-enc", "UTF-8", QString::fromStdString(pdfPath), "-"});
    if (!text.waitForFinished(120000))
        return {};
    return text.readAllStandardOutput().toStdString();
}
