#pragma once
// A document template: the runtime classes of document, frame and view, and
// the resource id of the frame's menu, accelerators and document strings. The
// string of that id holds, separated by line breaks: window title, document
// name (for "Name1", "Name2" titles of new documents), file-new name, filter
// name, filter extension (".vxm"), file-type id and file-type name.
#include <vector>

#include "platform/framework/CCmdTarget.h"
#include "platform/framework/CDocument.h"
#include "platform/framework/CMenu.h"

class CFrameWnd;

class CDocTemplate : public CCmdTarget {
    DECLARE_DYNAMIC(CDocTemplate)
public:
    enum DocStringIndex { windowTitle, docName, fileNewName, filterName, filterExt, regFileTypeId, regFileTypeName };

    CDocTemplate(UINT resourceId, const CRuntimeClass* docClass, const CRuntimeClass* frameClass,
                 const CRuntimeClass* viewClass);
    ~CDocTemplate() override;

    UINT GetResourceId() const { return m_nIDResource; }
    BOOL GetDocString(CString& text, DocStringIndex index) const;

    POSITION GetFirstDocPosition() const;
    CDocument* GetNextDoc(POSITION& position) const;
    int GetDocumentCount() const { return int(m_docs.size()); }
    void AddDocument(CDocument* doc);
    void RemoveDocument(CDocument* doc);

    // The framework's order: the document, then its frame and view, then new
    // or open (a failure destroys the frame), then the views' initial update.
    virtual CDocument* OpenDocumentFile(const char* path, BOOL makeVisible = TRUE);
    virtual CDocument* CreateNewDocument();
    virtual CFrameWnd* CreateNewFrame(CDocument* doc, CFrameWnd* other);
    virtual void InitialUpdateFrame(CFrameWnd* frame, CDocument* doc, BOOL makeVisible = TRUE);
    virtual void SetDefaultTitle(CDocument* doc);
    BOOL SaveAllModified();
    void CloseAllDocuments(BOOL endSession);
    // The open document with this path, or null.
    CDocument* FindDocument(const char* path) const;

    // The menu shown while one of this template's documents is active.
    CMenu& SharedMenu() { return m_menuShared; }

protected:
    UINT m_nIDResource;
    const CRuntimeClass* m_pDocClass;
    const CRuntimeClass* m_pFrameClass;
    const CRuntimeClass* m_pViewClass;
    std::vector<CDocument*> m_docs;
    CMenu m_menuShared;
    int m_nUntitledCount = 0;
};

class CMultiDocTemplate : public CDocTemplate {
    DECLARE_DYNAMIC(CMultiDocTemplate)
public:
    using CDocTemplate::CDocTemplate;
};
