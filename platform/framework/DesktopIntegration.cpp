#include "platform/framework/DesktopIntegration.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QPainter>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUrl>

namespace DesktopIntegration {

namespace {

LinkOpener& opener()
{
    static LinkOpener o;
    return o;
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(bytes);
    return file.commit();
}

QImage defaultIcon()
{
    QImage icon(48, 48, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(40, 70, 140));
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(2, 2, 44, 44), 8, 8);
    p.setPen(QPen(Qt::white, 3));
    QFont f("DejaVu Serif");
    f.setPixelSize(30);
    f.setItalic(true);
    p.setFont(f);
    p.drawText(QRect(0, 0, 48, 46), Qt::AlignCenter, QString(QChar(0x221A)) + "x");
    return icon;
}

QString escapeXml(QString text)
{
    return text.replace('&', "&amp;").replace('<', "&lt;").replace('>', "&gt;").replace('"', "&quot;");
}

void runIfPresent(const QString& tool, const QStringList& arguments)
{
    QString path = QStandardPaths::findExecutable(tool);
    if (!path.isEmpty())
        QProcess::execute(path, arguments);
}

}

bool IsProgramFile(const QString& path)
{
    static const char* const programTypes[] = {
        "application/x-executable", "application/x-sharedlib", "application/x-shellscript",
        "application/x-desktop", "application/x-ms-dos-executable", "application/x-msi",
        "application/vnd.microsoft.portable-executable", "application/x-java-archive",
        "application/x-perl", "text/x-python", "text/x-python3", "application/x-ruby",
    };
    const QFileInfo info(path);
    if (info.isFile() && info.isExecutable())
        return true;
    if (info.suffix().compare("desktop", Qt::CaseInsensitive) == 0)
        return true;
    const QMimeType type = QMimeDatabase().mimeTypeForFile(info);
    for (const char* program : programTypes)
        if (type.inherits(program))
            return true;
    return false;
}

bool IsDataType(const QString& mimeName)
{
    static const char* const dataPrefixes[] = {
        "image/",
        "audio/",
        "video/",
        "application/vnd.oasis.opendocument.",
        "application/vnd.openxmlformats-officedocument.",
    };
    static const char* const dataTypes[] = {
        "text/plain",
        "text/markdown",
        "text/csv",
        "text/tab-separated-values",
        "text/html",
        "application/xhtml+xml",
        "application/pdf",
        "application/postscript",
        "application/rtf",
        "text/rtf",
        "application/msword",
        "application/vnd.ms-excel",
        "application/vnd.ms-powerpoint",
        "application/epub+zip",
        "inode/directory",
    };
    for (const char* prefix : dataPrefixes)
        if (mimeName.startsWith(QLatin1String(prefix)))
            return true;
    for (const char* type : dataTypes)
        if (mimeName == QLatin1String(type))
            return true;
    return false;
}

bool IsDataFile(const QString& path)
{
    if (IsProgramFile(path) || !IsDataType(QMimeDatabase().mimeTypeForFile(path).name()))
        return false;
    // The desktop chooses a handler by the name first: an ending no data type
    // claims (".bat" read as plain text here) may be claimed by a program.
    const QFileInfo info(path);
    return info.isDir() || info.suffix().isEmpty() || NamesDataFile(info.fileName());
}

bool NamesDataFile(const QString& fileName)
{
    return IsDataType(QMimeDatabase().mimeTypeForFile(fileName, QMimeDatabase::MatchExtension).name());
}

bool OpenLink(const QString& link)
{
    QString trimmed = link.trimmed();
    if (trimmed.isEmpty())
        return false;
    // "//host/path" would become a "file://host/path" address, which the
    // desktop resolves to a path other than the one that was checked.
    if (trimmed.startsWith("//"))
        return false;
    QUrl url = QUrl::fromUserInput(trimmed);
    if (url.isLocalFile() && (!url.host().isEmpty() || !IsDataFile(url.toLocalFile())))
        return false;
    if (opener())
        return opener()(trimmed);
    return url.isValid() && QDesktopServices::openUrl(url);
}

LinkOpener SetLinkOpener(LinkOpener o)
{
    LinkOpener old = opener();
    opener() = std::move(o);
    return old;
}

QString DesktopFileText(const Entry& e)
{
    return QString("[Desktop Entry]\n"
                   "Type=Application\n"
                   "Name=%1\n"
                   "Comment=%2\n"
                   "Exec=%3 %f\n"
                   "Icon=%4\n"
                   "Terminal=false\n"
                   "MimeType=%5;\n"
                   "Categories=Office;Education;Science;Math;\n")
        .arg(e.name, e.comment, e.executable, e.applicationId, e.mimeType);
}

QString MimeXmlText(const Entry& e)
{
    return QString("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                   "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                   "  <mime-type type=\"%1\">\n"
                   "    <comment>%2</comment>\n"
                   "    <icon name=\"%3\"/>\n"
                   "    <glob pattern=\"*.%4\"/>\n"
                   "  </mime-type>\n"
                   "</mime-info>\n")
        .arg(escapeXml(e.mimeType), escapeXml(e.mimeComment), escapeXml(e.applicationId), escapeXml(e.extension));
}

bool Install(const QString& dataFolder, const Entry& e)
{
    QDir root(dataFolder);
    bool ok = writeFile(root.filePath("applications/" + e.applicationId + ".desktop"), DesktopFileText(e).toUtf8());
    ok = writeFile(root.filePath("mime/packages/" + e.applicationId + ".xml"), MimeXmlText(e).toUtf8()) && ok;
    QString iconPath = root.filePath("icons/hicolor/48x48/apps/" + e.applicationId + ".png");
    ok = QDir().mkpath(QFileInfo(iconPath).absolutePath()) && (e.icon.isNull() ? defaultIcon() : e.icon).save(iconPath, "PNG") && ok;
    if (ok) {
        runIfPresent("update-mime-database", {root.filePath("mime")});
        runIfPresent("update-desktop-database", {root.filePath("applications")});
    }
    return ok;
}

QString DefaultDataFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

}

std::intptr_t ShellExecuteA(void*, const char*, const char* file, const char*, const char*, int)
{
    return DesktopIntegration::OpenLink(QString::fromUtf8(file ? file : "")) ? 42 : 2;
}
