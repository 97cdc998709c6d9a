#include "math/LinkAddress.h"

#include <QRegularExpression>
#include <QUrl>

#include <initializer_list>

namespace {

bool SchemeIs(const QUrl& url, std::initializer_list<const char*> schemes)
{
    for (const char* scheme : schemes)
        if (url.scheme().compare(QLatin1String(scheme), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

bool StartsWithScheme(const QString& target)
{
    static const QRegularExpression scheme("^[A-Za-z][A-Za-z0-9+.-]+:");
    return scheme.match(target.trimmed()).hasMatch();
}

} // namespace

namespace LinkAddress {

QString Written(const QString& target)
{
    QString written;
    written.reserve(target.size());
    for (const QChar ch : target)
        if (ch.category() != QChar::Other_Control)
            written += ch;
    return written;
}

Kind Classify(const QString& given, bool external)
{
    const QString target = Written(given);
    if (!external || (!target.contains("://") && !target.contains("mailto:", Qt::CaseInsensitive)))
        return StartsWithScheme(target) ? Kind::kRefused : Kind::kDocumentPath;
    const QUrl url(target.trimmed());
    if (SchemeIs(url, {"http", "https"}))
        return Kind::kWeb;
    if (SchemeIs(url, {"mailto"}))
        return Kind::kMail;
    if (SchemeIs(url, {"file"}))
        return Kind::kFile;
    // Schemes through which the desktop fetches the named file and opens it
    // by its type, as it would a local one.
    if (SchemeIs(url, {"ftp", "ftps", "sftp", "smb", "dav", "davs", "nfs", "afp"}))
        return Kind::kFileTransfer;
    return Kind::kRefused;
}

std::optional<QString> WebAddress(const QString& given, bool external)
{
    const QString target = Written(given);
    const Kind kind = Classify(target, external);
    if (kind == Kind::kRefused)
        return std::nullopt;
    const qsizetype colon = target.indexOf(':');
    const qsizetype slash = target.indexOf('/');
    if (kind == Kind::kDocumentPath && colon >= 0 && (slash < 0 || colon < slash))
        return "./" + target;
    return target;
}

} // namespace LinkAddress
