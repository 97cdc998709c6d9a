#include "platform/framework/CDocument.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

#include "platform/framework/CDocTemplate.h"
#include "platform/framework/CFrameWnd.h"
#include "platform/framework/CView.h"
#include "platform/framework/CWinApp.h"
#include "platform/framework/CommonDialogs.h"

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)

const char* AfxFrameworkPrompt(UINT id)
{
    switch (id) {
    case AFX_IDP_INVALID_FILENAME: return "The file name is not valid.";
    case AFX_IDP_FAILED_TO_OPEN_DOC: return "The document could not be opened.";
    case AFX_IDP_FAILED_TO_SAVE_DOC: return "The document could not be saved.";
    case AFX_IDP_ASK_TO_SAVE: return "Save changes to %1?";
    default: return "";
    }
}

CDocument::CDocument()
{
    MapCommand(ID_FILE_SAVE, [this] { OnFileSave(); });
    MapCommand(ID_FILE_SAVE_AS, [this] { OnFileSaveAs(); });
    MapCommand(ID_FILE_CLOSE, [this] {
        if (SaveModified())
            OnCloseDocument();
    });
}

CDocument::~CDocument()
{
    for (CView* view : m_views)
        view->m_pDocument = nullptr;
    if (m_pDocTemplate)
        m_pDocTemplate->RemoveDocument(this);
}

void CDocument::SetTitle(const char* title)
{
    m_strTitle = title ? title : "";
    UpdateFrameCounts();
}

void CDocument::SetPathName(const char* path, BOOL addToRecentFiles)
{
    QString absolute = QFileInfo(QString::fromUtf8(path ? path : "")).absoluteFilePath();
    m_strPathName = PathFromQString(absolute);
    SetTitle(FromQString(QFileInfo(absolute).fileName()));
    if (addToRecentFiles)
        if (CWinApp* app = AfxGetApp())
            app->AddToRecentFileList(m_strPathName);
}

POSITION CDocument::GetFirstViewPosition() const
{
    return m_views.empty() ? nullptr : reinterpret_cast<POSITION>(std::uintptr_t(1));
}

CView* CDocument::GetNextView(POSITION& position) const
{
    auto index = reinterpret_cast<std::uintptr_t>(position);
    if (index == 0 || index > m_views.size()) {
        position = nullptr;
        return nullptr;
    }
    CView* view = m_views[index - 1];
    position = index < m_views.size() ? reinterpret_cast<POSITION>(index + 1) : nullptr;
    return view;
}

void CDocument::AddView(CView* view)
{
    if (std::find(m_views.begin(), m_views.end(), view) != m_views.end())
        return;
    m_views.push_back(view);
    view->m_pDocument = this;
    OnChangedViewList();
}

void CDocument::RemoveView(CView* view)
{
    auto it = std::find(m_views.begin(), m_views.end(), view);
    if (it == m_views.end())
        return;
    m_views.erase(it);
    view->m_pDocument = nullptr;
    OnChangedViewList();
}

void CDocument::OnChangedViewList()
{
    if (m_views.empty() && m_bAutoDelete) {
        OnCloseDocument();
        return;
    }
    UpdateFrameCounts();
}

void CDocument::UpdateAllViews(CView* sender, LPARAM hint, CObject* hintObject)
{
    for (CView* view : std::vector<CView*>(m_views))
        if (view != sender)
            view->OnUpdate(sender, hint, hintObject);
}

void CDocument::UpdateFrameCounts()
{
    for (CView* view : m_views)
        if (CFrameWnd* frame = view->GetParentFrame())
            frame->OnUpdateFrameTitle(TRUE);
}

