#include "platform/framework/CDocTemplate.h"

#include <QFileInfo>
#include <algorithm>

#include "platform/framework/CFrameWnd.h"
#include "platform/framework/CView.h"
#include "platform/framework/CWinApp.h"

IMPLEMENT_DYNAMIC(CDocTemplate, CCmdTarget)
IMPLEMENT_DYNAMIC(CMultiDocTemplate, CDocTemplate)

CDocTemplate::CDocTemplate(UINT resourceId, const CRuntimeClass* docClass, const CRuntimeClass* frameClass,
                           const CRuntimeClass* viewClass)
    : m_nIDResource(resourceId), m_pDocClass(docClass), m_pFrameClass(frameClass), m_pViewClass(viewClass)
{
    m_menuShared.LoadMenu(resourceId);
}

CDocTemplate::~CDocTemplate()
{
    for (CDocument* doc : std::vector<CDocument*>(m_docs)) {
        doc->m_pDocTemplate = nullptr;
        doc->m_bAutoDelete = TRUE;
        doc->OnCloseDocument();
    }
}

BOOL CDocTemplate::GetDocString(CString& text, DocStringIndex index) const
{
    text.Empty();
    CString all;
    if (!all.LoadString(m_nIDResource))
        return FALSE;
    int start = 0;
    for (int i = 0; i < int(index); ++i) {
        start = all.Find('\n', start);
        if (start < 0)
            return FALSE;
        ++start;
    }
    int end = all.Find('\n', start);
    text = end < 0 ? all.Mid(start) : all.Mid(start, end - start);
    return !text.IsEmpty();
}

POSITION CDocTemplate::GetFirstDocPosition() const
{
    return m_docs.empty() ? nullptr : reinterpret_cast<POSITION>(std::uintptr_t(1));
}

CDocument* CDocTemplate::GetNextDoc(POSITION& position) const
{
    auto index = reinterpret_cast<std::uintptr_t>(position);
    if (index == 0 || index > m_docs.size()) {
        position = nullptr;
        return nullptr;
    }
    CDocument* doc = m_docs[index - 1];
    position = index < m_docs.size() ? reinterpret_cast<POSITION>(index + 1) : nullptr;
    return doc;
}

void CDocTemplate::AddDocument(CDocument* doc)
{
    m_docs.push_back(doc);
    doc->m_pDocTemplate = this;
}

void CDocTemplate::RemoveDocument(CDocument* doc)
{
    m_docs.erase(std::remove(m_docs.begin(), m_docs.end(), doc), m_docs.end());
    doc->m_pDocTemplate = nullptr;
}

CDocument* CDocTemplate::CreateNewDocument()
{
    CObject* object = m_pDocClass ? m_pDocClass->CreateObject() : nullptr;
    auto* doc = dynamic_cast<CDocument*>(object);
    if (!doc) {
        delete object;
        return nullptr;
    }
    AddDocument(doc);
    return doc;
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* doc, CFrameWnd* other)
{
    CCreateContext context;
    context.m_pCurrentFrame = other;
    context.m_pCurrentDoc = doc;
    context.m_pNewViewClass = m_pViewClass;
    context.m_pNewDocTemplate = this;
    CObject* object = m_pFrameClass ? m_pFrameClass->CreateObject() : nullptr;
    auto* frame = dynamic_cast<CFrameWnd*>(object);
    if (!frame) {
        delete object;
        return nullptr;
    }
    CWinApp* app = AfxGetApp();
    CWnd* parent = app ? app->m_pMainWnd : nullptr;
    if (!frame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, parent, &context))
        return nullptr;  // LoadFrame destroyed (and deleted) the frame
    return frame;
}

void CDocTemplate::InitialUpdateFrame(CFrameWnd* frame, CDocument* doc, BOOL makeVisible)
{
    frame->InitialUpdateFrame(doc, makeVisible);
}

void CDocTemplate::SetDefaultTitle(CDocument* doc)
{
    CString name;
    if (!GetDocString(name, docName))
        name = "Untitled";
    CString title;
    title.Format("%s%d", name.c_str(), m_nUntitledCount + 1);
    doc->SetTitle(title);
}

CDocument* CDocTemplate::OpenDocumentFile(const char* path, BOOL makeVisible)
{
    CDocument* doc = CreateNewDocument();
    if (!doc)
        return nullptr;
    BOOL autoDelete = doc->m_bAutoDelete;
    doc->m_bAutoDelete = FALSE;  // the frame may fail before the document is complete
    CFrameWnd* frame = CreateNewFrame(doc, nullptr);
    doc->m_bAutoDelete = autoDelete;
    if (!frame) {
        delete doc;
        return nullptr;
    }
    if (!path) {
        SetDefaultTitle(doc);
        if (!doc->OnNewDocument()) {
            frame->DestroyWindow();  // takes the view and, with it, the document
            return nullptr;
        }
        ++m_nUntitledCount;
    } else {
        CWaitCursor wait;
        if (!doc->OnOpenDocument(path)) {
            frame->DestroyWindow();
            return nullptr;
        }
        doc->SetPathName(path);
    }
    InitialUpdateFrame(frame, doc, makeVisible);
    return doc;
}

BOOL CDocTemplate::SaveAllModified()
{
    for (CDocument* doc : std::vector<CDocument*>(m_docs))
        if (!doc->SaveModified())
            return FALSE;
    return TRUE;
}

void CDocTemplate::CloseAllDocuments(BOOL)
{
    for (CDocument* doc : std::vector<CDocument*>(m_docs))
        doc->OnCloseDocument();
}

CDocument* CDocTemplate::FindDocument(const char* path) const
{
    QString wanted = QFileInfo(QString::fromUtf8(path ? path : "")).absoluteFilePath();
    for (CDocument* doc : m_docs)
        if (!doc->GetPathName().IsEmpty() && PathToQString(doc->GetPathName()) == wanted)
            return doc;
    return nullptr;
}
