#pragma once
// The LaTeX, TechExplorer and notebook exports of a document: the whole text
// is written in memory and then replaces the file in one step, so a failed
// export leaves no half-written file under the chosen name. Pictures go
// beside the file, named after it with the format and a number, and take
// their names just before it; a failed export leaves every file as it was.
#include "export/NotebookFileWriter.h"

#include <string>
#include <vector>

class ParagraphList;

struct ExportOutcome {
    bool written = false;
    std::string message; // why not, or which pictures a written export left out
};

ExportOutcome ExportLaTeXFile(const ParagraphList& list, const std::string& path, bool techExplorer);
// parseFailures: set to every formula that did not parse, in order; when
// it is asked for and one is set, nothing is written (written false, no
// message).
// stopped: when it answers true once the document has been walked, the
// export was stopped and nothing is written either.
ExportOutcome ExportNotebookFile(const ParagraphList& list, const std::string& path,
                                 NotebookFileWriter::BoxText boxText, std::vector<BadFormula>* parseFailures = nullptr,
                                 const std::function<bool()>& stopped = {});
