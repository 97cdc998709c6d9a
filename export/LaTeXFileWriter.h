#pragma once
// Writes a document as a LaTeX source file that pdflatex compiles with the
// packages its preamble declares. The paragraph list's LaTeX walk drives it:
// the preamble, each paragraph's begin and end operations around its
// components, the end. Letters are held back as pending characters so that a
// word of mathematics that names a built-in function ("cos") is written as
// its TeX command. Pictures are written beside the file (see
// ExportPictureFiles): the recording as ".emf" and a PNG rendering that the
// source includes, never wider than the line. A picture with no recording
// is not written.
#include "export/ExportOutput.h"
#include "export/ExportPictureFiles.h"
#include "export/RowRuns.h"
#include "foundation/LaTeXWriter.h"
#include "math/ExportElementWriters.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class ByteStream;
class CompList;

class LaTeXFileWriter : public LaTeXWriter, public LaTeXObjectWriter {
public:
    // The fonts of the writer's state, as the component character styles.
    enum Font : int32_t { kRoman = 0, kEmphasis = 1, kBold = 2, kMath = 3, kTypewriter = 4 };
    static constexpr int kPendingCapacity = 64;

    // folder and baseName name the pictures: folder + baseName, "-tex" and
    // a number (characters TeX would act on in a file name as "-").
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
    void WriteText(std::string_view bytes, LaTeXPlace place) override;
    void WriteNumber(long value);
    void NewLine() override;
    void WriteChar(TextComp& comp, bool align) override;
    void EnterRow(const CompList& row) override;
    void LeaveRow() override;
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
    void EndLists() override { CloseListsAndVerbatim(); }
    void BeginEqnarray() override;
    void EndEqnarray() override;

    // Pictures, references and links, which the two dialects write apart.
    void WritePicture(int widthPoints, int heightPoints, HENHMETAFILE picture) override;
    void WriteReference(const Str255& labelName, const Str255& shownText) override;
    void WriteDocLink(const Str255& url, const Str255& text) override;

    // The pictures written so far, in their temporaries until placed.
    ExportPictureFiles& Pictures() { return m_pictures; }

protected:
    LaTeXFileWriter(ByteStream& stream, std::string folder, std::string baseName, const char* format);

    virtual void WriteEndSectionLabel(EquationLabel* label);
    virtual void WriteEquationEnd(EquationLabel* label);
    virtual void WriteItemLabel(EquationLabel* label);
    virtual void WriteListItemEnd(EquationLabel* label);
    virtual bool IsTechExplorer() const { return false; }

    void Put(const char* text);
    // Document text standing as the argument of a command.
    void PutArgument(std::string_view bytes);
    void Put(const std::string& text) { Put(text.c_str()); }
    void WriteLabel(EquationLabel& label);
    // A link's text, as text wherever the link stands.
    void WriteLinkText(const Str255& text);
    void CloseFontGroup(const char* mathClose);
    void CloseLists();
    void CloseListsAndVerbatim();
    void CloseSecondLevel();
    void SetBaseFont(int32_t font);
    void OpenFirstLevelItem(bool enumerate);
    void OpenSecondLevelItem(bool enumerate, const EquationLabel* number = nullptr);
    // Renders the picture into a PNG file of width by height pixels under
    // the name; false when it is left out or fails (the reason kept).
    bool SavePicturePng(HENHMETAFILE picture, int width, int height, const std::string& fileName);
    static std::string LabelName(EquationLabel* label);
    static bool IsReferenced(const EquationLabel* label);

private:
    int32_t RunFont(const TextComp& comp);
    void WriteLetterForm(const std::string& tex, bool math);
    std::string TextFormInFont(uint8_t code, int charSet) const;
    void WriteOtherForm(int32_t kind, const std::string& tex, bool math, bool align);

    ExportOutput m_output;
    std::string m_pending;
    int32_t m_groupDepth = 0;
    int32_t m_baseFont = kRoman;
    int32_t m_currentFont = kRoman;
    int32_t m_spacing = 0;
    bool m_afterControlWord = false;
    bool m_beforeOptionalArgument = false;
    bool m_enumerate1 = false;
    bool m_enumerate2 = false;
    bool m_itemize1 = false;
    bool m_itemize2 = false;
    bool m_verbatim = false;
    // The rows being written, innermost last: each with its runs, the
    // position of the component last handed over and the run holding it;
    // `followed` falls when the components stop coming in the row's order.
    struct RowFrame {
        const CompList* row = nullptr;
        std::vector<RowRuns::Run> runs;
        int index = 0;
        std::size_t run = 0;
        bool followed = true;
    };
    std::vector<RowFrame> m_rows;
    ExportPictureFiles m_pictures;
};
