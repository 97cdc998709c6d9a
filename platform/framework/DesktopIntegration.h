#pragma once
// Links and the desktop: opening a web or "mailto:" link with the desktop's
// handler, and installing the editor's document type (".vxm") and a desktop
// entry the freedesktop way - a shared-mime-info package, a .desktop file and
// the icon - into a data folder (the user's ~/.local/share by default; tests
// give a temporary folder).
#include <QImage>
#include <QString>
#include <functional>

#include "platform/framework/AfxTypes.h"

namespace DesktopIntegration {

struct Entry {
    QString applicationId = "quorvant";           // file names: quorvant.desktop, quorvant.png
    QString name = "Quorvant";
    QString comment = "Edit mathematical documents";
    QString executable = "quorvant";             // the command, without arguments
    QString mimeType = "application/x-quorvant";
    QString mimeComment = "Quorvant document";
    QString extension = "vxm";
    QImage icon;                                  // a default is drawn when null
    static Entry Default() { return Entry(); }
};

// Opens a link ("http://...", "https://...", "mailto:...", or a file path)
// with the desktop's handler; false when there is none, the link is empty, it
// names a file on another computer as a local one ("file://host/..."), or it
// names a local file that does not hold data (a program file, which the
// desktop would start, or any other type).
bool OpenLink(const QString& link);
// True when a local file would run rather than open: an executable file, a
// program, script or library by its content type, or a desktop entry.
bool IsProgramFile(const QString& path);
// True when a type is data the desktop shows rather than runs: documents,
// pictures, sound and video, PDF, text and web pages (and, for local files,
// folders). Everything else is refused, so that a new kind of program is
// never let through by a list that forgot it.
bool IsDataType(const QString& mimeName);
// Whether a local file holds data, by its content and by its name (an
// ending no data type claims is refused), and is no program.
bool IsDataFile(const QString& path);
// Whether a file named so (on another computer, say) holds data, by its name.
bool NamesDataFile(const QString& fileName);
// Replaces how links are opened (tests); null restores the desktop's.
using LinkOpener = std::function<bool(const QString&)>;
LinkOpener SetLinkOpener(LinkOpener opener);

// Writes applications/<id>.desktop, mime/packages/<id>.xml and
// icons/hicolor/48x48/apps/<id>.png under dataFolder, then asks the system
// tools (update-mime-database, update-desktop-database) to refresh their
// caches when they exist. False when a file could not be written.
bool Install(const QString& dataFolder, const Entry& entry);
QString DefaultDataFolder();

// The texts written, for tests and packaging.
QString DesktopFileText(const Entry& entry);
QString MimeXmlText(const Entry& entry);

}

// The old name of opening a link: "open" a file or URL with its handler.
// Answers a value above 32 on success.
std::intptr_t ShellExecuteA(void* window, const char* verb, const char* file, const char* parameters,
                            const char* directory, int showCommand);
