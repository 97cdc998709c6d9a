#pragma once
// The document of the editor's one document template. It owns the paragraph
// list, the slide list, the id pool and the three small records kept in the
// header of every ".vxm" file, and it implements new, open and save, the
// modified mark in the title, id allocation for components and paragraphs,
// and the File/Export commands.
//
// File layout: long version 2100; short section count 5; five sections of
// short id, long length and data (1 id pool, 2 display record, 3 insert
// sizes, 4 overscript kind, 5 slide count); the paragraph list; the slides.
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "app/DisplayRecord.h"
#include "app/DocCharRecord.h"
#include "app/InsertSizesRecord.h"
#include "foundation/DocumentModel.h"
#include "foundation/IdPool.h"
#include "foundation/StyleKinds.h"
#include "platform/framework/CDocument.h"

class CView;
class DocReader;
class DocSelection;
class DocWriter;
class DocumentViewSeam;
class ParagraphList;
class SlideList;

// The File/Export commands.
enum : UINT {
    ID_EXPORT_LATEX = 34031,
    ID_EXPORT_NOTEBOOK = 34032,
    ID_EXPORT_MATHML = 34033,
    ID_EXPORT_HTML = 34034,
    ID_EXPORT_TECHEXPLORER = 34035,
};

struct ExportCommand {
    UINT id;
    const char* proposedExtension;
    const char* defaultExtension;
    const char* filter;
    // A counting pass runs first and stops the export on a badly formed expression.
    bool countingPass;
};

class CCorvellDoc : public CDocument, public DocumentModel {
    DECLARE_DYNCREATE(CCorvellDoc)
public:
    static constexpr int32_t kVersion = 2100;
    // Versions are release numbers of four digits (2100 is release 2.1):
    // no release wrote any other.
    static constexpr int32_t kFirstVersion = 1000;
    static constexpr int32_t kLastVersion = 9999;
    static constexpr int16_t kSectionCount = 5;
    enum Section : int16_t { kIdPoolSection = 1, kDisplaySection, kInsertSizesSection, kOverscriptSection, kSlideSection };
    // The style of the paragraph a new document starts with (plain equation).
    static constexpr int kNewParagraphStyle = StyleKind::kEquation;
    static const ExportCommand kExportCommands[5];

    CCorvellDoc();
    ~CCorvellDoc() override;

    ParagraphList* GetParagraphList() const { return m_paragraphs.get(); }
    SlideList* GetSlideList() const { return m_slides.get(); }
    IdPool& GetIdPool() { return *m_idPool; }
    DisplayRecord& GetDisplayRecord() { return *m_display; }
    InsertSizesRecord& GetInsertSizes() { return *m_insertSizes; }
    DocCharRecord& GetOverscriptKind() { return *m_overscript; }

    // ---- framework overrides ----
    BOOL OnNewDocument() override;
    BOOL OnOpenDocument(const char* path) override;
    BOOL OnSaveDocument(const char* path) override;
    void DeleteContents() override;
    BOOL SaveModified() override;
    void SetModifiedFlag(BOOL modified = TRUE) override;
    void OnFileSave() override;
    void OnFileSaveAs() override;

    // ---- the file form, over any archive ----
    // Header, paragraph list and slides; flushEach flushes after the header
    // and after every paragraph (the small-buffer save).
    void WriteContents(DocWriter& writer, bool flushEach);
    void WriteHeader(DocWriter& writer);
    // Reads into an emptied document: header, paragraphs, slides, then binds
    // the links read to their targets; then says when a later version wrote
    // the file. Whatever does not read as a whole document (a version no
    // release wrote, no paragraphs, bytes left over, too few bytes, bad data)
    // raises CFormatException before anything is said.
    void ReadContents(DocReader& reader);
    // Answers the file's version.
    int32_t ReadHeader(DocReader& reader);

    // ---- ids ----
    // The object's id when it has one (the counter is raised to it), else a
    // new id from the pool, stored in the object.
    template <class T>
    int32_t AllocId(T& object)
    {
        object.SetId(AllocIdFor(object.GetId()));
        return object.GetId();
    }
    template <class T>
    void ReleaseId(T& object)
    {
        m_idPool->Release(object.GetId());
    }
    int32_t AllocIdFor(int32_t current);

