#pragma once
// pdflatex run by the LaTeX export tests on a file the export wrote, and
// the text of a PDF.
#include <QProcess>
#include <QString>

#include <filesystem>
#include <string>

// pdflatex on the file in its folder, waiting at most timeoutMs for it to
// finish: empty when it succeeds, else the log's first error.
inline std::string CompileLaTeX(const std::string& texPath, int timeoutMs = 120000)
{
    const std::filesystem::path path(texPath);
    QProcess latex;
    latex.setWorkingDirectory(QString::fromStdString(path.parent_path().string()));
    latex.start("pdflatex",
                {"-interaction=nonstopmode", "-halt-on-error", "-no-shell-escape",
                 QString::fromStdString(path.filename().string())});
    if (!latex.waitForFinished(timeoutMs))
        return "pdflatex did not finish";
    const std::string log = latex.readAllStandardOutput().toStdString();
    if (latex.exitStatus() == QProcess::NormalExit && latex.exitCode() == 0)
        return {};
    const size_t error = log.find("\n!");
    return error == std::string::npos ? log.substr(log.size() > 2000 ? log.size() - 2000 : 0) : log.substr(error, 600);
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
