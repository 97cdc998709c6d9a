#pragma once
// The exception family of the program. Errors are thrown as these types and
// caught at command boundaries; none may cross a Qt event dispatch.
#include <stdexcept>
#include <string>

class CException : public std::runtime_error {
public:
    explicit CException(const std::string& what) : std::runtime_error(what) {}
};

// A failure of a file operation, with the cause codes the program tests for.
class CFileException : public CException {
public:
    enum Cause {
        none = 0,
        genericException = 1,
        fileNotFound = 2,
        badPath = 3,
        tooManyOpenFiles = 4,
        accessDenied = 5,
        invalidFile = 6,
        removeCurrentDir = 7,
        directoryFull = 8,
        badSeek = 9,
        hardIO = 10,
        sharingViolation = 11,
        lockViolation = 12,
        diskFull = 13,
        endOfFile = 14,
    };

    CFileException(Cause cause, const std::string& path = {}, const std::string& detail = {})
        : CException(describe(cause, path, detail)), m_cause(cause), m_strFileName(path) {}

    // A failure whose reason is told in a sentence of its own (what stopped
    // the operation, more exactly than the cause can say); it is the text of
    // the exception and stands in the cause's place in reports.
    static CFileException Explained(Cause cause, const std::string& path, const std::string& reason)
    {
        return CFileException(Explanation{}, cause, path, reason);
    }

    // What reports tell the user went wrong: the reason, else the cause.
    std::string Reason() const { return m_reason.empty() ? std::string(causeText(m_cause)) : m_reason; }

    Cause m_cause;
    std::string m_strFileName;
    std::string m_reason;

    static std::string describe(Cause cause, const std::string& path, const std::string& detail)
    {
        std::string text = causeText(cause);
        if (!path.empty())
            text += ": " + path;
        if (!detail.empty())
            text += " (" + detail + ")";
        return text;
    }

    static const char* causeText(Cause cause)
    {
        switch (cause) {
        case none: return "No error";
        case fileNotFound: return "The file could not be found";
        case badPath: return "The path is not valid";
        case tooManyOpenFiles: return "Too many files are open";
        case accessDenied: return "Access to the file was denied";
        case invalidFile: return "The file handle is not valid";
        case removeCurrentDir: return "The current folder cannot be removed";
        case directoryFull: return "The folder is full";
        case badSeek: return "The file position could not be set";
        case hardIO: return "A hardware error occurred";
        case sharingViolation: return "The file is in use";
        case lockViolation: return "The file is locked";
        case diskFull: return "The disk is full";
        case endOfFile: return "The end of the file was reached unexpectedly";
        case genericException: break;
        }
        return "The file could not be read or written";
    }

private:
    struct Explanation {};
    CFileException(Explanation, Cause cause, const std::string& path, const std::string& reason)
        : CException(reason), m_cause(cause), m_strFileName(path), m_reason(reason)
    {}
};

// Bad data in a file or on the clipboard: a length, count, index or tag that
// cannot be right. Raised by every reader of untrusted bytes.
class CFormatException : public CException {
public:
    explicit CFormatException(const std::string& what) : CException(what) {}
};

// An allocation the program could not make (for example a save buffer).
class CMemoryException : public CException {
public:
    CMemoryException() : CException("Out of memory") {}
};

// Thrown after the user has already been told what went wrong (a failed
// validation in a dialog): callers abandon the operation silently.
class CUserException : public CException {
public:
    CUserException() : CException("Operation cancelled") {}
};
