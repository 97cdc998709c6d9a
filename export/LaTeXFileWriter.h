#pragma once
// Writes a document as a LaTeX source file that pdflatex compiles with the
// packages its preamble declares. The paragraph list's LaTeX walk drives it:
// the preamble, each paragraph's begin and end operations around its
// components, the end. Letters are held back as pending characters so that a
// word of mathematics that names a built-in function ("cos") is written as
// its TeX command. Pictures are written beside the file: the recording as
// ".emf" and a PNG rendering that the source includes.
#include "export/ExportOutput.h"
#include "foundation/LaTeXWriter.h"
#include "math/ExportElementWriters.h"

#include <cstdint>
#include <string>

class ByteStream;
class CompList;

class LaTeXFileWriter : public LaTeXWriter, public LaTeXObjectWriter {
public:
    // The fonts of the writer's state, as the component character styles.
    enum Font : int32_t { kRoman = 0, kEmphasis = 1, kBold = 2, kMath = 3, kTypewriter = 4 };
    static constexpr int kPendingCapacity = 64;

    // folder and baseName name the pictures: folder + baseName + number.
    LaTeXFileWriter(ByteStream& stream, std::string folder, std::string baseName);
    ~LaTeXFileWriter() override = default;

    // The document frame.
    void BeginDocument(bool numberPages, int16_t firstPage) override { WritePreamble(numberPages, firstPage); }
    virtual void WritePreamble(bool numberPages, int16_t firstPage);
    void WriteEnd() override;
    void Flush();

    // Rows of structured components: a group of mathematics, in braces when
    // mode is not 0.
    void BeginRow(int mode) override { BeginGroup(mode != 0); }
    void EndRow(int mode) override { EndGroup(mode != 0); }
    void BeginGroup(bool brace);
    void EndGroup(bool brace);

    void WriteString(const char* text) override;
    void WriteNumber(long value);
    void NewLine() override;
    void WriteChar(TextComp& comp, bool align) override;
    void SetFont(int32_t font);
    void FlushPending();

    void BeginTitle() override;
    void EndTitle() override;
    void BeginSection(EquationLabel* label) override;
    void EndSection(EquationLabel* label) override;
    void BeginHeading() override;
    void EndHeading() override;
    void BeginParagraph(bool noIndent) override;
    void BeginEnumeratedItem(EquationLabel* label) override;
    void EndEnumeratedItem(EquationLabel* label) override { EndListItem(label); }
    void BeginDisplayMath() override;
    void EndDisplayMath() override;
    void BeginNumberedEquation(EquationLabel* label) override;
    void EndNumberedEquation(EquationLabel* label) override;
    void BeginVerbatim() override;
    void EndVerbatim();
    void BeginItemizedItem() override;
    void BeginSubEnumeratedItem(EquationLabel* label) override;
    void EndSubEnumeratedItem(EquationLabel* label) override { EndListItem(label); }
    void BeginSubItemizedItem() override;
    void EndItem() override;
    void EndListItem(EquationLabel* label);
    void BeginEqnarray() override;
    void EndEqnarray() override;

    // Pictures, references and links, which the two dialects write apart.
    void WritePicture(int widthPoints, int heightPoints, HENHMETAFILE picture) override;
    void WriteReference(const Str255& labelName, const Str255& shownText) override;
    void WriteDocLink(const Str255& url, const Str255& text) override;

    // Whether every picture file could be written; the first failure's text.
    bool PicturesWritten() const { return m_pictureError.empty(); }
    const std::string& PictureError() const { return m_pictureError; }
    int PictureCount() const { return m_pictureCount; }

protected:
    virtual void WriteEndSectionLabel(EquationLabel* label);
    virtual void WriteEquationEnd(EquationLabel* label);
    virtual void WriteItemLabel(EquationLabel* label);
    virtual void WriteListItemEnd(EquationLabel* label);
    virtual bool IsTechExplorer() const { return false; }

    void Put(const char* text);
    void Put(const std::string& text) { Put(text.c_str()); }
    void CloseFontGroup(const char* mathClose);
    void CloseLists();
    void CloseListsAndVerbatim();
    void CloseSecondLevel();
    void SetBaseFont(int32_t font);
    void OpenFirstLevelItem(bool enumerate);
    void OpenSecondLevelItem(bool enumerate);
    // The picture's next name, without extension.
    std::string NextPictureName();
    // Writes a PNG rendering of the picture at folder + fileName, scale times
    // its size in pixels; false (with the reason kept) on failure.
    bool SavePicturePng(HENHMETAFILE picture, int width, int height, const std::string& fileName);
    void NotePictureError(const std::string& message);
    static std::string LabelName(EquationLabel* label);
    static bool IsReferenced(const EquationLabel* label);

    const std::string& Folder() const { return m_folder; }

private:
    void WriteLetterForm(const std::string& tex, bool math);
    void WriteOtherForm(int32_t kind, const std::string& tex, bool math, bool align);

    ExportOutput m_output;
    std::string m_pending;
    int32_t m_groupDepth = 0;
    int32_t m_baseFont = kRoman;
    int32_t m_currentFont = kRoman;
    int32_t m_spacing = 0;
    bool m_enumerate1 = false;
    bool m_enumerate2 = false;
    bool m_itemize1 = false;
    bool m_itemize2 = false;
    bool m_verbatim = false;
    int16_t m_pictureCount = 0;
    std::string m_baseName;
    std::string m_folder;
    std::string m_pictureError;
};
