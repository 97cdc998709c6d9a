#include "XhtmlTestSupport.h"

#include "support/TestOutputFolder.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QStandardPaths>

#include <filesystem>
#include <fstream>
#include <iterator>

std::string TestFolder()
{
    return TestOutputFolder();
}

std::string ReadText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteText(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

bool HasTool(const std::string& program)
{
    return !QStandardPaths::findExecutable(QString::fromStdString(program)).isEmpty();
}

ToolRun RunTool(const std::string& program, const std::vector<std::string>& arguments, int timeoutMs)
{
    ToolRun run;
    QProcess process;
    QStringList list;
    for (const std::string& argument : arguments)
        list << QString::fromStdString(argument);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QString::fromStdString(program), list);
    if (!process.waitForStarted())
        return run;
    run.started = true;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        run.output = "timed out";
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.output = process.readAll().toStdString();
    return run;
}

std::string XmlLintErrors(const std::string& path, bool validate)
{
    std::vector<std::string> arguments = {"--noout", "--nonet"};
    if (validate)
        arguments.push_back("--valid");
    arguments.push_back(path);
    const ToolRun run = RunTool("xmllint", arguments);
    if (!run.started)
        return "xmllint did not start";
    return run.exitCode == 0 && run.output.empty() ? std::string() : run.output;
}

std::string XmlLintTextErrors(const std::string& text, bool validate)
{
    static int serial = 0;
    const std::string path = std::string(QV_TEST_OUTPUT) + "/lint-" + std::to_string(++serial) + ".xml";
    std::filesystem::create_directories(QV_TEST_OUTPUT);
    WriteText(path, text);
    return XmlLintErrors(path, validate);
}

int Count(const std::string& text, const std::string& piece)
{
    int count = 0;
    for (std::size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + piece.size()))
        ++count;
    return count;
}
