#pragma once
// Helpers of the XHTML export tests: the writer over a string, files under
// the test's output folder, and the external checkers (xmllint, Chromium).
#include "export/XhtmlWriter.h"
#include "foundation/ByteStream.h"

#include <string>
#include <vector>

struct StringStream : ByteStream {
    void Write(const void* buf, int32_t n) override { text.append(static_cast<const char*>(buf), std::size_t(n)); }
    int32_t GetLength() override { return int32_t(text.size()); }
    std::string text;
};

// The output folder of the running test (made empty).
std::string TestFolder();
std::string ReadText(const std::string& path);
void WriteText(const std::string& path, const std::string& text);

struct ToolRun {
    bool started = false;
    int exitCode = -1;
    std::string output;  // standard output and error together
};
ToolRun RunTool(const std::string& program, const std::vector<std::string>& arguments, int timeoutMs = 120000);
bool HasTool(const std::string& program);

// xmllint's verdict on a file: empty when well-formed (and valid against its
// document type when asked), else xmllint's messages.
std::string XmlLintErrors(const std::string& path, bool validate);
// The same for text.
std::string XmlLintTextErrors(const std::string& text, bool validate);

// Occurrences of a piece of text.
int Count(const std::string& text, const std::string& piece);
