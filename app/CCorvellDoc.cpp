#include "app/CCorvellDoc.h"

#include "app/DocumentViewSeam.h"
#include "app/SlideList.h"
#include "export/HtmlExport.h"
#include "export/LaTeXExport.h"
#include "export/StringByteStream.h"
#include "export/XhtmlExport.h"
#include "foundation/CountingStream.h"
#include "foundation/DocReader.h"
#include "foundation/DocSelection.h"
#include "foundation/DocWriter.h"
#include "foundation/DrawContext.h"
#include "foundation/DrawTargetScope.h"
#include "foundation/FileReadStream.h"
#include "foundation/FileWriteStream.h"
#include "foundation/LinkTarget.h"
#include "foundation/MemoryStream.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"
#include "foundation/TextComp.h"
#include "foundation/TextOutBuffer.h"
#include "kernel/KernelLink.h"
#include "platform/AtomicFileWriter.h"
#include "platform/UserInterface.h"
#include "platform/framework/CView.h"
#include "platform/framework/CommonDialogs.h"
#include "platform/framework/CWinApp.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <limits>
#include <new>
#include <utility>
#include <vector>

#include <QString>

#include <unistd.h>

IMPLEMENT_DYNCREATE(CCorvellDoc, CDocument)

const ExportCommand CCorvellDoc::kExportCommands[5] = {
    {ID_EXPORT_LATEX, ".tex", "tex", "TeX files (*.tex) |*.tex||", false},
    {ID_EXPORT_TECHEXPLORER, ".tcx", "tcx", "TechExplorer files (*.tcx) |*.tcx||", false},
    {ID_EXPORT_NOTEBOOK, ".nb", "nb", "Notebook files (*.nb) |*.nb||", true},
    {ID_EXPORT_MATHML, ".xml", "xml", "XML files (*.xml) |*.xml||", true},
    {ID_EXPORT_HTML, ".htm", "htm", "HTML files (*.htm) |*.htm||", false},
};

namespace {

// Documents are told apart by small numbers handed out in order.
int32_t NextDocId()
{
    static int32_t next = 0;
    return ++next;
}

void BindLink(TargetLink* link, LinkTarget* target)
{
    link->SetTarget(target);
}

// A section id, its 32-bit length, then its body.
void WriteSectionHead(DocWriter& writer, int16_t id, int32_t length)
{
    writer.WriteShort(id);
    writer.WriteLong(length);
}

} // namespace

CCorvellDoc::CCorvellDoc() : m_docId(NextDocId())
{
    ResetRecords();
    m_paragraphs = std::make_unique<ParagraphList>(this);
    m_slides = std::make_unique<SlideList>(m_paragraphs.get());
    MapCommandRange(ID_EXPORT_LATEX, ID_EXPORT_TECHEXPLORER, &CCorvellDoc::OnExport);
    MapUpdateRange(ID_EXPORT_LATEX, ID_EXPORT_TECHEXPLORER, &CCorvellDoc::OnUpdateExport);
}

CCorvellDoc::~CCorvellDoc()
{
    // The paragraphs leave the document while the pool and the slides still exist.
    m_slides->Clear();
    m_paragraphs.reset();
}

void CCorvellDoc::ResetRecords()
{
    m_idPool = std::make_shared<IdPool>();
    m_display = std::make_unique<DisplayRecord>();
    m_insertSizes = std::make_unique<InsertSizesRecord>();
    m_overscript = std::make_unique<DocCharRecord>();
}

// ---- framework overrides ----

BOOL CCorvellDoc::OnNewDocument()
{
    if (!CDocument::OnNewDocument())
        return FALSE;
    m_paragraphs->Append(new ParagraphComp(kNewParagraphStyle));
    if (DocumentViewSeam* view = GetMainViewSeam()) {
        view->SetParagraphList(m_paragraphs.get());
        view->SetSlideList(m_slides.get());
    }
    return TRUE;
}

void CCorvellDoc::DeleteContents()
{
    // Slides point into the paragraph list, so they go with it.
    m_slides->Clear();
    m_paragraphs->DeleteAll();
    m_registered.clear();
    ResetRecords();
}

