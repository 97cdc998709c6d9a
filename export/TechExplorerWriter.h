#pragma once
// The TechExplorer dialect of the LaTeX export (".tcx"): its own preamble,
// labels written after sections, equations and list items, references and
// document links as hyperlinks, and pictures as PNG files.
#include "export/LaTeXFileWriter.h"

class TechExplorerWriter : public LaTeXFileWriter {
public:
    // The pictures are named as the LaTeX writer's with "-tcx".
    TechExplorerWriter(ByteStream& stream, std::string folder, std::string baseName)
        : LaTeXFileWriter(stream, std::move(folder), std::move(baseName), "tcx")
    {}

    void WritePreamble(bool numberPages, int16_t firstPage) override;
    void WritePicture(int widthPoints, int heightPoints, HENHMETAFILE picture) override;
    void WriteReference(const Str255& labelName, const Str255& shownText) override;
    void WriteDocLink(const Str255& url, const Str255& text) override;

    // The text as XML character data: markup characters as entities, codes
    // of 128 and above as numeric references of their Unicode characters.
    static std::string Escaped(const std::string& unicodeUtf8);

protected:
    void WriteEndSectionLabel(EquationLabel* label) override;
    void WriteEquationEnd(EquationLabel* label) override;
    void WriteItemLabel(EquationLabel*) override {}
    void WriteListItemEnd(EquationLabel* label) override;
    bool IsTechExplorer() const override { return true; }

private:
    void WriteLabel(EquationLabel* label);
};