BOOL CDocument::OnNewDocument()
{
    DeleteContents();
    m_strPathName.Empty();
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnOpenDocument(const char* path)
{
    CFileException error(CFileException::none);
    CFile* file = GetFile(path, CFile::modeRead | CFile::shareDenyWrite, &error);
    if (!file) {
        ReportSaveLoadException(path, &error, FALSE, AFX_IDP_FAILED_TO_OPEN_DOC);
        return FALSE;
    }
    DeleteContents();
    ReleaseFile(file, FALSE);
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnSaveDocument(const char* path)
{
    CFileException error(CFileException::none);
    CFile* file = GetFile(path, CFile::modeCreate | CFile::modeReadWrite | CFile::shareExclusive, &error);
    if (!file) {
        ReportSaveLoadException(path, &error, TRUE, AFX_IDP_INVALID_FILENAME);
        return FALSE;
    }
    ReleaseFile(file, FALSE);
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CDocument::OnCloseDocument()
{
    // Destroying the frames destroys the views; the document must outlive that.
    BOOL autoDelete = m_bAutoDelete;
    m_bAutoDelete = FALSE;
    while (!m_views.empty()) {
        CView* view = m_views.front();
        if (CFrameWnd* frame = view->GetParentFrame())
            frame->DestroyWindow();
        else
            view->DestroyWindow();
        if (!m_views.empty() && m_views.front() == view)
            RemoveView(view);
    }
    m_bAutoDelete = autoDelete;
    DeleteContents();
    if (m_bAutoDelete)
        delete this;
}

BOOL CDocument::SaveModified()
{
    if (!IsModified())
        return TRUE;
    CString name = m_strTitle;
    if (name.IsEmpty())
        name = FromQString(QFileInfo(PathToQString(m_strPathName)).fileName());
    CString prompt = AfxFormatMessage(AfxFrameworkPrompt(AFX_IDP_ASK_TO_SAVE), name);
    switch (AfxMessageBox(prompt, MB_YESNOCANCEL | MB_ICONEXCLAMATION)) {
    case IDCANCEL:
        return FALSE;
    case IDYES:
        return DoFileSave();
    default:
        return TRUE;
    }
}

BOOL CDocument::CanCloseFrame(CFrameWnd* frame)
{
    // Only closing the document's last frame closes the document.
    int frames = 0;
    for (CView* view : m_views)
        if (view->GetParentFrame() != frame)
            ++frames;
    return frames > 0 ? TRUE : SaveModified();
}

BOOL CDocument::DoFileSave()
{
    if (m_strPathName.IsEmpty() || !QFileInfo(PathToQString(m_strPathName)).dir().exists())
        return DoSave(nullptr);
    return DoSave(m_strPathName);
}

BOOL CDocument::DoSave(const char* path, BOOL replace)
{
    CString newName = path ? CString(path) : CString();
    if (newName.IsEmpty()) {
        CString proposed = m_strPathName;
        CString filter, extension;
        if (m_pDocTemplate) {
            m_pDocTemplate->GetDocString(filter, CDocTemplate::filterName);
            m_pDocTemplate->GetDocString(extension, CDocTemplate::filterExt);
        }
        if (proposed.IsEmpty()) {
            proposed = PathFromQString(ToQString(m_strTitle).trimmed());
            if (!extension.IsEmpty() && proposed.Find('.') < 0)
                proposed += extension;
        }
        CString filterText = filter.IsEmpty() ? CString() : filter + "|*" + extension + "||";
        CFileDialog dialog(FALSE, extension.IsEmpty() ? nullptr : extension.Mid(1).c_str(), proposed,
                           OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, filterText.IsEmpty() ? nullptr : filterText.c_str());
        if (dialog.DoModal() != IDOK)
            return FALSE;
        newName = dialog.GetPathName();
    }
    CWaitCursor wait;
    if (!OnSaveDocument(newName))
        return FALSE;
    if (replace)
        SetPathName(newName);
    return TRUE;
}

CFile* CDocument::GetFile(const char* path, UINT flags, CFileException* error)
{
    auto* file = new CFile;
    CFileException::Cause cause = CFileException::none;
    if (!path || !*path || !file->Open(path, flags, &cause)) {
        delete file;
        if (error)
            *error = CFileException(path && *path ? cause : CFileException::badPath, path ? path : "");
        return nullptr;
    }
    return file;
}

void CDocument::ReleaseFile(CFile* file, BOOL abort)
{
    if (!file)
        return;
    if (abort) {
        file->Abort();
    } else {
        try {
            file->Close();
        } catch (const CFileException&) {
            delete file;
            throw;
        }
    }
    delete file;
}

void CDocument::ReportSaveLoadException(const char* path, const CException* e, BOOL saving, UINT defaultPromptId)
{
    if (dynamic_cast<const CUserException*>(e))
        return;  // the user has been told already
    CString name = FromQString(QFileInfo(QString::fromUtf8(path ? path : "")).fileName());
    CString message;
    if (auto* fileError = dynamic_cast<const CFileException*>(e);
        fileError && fileError->m_cause != CFileException::none) {
        message = CString(saving ? "The document could not be saved" : "The document could not be opened");
        if (!name.IsEmpty())
            message += CString(" (") + name + ")";
        message += CString(". ") + CString(fileError->Reason()) + ".";
    } else if (dynamic_cast<const CFormatException*>(e) && saving) {
        // The document holds something its file form cannot carry; the file
        // on disk is left as it was.
        message = CString("The document could not be saved");
        if (!name.IsEmpty())
            message += CString(" (") + name + ")";
        message += CString(". ") + CString(e->what()) + ".";
    } else if (dynamic_cast<const CFormatException*>(e)) {
        message = CString("The file ") + name + " is damaged or is not a document of this program.";
    } else if (dynamic_cast<const CMemoryException*>(e)) {
        message = "There is not enough memory to complete this operation.";
    } else {
        message = AfxFrameworkPrompt(defaultPromptId ? defaultPromptId
                                                     : (saving ? AFX_IDP_FAILED_TO_SAVE_DOC : AFX_IDP_FAILED_TO_OPEN_DOC));
    }
    AfxMessageBox(message, MB_OK | MB_ICONEXCLAMATION);
}