BOOL CCorvellDoc::OnOpenDocument(const char* path)
{
    CFileException error(CFileException::none);
    CFile* file = GetFile(path, CFile::modeRead | CFile::shareDenyWrite, &error);
    if (!file) {
        // A folder, a named pipe or a device is no document, whatever its
        // name says: the user is told what has the name.
        const std::string kind = path ? CFile::NonFileKind(path) : std::string();
        if (!kind.empty())
            error = CFileException::Explained(CFileException::accessDenied, path,
                                              "That name belongs to " + kind + ", not to a document");
        ReportSaveLoadException(path, &error, FALSE, AFX_IDP_FAILED_TO_OPEN_DOC);
        return FALSE;
    }
    DeleteContents();
    SetModifiedFlag(TRUE);
    try {
        CWaitCursor wait;
        uint64_t length = file->GetLength();
        if (length > uint64_t(std::numeric_limits<int32_t>::max()))
            throw CFormatException("The file is larger than a document can be");
        if (length > 0) {
            FileReadStream stream(file);
            DocReader reader(&stream);
            ReadContents(reader);
        } else {
            // An empty file opens as a new document does, with a paragraph
            // for the caret.
            m_paragraphs->Append(new ParagraphComp(kNewParagraphStyle));
        }
        CFile* done = file;
        file = nullptr;
        ReleaseFile(done, FALSE);
    } catch (const CException& e) {
        FailOpen(path, file, e);
        return FALSE;
    } catch (const std::bad_alloc&) {
        FailOpen(path, file, CMemoryException());
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    if (DocumentViewSeam* view = GetMainViewSeam()) {
        view->ApplyFramePlacement(*m_display);
        view->SetParagraphList(m_paragraphs.get());
        view->SetSlideList(m_slides.get());
    }
    return TRUE;
}

// A failed open leaves an empty, unmodified document and says why.
void CCorvellDoc::FailOpen(const char* path, CFile* file, const CException& e)
{
    ReleaseFile(file, TRUE);
    DeleteContents();
    SetModifiedFlag(FALSE);
    ReportSaveLoadException(path, &e, FALSE, AFX_IDP_FAILED_TO_OPEN_DOC);
}

std::unique_ptr<char[]> CCorvellDoc::AllocateSaveBuffer(int32_t size)
{
    return std::unique_ptr<char[]>(new (std::nothrow) char[static_cast<size_t>(size > 0 ? size : 1)]);
}

void CCorvellDoc::SaveTo(const char* path)
{
    // Pass 1 measures the file and the longest run between two flushes.
    CountingStream counter;
    {
        DocWriter measure(&counter);
        WriteContents(measure, true);
    }
    int32_t size = counter.GetLength();

    // The new content goes into a temporary file that replaces the old one
    // only when all of it is written and synced.
    AtomicFileWriter file(path);
    file.File().SetLength(static_cast<uint64_t>(size));
    int32_t blockSize = size;
    bool smallBuffer = false;
    std::unique_ptr<char[]> block = AllocateSaveBuffer(blockSize);
    if (!block) {
        blockSize = counter.GetLargestRun() + 1;
        smallBuffer = true;
        block = AllocateSaveBuffer(blockSize);
        if (!block)
            throw CMemoryException();
    }
    {
        FileWriteStream stream(&file.File(), block.get(), blockSize);
        DocWriter writer(&stream);
        WriteContents(writer, smallBuffer);
        stream.Flush();
    }
    if (file.File().GetLength() != static_cast<uint64_t>(size))
        throw CFileException(CFileException::genericException, path, "the file written differs in size from the document");
    file.Commit();
}

BOOL CCorvellDoc::OnSaveDocument(const char* path)
{
    try {
        CWaitCursor wait;
        SaveTo(path);
    } catch (const CException& e) {
        ReportSaveLoadException(path, &e, TRUE, AFX_IDP_FAILED_TO_SAVE_DOC);
        return FALSE;
    } catch (const std::bad_alloc&) {
        CMemoryException memory;
        ReportSaveLoadException(path, &memory, TRUE, AFX_IDP_FAILED_TO_SAVE_DOC);
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    return TRUE;
}

// The framework's save, its save-as dialog and its save-changes prompt see
// the title without the mark or the blank it leaves ("Save changes to
// a.vxm?"); whatever they end in, the title says again whether the
// document is modified: a cancelled save leaves the mark.
BOOL CCorvellDoc::WithPlainTitle(const std::function<BOOL()>& run)
{
    const CString marked = m_strTitle;
    CString plain = marked;
    while (!plain.IsEmpty() && (plain[plain.GetLength() - 1] == '*' || plain[plain.GetLength() - 1] == ' '))
        plain = plain.Left(plain.GetLength() - 1);
    m_strTitle = plain;
    const BOOL result = run();
    // A save under another name has given the document that name.
    if (m_strTitle == plain)
        m_strTitle = marked;
    SetModifiedFlag(IsModified());
    UpdateFrameCounts();
    return result;
}

BOOL CCorvellDoc::SaveModified()
{
    return WithPlainTitle([this] { return CDocument::SaveModified(); });
}

void CCorvellDoc::OnFileSave()
{
    WithPlainTitle([this] {
        CDocument::OnFileSave();
        return TRUE;
    });
}

void CCorvellDoc::OnFileSaveAs()
{
    WithPlainTitle([this] {
        CDocument::OnFileSaveAs();
        return TRUE;
    });
}

void CCorvellDoc::SetModifiedFlag(BOOL modified)
{
    CDocument::SetModifiedFlag(modified);
    if (m_strTitle.IsEmpty())
        return;
    int last = m_strTitle.GetLength() - 1;
    char mark = m_strTitle[last];
    if (!modified) {
        if (mark == '*')
            m_strTitle.SetAt(last, ' ');
        return;
    }
    if (mark == '*')
        return;
    // The blank left by clearing the mark takes it back, so the title does
    // not grow by a blank on every save.
    if (mark == ' ')
        m_strTitle.SetAt(last, '*');
    else
        m_strTitle += '*';
    UpdateFrameCounts();
}

// ---- the file form ----

void CCorvellDoc::WriteHeader(DocWriter& writer)
{
    writer.WriteLong(kVersion);
    writer.WriteShort(kSectionCount);
    WriteSectionHead(writer, kIdPoolSection, m_idPool->GetStoredSize());
    m_idPool->Write(writer);
    if (DocumentViewSeam* view = GetMainViewSeam())
        view->StoreFramePlacement(*m_display);
    WriteSectionHead(writer, kDisplaySection, DisplayRecord::kSectionLength);
    m_display->Write(writer);
    WriteSectionHead(writer, kInsertSizesSection, InsertSizesRecord::kSectionLength);
    m_insertSizes->Write(writer);
    WriteSectionHead(writer, kOverscriptSection, DocCharRecord::kSectionLength);
    m_overscript->Write(writer);
    WriteSectionHead(writer, kSlideSection, 2);
    writer.WriteShort(m_slides->GetCount());
}

void CCorvellDoc::WriteContents(DocWriter& writer, bool flushEach)
{
    WriteHeader(writer);
    if (flushEach)
        writer.Flush();
    m_paragraphs->Write(writer, flushEach);
    m_slides->Write(writer);
    writer.Flush();
}

// The header has no mark of its own, so a file is taken for a document only
// when all of it reads as one: nothing is said about a file (not even that
// a later version wrote it) until it has.
void CCorvellDoc::ReadContents(DocReader& reader)
{
    int32_t version = 0;
    try {
        version = ReadHeader(reader);
        m_paragraphs->ReadCounted(reader);
        if (m_paragraphs->GetCount() == 0)
            throw CFormatException("The file holds no paragraphs");
        RegisterParagraphsRead();
        m_slides->Read(reader);
        if (reader.BytesLeft() > 0)
            throw CFormatException("The file goes on after the document ends");
    } catch (const CFileException& e) {
        if (e.m_cause != CFileException::endOfFile)
            throw;
        throw CFormatException("The file ends before the document does");
    }
    reader.ResolveLinks(BindLink);
    if (version > kVersion)
        AfxMessageBox(kLaterVersionMessage, MB_OK | MB_ICONEXCLAMATION);
}

int32_t CCorvellDoc::ReadHeader(DocReader& reader)
{
    const int32_t version = reader.ReadLong();
    if (version < kFirstVersion || version > kLastVersion)
        throw CFormatException("The file's version is one no release wrote");
    int16_t sections = reader.ReadShort();
    // Each section takes at least its id and length.
    if (sections < 0 || sections > reader.BytesLeft() / 6)
        throw CFormatException("The header's count of sections does not fit the file");
    for (int16_t n = 0; n < sections; ++n) {
        int16_t id = reader.ReadShort();
        int32_t length = reader.ReadLong();
        if (length < 0 || length > reader.BytesLeft())
            throw CFormatException("A header section is longer than the file");
        ReadSection(reader, id, length);
    }
    return version;
}

// A section's body is read from a copy of exactly its stated length, so the
// reader goes on at the section's end whatever the section holds: a later
// version's longer section is read as far as its fields are known, and a
// section too short for its fields is a format error.
void CCorvellDoc::ReadSection(DocReader& reader, int16_t id, int32_t length)
{
    if (id < kIdPoolSection || id > kSlideSection) {
        reader.Skip(length);
        return;
    }
    std::vector<uint8_t> body(static_cast<size_t>(length));
    reader.ReadBytes(body.data(), length);
    MemoryStream stream(body.data(), length);
    DocReader section(&stream);
    try {
        switch (id) {
        case kIdPoolSection:
            m_idPool->Read(section);
            // New ids count up from the counter and must be positive.
            if (m_idPool->GetCounter() < 0)
                throw CFormatException("The document's id counter is negative");
            break;
        case kDisplaySection:
            m_display->Read(section);
            break;
        case kInsertSizesSection:
            m_insertSizes->Read(section);
            break;
        case kOverscriptSection:
            m_overscript->Read(section);
            break;
        default:
            m_slides->SetCount(section.ReadShort());
            break;
        }
    } catch (const CFileException& e) {
        if (e.m_cause != CFileException::endOfFile)
            throw;
        throw CFormatException("Header section " + std::to_string(id) + " is shorter than its fields");
    }
}

// ---- ids ----

int32_t CCorvellDoc::AllocIdFor(int32_t current)
{
    if (current != 0) {
        m_idPool->Reserve(current);
        return current;
    }
    if (m_idPool->GetFreeCount() == 0 && m_idPool->GetCounter() == INT32_MAX)
        throw CException("The document has no ids left");
    return m_idPool->Allocate();
}

void CCorvellDoc::RegisterParagraph(ParagraphComp& paragraph)
{
    int32_t id = paragraph.GetId();
    auto it = m_registered.find(id);
    if (id <= 0 || (it != m_registered.end() && it->second != &paragraph)) {
        // A fresh id that no registered paragraph carries.
        do
            id = AllocIdFor(0);
        while (m_registered.count(id) != 0);
    } else {
        AllocIdFor(id);
    }
    paragraph.SetId(id);
    m_registered[id] = &paragraph;
}

void CCorvellDoc::UnregisterParagraph(ParagraphComp& paragraph)
{
    auto it = m_registered.find(paragraph.GetId());
    if (it != m_registered.end() && it->second == &paragraph) {
        m_registered.erase(it);
        m_idPool->Release(paragraph.GetId());
    }
    m_slides->Forget(&paragraph);
    paragraph.SetId(0);
}

void CCorvellDoc::DetachParagraph(ParagraphComp& paragraph)
{
    auto it = m_registered.find(paragraph.GetId());
    if (it != m_registered.end() && it->second == &paragraph) {
        m_registered.erase(it);
        paragraph.ReserveId(paragraph.GetId(), m_idPool);
    }
    m_slides->Forget(&paragraph);
    paragraph.SetId(0);
}

void CCorvellDoc::ReturnParagraph(ParagraphComp& paragraph)
{
    int32_t kept = paragraph.TakeReservedId(m_idPool.get());
    if (kept != 0 && m_registered.count(kept) == 0) {
        paragraph.SetId(kept);
        m_registered[kept] = &paragraph;
        return;
    }
    // A kept id that another paragraph has taken meanwhile stays in use.
    RegisterParagraph(paragraph);
}

void CCorvellDoc::RegisterParagraphsRead()
{
    try {
        for (int i = 1; i <= m_paragraphs->GetCount(); ++i)
            RegisterParagraph(*m_paragraphs->GetAt(i));
    } catch (const CFormatException&) {
        throw;
    } catch (const CException& e) {
        // Ids used up by the file's own numbers: the file is at fault.
        throw CFormatException(e.what());
    }
}

void CCorvellDoc::SetLargerEquations(bool larger)
{
    m_display->largerEquations = larger;
    SetModifiedFlag(TRUE);
}

// ---- the view ----

CView* CCorvellDoc::GetMainView() const
{
    POSITION position = GetFirstViewPosition();
    return position ? GetNextView(position) : nullptr;
}

DocumentViewSeam* CCorvellDoc::GetMainViewSeam() const
{
    return dynamic_cast<DocumentViewSeam*>(GetMainView());
}

namespace {

// The linear text of a selection in one row, on one line and cut short when
// long; empty for any other selection.
std::string ExpressionText(const DocSelection& selection)
{
    constexpr std::size_t kLongest = 60;
    CompList* row = selection.First().GetList();
    if (selection.GetKind() != DocPosition::kListPlace || !row || row != selection.Second().GetList())
        return {};
    StringByteStream sink;
    {
        TextOutBuffer out(&sink, TextOutBuffer::kUtf8);
        for (int i = std::max(selection.First().GetIndex(), 1); i < selection.Second().GetIndex(); ++i)
            if (TextComp* comp = row->GetAt(i))
                comp->WriteText(out);
        out.Flush();
    }
    QString text = QString::fromStdString(sink.Text()).simplified();
    if (text.size() > qsizetype(kLongest))
        text = text.left(qsizetype(kLongest)) + QChar(0x2026);
    return text.toStdString();
}

std::vector<DocSelection> SelectionsOf(const std::vector<BadFormula>& formulas)
{
    std::vector<DocSelection> selections;
    for (const BadFormula& formula : formulas)
        selections.emplace_back(formula.row, formula.first, formula.end);
    return selections;
}

// The message for badly formed expressions: each quoted (as many as a
// message can show) in the characters the screen shows.
std::string BadExpressionMessage(const std::vector<DocSelection>& selections)
{
    constexpr std::size_t kMostQuoted = 20;
    if (selections.size() == 1) {
        std::string message = "This document contains a badly formed mathematical expression. Please correct this "
                              "expression and try again.";
        const std::string shown = ExpressionText(selections.front());
        if (!shown.empty())
            message += "\n\nThe expression is selected: " + shown;
        return message;
    }
    std::string message = "This document contains " + std::to_string(selections.size()) +
        " badly formed mathematical expressions. Please correct them and try again.\n\nThe first is selected:";
    for (std::size_t i = 0; i < selections.size() && i < kMostQuoted; ++i) {
        const std::string shown = ExpressionText(selections[i]);
        message += "\n" + (shown.empty() ? std::string("(an expression that shows no text)") : shown);
    }
    if (selections.size() > kMostQuoted)
        message += "\nand " + std::to_string(selections.size() - kMostQuoted) + " more.";
    return message;
}

} // namespace

void CCorvellDoc::ShowBadExpressionMessage(const DocSelection& selection)
{
    ShowBadExpressionMessage(std::vector<DocSelection>{selection});
}

// The first expression is selected and shown first, so that it stands
// beside the message, which quotes every one.
void CCorvellDoc::ShowBadExpressionMessage(const std::vector<DocSelection>& selections)
{
    if (selections.empty())
        return;
    if (DocumentViewSeam* view = GetMainViewSeam()) {
        view->SetSelection(selections.front(), true);
        view->ScrollToShow(selections.front());
    }
    AfxMessageBoxUnicode(QString::fromStdString(BadExpressionMessage(selections)), MB_OK | MB_ICONEXCLAMATION);
}

CString CCorvellDoc::GetPrintName() const
{
    std::string name = m_strTitle.str();
    if (!name.empty() && (name.back() == '*' || name.back() == ' '))
        name.pop_back();
    return CString(name);
}

// ---- exports ----

CString CCorvellDoc::ProposedExportName(const CString& title, const char* extension, bool latex)
{
    std::string name = title.str();
    if (!name.empty() && name.back() == '*')
        name.pop_back();
    while (!name.empty() && name.back() == ' ')
        name.pop_back();
    size_t dot = name.find('.');
    if (dot != std::string::npos && dot > 0)
        name.resize(dot);
    name += extension ? extension : "";
    if (latex)
        for (char& c : name)
            if (c == ' ')
                c = '_';
    return CString(name);
}

CString CCorvellDoc::ProposedExportName(UINT commandId) const
{
    const ExportCommand* command = FindExportCommand(commandId);
    return command ? ProposedExportName(m_strTitle, command->proposedExtension, commandId == ID_EXPORT_LATEX) : CString();
}

const ExportCommand* CCorvellDoc::FindExportCommand(UINT commandId)
{
    for (const ExportCommand& command : kExportCommands)
        if (command.id == commandId)
            return &command;
    return nullptr;
}

bool CCorvellDoc::IsExportAvailable(UINT commandId) const
{
    if (commandId == ID_EXPORT_NOTEBOOK) {
        // The notebook's mathematics is the kernel's box text.
        const KernelLink* link = KernelLink::Get();
        return link && link->IsReady();
    }
    return FindExportCommand(commandId) != nullptr;
}

void CCorvellDoc::OnUpdateExport(CCmdUI* ui)
{
    ui->Enable(IsExportAvailable(ui->m_nID));
}

void CCorvellDoc::OnExport(UINT commandId)
{
    const ExportCommand* command = FindExportCommand(commandId);
    if (!command || !IsExportAvailable(commandId))
        return;
    CString path = AskExportPath(*command, ProposedExportName(commandId));
    if (!path.IsEmpty())
        ExportTo(commandId, path);
}

namespace {
CCorvellDoc::ExportPathPrompt& ExportPrompt()
{
    static CCorvellDoc::ExportPathPrompt prompt;
    return prompt;
}
} // namespace

CCorvellDoc::ExportPathPrompt CCorvellDoc::SetExportPathPrompt(ExportPathPrompt prompt)
{
    return std::exchange(ExportPrompt(), std::move(prompt));
}

CString CCorvellDoc::AskExportPath(const ExportCommand& command, const CString& proposedName)
{
    if (ExportPrompt())
        return ExportPrompt()(command, proposedName);
    CFileDialog dialog(FALSE, command.defaultExtension, proposedName.c_str(),
                       OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_EXPLORER, command.filter, AfxGetMainWnd());
    std::string folder = ExportFolderOf(GetPathName().str());
    if (!folder.empty())
        dialog.m_ofn.lpstrInitialDir = folder.c_str();
    return dialog.DoModal() == IDOK ? dialog.GetPathName() : CString();
}

bool CCorvellDoc::ExportTo(UINT commandId, const CString& path)
{
    if (!IsExportAvailable(commandId) || path.IsEmpty())
        return false;
    CWaitCursor wait;
    DrawTargetScope draw(dynamic_cast<DrawTarget*>(GetMainView()));
    const std::string target = path.str();
    const std::string title = ProposedExportName(m_strTitle, "", false).str();
    std::string message;
    bool written = false;
    switch (commandId) {
    case ID_EXPORT_HTML: written = ExportHtml(target, title, message); break;
    case ID_EXPORT_MATHML: written = ExportXhtml(target, title, message); break;
    case ID_EXPORT_NOTEBOOK: written = ExportNotebook(target, message); break;
    default: return ExportLaTeX(target, commandId == ID_EXPORT_TECHEXPLORER);
    }
    if (written || message.empty())
        return written;
    std::string text = "The document could not be exported to \"" + FileNameOf(target) + "\". " + message;
    if (text.back() != '.')
        text += '.';
    text += " Nothing was written.";
    UserInterface::Current().MessageBox(text, "Quorvant", MB_OK | MB_ICONEXCLAMATION);
    return false;
}

std::string CCorvellDoc::FileNameOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The source and its pictures are complete or not written at all. Pictures
// left out of a written export are reported.
bool CCorvellDoc::ExportLaTeX(const std::string& path, bool techExplorer)
{
    const ExportOutcome outcome = ExportLaTeXFile(*m_paragraphs, path, techExplorer);
    if (outcome.written) {
        ReportLeftOut(path, outcome.message);
        return true;
    }
    std::string text = "The document could not be exported to \"" + FileNameOf(path) + "\". " + outcome.message;
    if (text.back() != '.')
        text += '.';
    text += " Nothing was written.";
    UserInterface::Current().MessageBox(text, "Quorvant", MB_OK | MB_ICONEXCLAMATION);
    return false;
}

void CCorvellDoc::ReportLeftOut(const std::string& path, const std::string& notice)
{
    if (notice.empty())
        return;
    UserInterface::Current().MessageBox("The document was exported to \"" + FileNameOf(path) + "\". " + notice,
                                        "Quorvant", MB_OK | MB_ICONINFORMATION);
}

// Mathematics is sent to the kernel for its box text. A formula that does not
// read as an expression stops the export before anything is written and is
// shown selected. The export is one calculation: Esc, Quit Kernel and closing
// stop the whole of it, and nothing is written.
bool CCorvellDoc::ExportNotebook(const std::string& path, std::string& message)
{
    KernelLink* link = KernelLink::Get();
    if (!link || !link->IsReady()) {
        message = "The kernel is not running";
        return false;
    }
    KernelLink::WaitScope waiting(link);
    std::vector<BadFormula> failures;
    const ExportOutcome outcome = ExportNotebookFile(
        *m_paragraphs, path, [link](const ExprNode* node) { return link->ToStandardFormText(node); }, &failures,
        [link] { return link->StopRequested(); });
    if (link->StopRequested()) {
        message.clear();
        return false;
    }
    if (!failures.empty()) {
        ShowBadExpressionMessage(SelectionsOf(failures));
        message.clear();
        return false;
    }
    message = outcome.message;
    return outcome.written;
}

bool CCorvellDoc::ExportHtml(const std::string& path, const std::string& title, std::string& message)
{
    HtmlExportSettings settings;
    settings.path = path;
    settings.title = title;
    // The equation takes the page's text width and its number the rest.
    const int pageWidth = gDrawContext.GetPageWidth();
    settings.firstCellWidth = std::max(0, pageWidth - 2 * gDrawContext.GetLeftMargin());
    settings.secondCellWidth = std::max(0, pageWidth - settings.firstCellWidth);
    HtmlExportResult result = WriteHtmlExport(*m_paragraphs, settings);
    message = result.message;
    if (result.ok)
        ReportLeftOut(path, result.notice);
    return result.ok;
}

// The page and its pictures take their names only when complete; a failed
// export leaves every file as it was. A formula that does not read as an
// expression stops the export before anything is written and is shown
// selected.
bool CCorvellDoc::ExportXhtml(const std::string& path, const std::string& title, std::string& message)
{
    XhtmlExportResult result = WriteXhtmlExport(*m_paragraphs, path, title);
    if (result.ok) {
        ReportLeftOut(path, result.notice);
        return true;
    }
    if (!result.badFormulas.empty()) {
        ShowBadExpressionMessage(SelectionsOf(result.badFormulas));
        message.clear();
        return false;
    }
    message = result.message.empty() ? std::string("The page could not be written") : result.message;
    return false;
}