    // ---- DocumentModel ----
    int32_t GetDocId() const override { return m_docId; }
    void RegisterParagraph(ParagraphComp& paragraph) override;
    // The paragraph leaves the document: its id goes back to the pool and no
    // slide keeps it.
    void UnregisterParagraph(ParagraphComp& paragraph) override;
    // The paragraph leaves the document for an undo record: no slide keeps
    // it, and its id stays out of the pool until it returns (with that id) or
    // is destroyed.
    void DetachParagraph(ParagraphComp& paragraph) override;
    void ReturnParagraph(ParagraphComp& paragraph) override;
    bool LargerEquations() const override { return m_display->largerEquations; }
    bool NumberPrintedPages() const override { return m_display->numberPrintedPages; }
    int16_t FirstPageNumber() const override { return m_display->firstPageNumber; }

    bool GetLargerEquations() const { return m_display->largerEquations; }
    void SetLargerEquations(bool larger);

    // ---- the view ----
    // The first view of the document, and the same as the seam it implements.
    CView* GetMainView() const;
    DocumentViewSeam* GetMainViewSeam() const;
    void ShowBadExpressionMessage(const DocSelection& selection);
    // Every one of them: the first selected, each quoted.
    void ShowBadExpressionMessage(const std::vector<DocSelection>& selections);

    // The title without the modified mark (or the blank that replaced it).
    CString GetPrintName() const override;

    // ---- exports ----
    // The file name an export proposes: the title without its modified mark,
    // cut at its first dot (unless the title starts with it), plus the
    // extension; for LaTeX, blanks become underscores.
    static CString ProposedExportName(const CString& title, const char* extension, bool latex);
    CString ProposedExportName(UINT commandId) const;
    static const ExportCommand* FindExportCommand(UINT commandId);
    // Whether the export can run now: the notebook needs the kernel link ready.
    virtual bool IsExportAvailable(UINT commandId) const;
    // The File/Export command: asks for the file (proposing a name) and
    // writes the document into it.
    void OnExport(UINT commandId);
    void OnUpdateExport(CCmdUI* ui);
    // Writes the document in the export's format into the file at path (with
    // the main view as the drawing target). The file is replaced only when
    // the whole export is written; a failure is shown to the user, nothing
    // is left under the chosen name, and the answer is false.
    bool ExportTo(UINT commandId, const CString& path);

    // What the export commands ask instead of showing the save dialog (for
    // tests); an empty answer cancels. Returns the prompt it replaces.
    using ExportPathPrompt = std::function<CString(const ExportCommand& command, const CString& proposedName)>;
    static ExportPathPrompt SetExportPathPrompt(ExportPathPrompt prompt);

protected:
    // The save dialog of an export; an empty answer when the user cancels.
    virtual CString AskExportPath(const ExportCommand& command, const CString& proposedName);
    // The block the save writes through; null when it cannot be had (the save
    // then writes through a block of the largest run between two flushes).
    virtual std::unique_ptr<char[]> AllocateSaveBuffer(int32_t size);

private:
    // Runs a save or the save-changes prompt with the title's modified mark
    // taken away, then marks the title as the document then is.
    BOOL WithPlainTitle(const std::function<BOOL()>& run);
    // The writers of the exports: false with the reason (empty when the user
    // has been told already).
    bool ExportHtml(const std::string& path, const std::string& title, std::string& message);
    bool ExportXhtml(const std::string& path, const std::string& title, std::string& message);
    bool ExportNotebook(const std::string& path, std::string& message);
    // The LaTeX and TechExplorer exports report their own failures.
    bool ExportLaTeX(const std::string& path, bool techExplorer);
    // Tells which pictures a written export left out (nothing when none).
    void ReportLeftOut(const std::string& path, const std::string& notice);
    static std::string FileNameOf(const std::string& path);
    void SaveTo(const char* path);
    void FailOpen(const char* path, CFile* file, const CException& e);
    void ResetRecords();
    // Registers the paragraphs read, giving a fresh id to any whose id is 0
    // or already taken.
    void RegisterParagraphsRead();
    // Reads one header section body, bounded by its stated length.
    void ReadSection(DocReader& reader, int16_t id, int32_t length);

    int32_t m_docId;
    // Shared so that paragraphs held by undo records can hand back the ids
    // kept for them, as long as this pool exists.
    std::shared_ptr<IdPool> m_idPool;
    std::unique_ptr<DisplayRecord> m_display;
    std::unique_ptr<InsertSizesRecord> m_insertSizes;
    std::unique_ptr<DocCharRecord> m_overscript;
    std::unique_ptr<ParagraphList> m_paragraphs;
    std::unique_ptr<SlideList> m_slides;
    // The paragraphs registered with the document, by id.
    std::unordered_map<int32_t, ParagraphComp*> m_registered;
};

// The text shown when a file was written by a later version.
inline constexpr const char* kLaterVersionMessage =
    "This document was created by a later version of Quorvant. This version may not be able to read all of the "
    "document's contents.";
