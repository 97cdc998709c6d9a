#pragma once
// The HTML export of a document: the page and its numbered PNG pictures,
// written so that a failure leaves nothing half-written under the chosen
// names. The page goes into a temporary file beside the chosen one and each
// picture into a temporary file of its own (see ExportPictureFiles); only
// when all of them are complete are the pictures renamed to their names and
// the page renamed over the chosen file. On any failure every temporary is
// removed and the files that were there before are left as they were.
#include <string>

class ParagraphList;

struct HtmlExportSettings {
    // The chosen file.
    std::string path;
    // The page's title (the document's title without its extension).
    std::string title;
    // The widths of a numbered equation's two cells, in pixels.
    int firstCellWidth = 0;
    int secondCellWidth = 0;
};

struct HtmlExportResult {
    bool ok = true;
    // Why the export failed, for the user.
    std::string message;
    // The pictures written beside the page.
    int pictureCount = 0;
    // What a successful export left out, for the user (empty when nothing).
    std::string notice;
};

// Runs the paragraph list's HTML walk into the chosen file. The pictures are
// named after the file's title (its name without extension) and a counter
// from 0, in the file's folder. The drawing context must have a target.
HtmlExportResult WriteHtmlExport(const ParagraphList& paragraphs, const HtmlExportSettings& settings);

// The folder of a path, up to and including its last '/' (empty without one).
std::string ExportFolderOf(const std::string& path);
