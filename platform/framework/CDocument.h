#pragma once
// A document: title, path (UTF-8, as the file system spells it), modified
// flag, its views, and the framework's new / open / save / close sequence
// with the save-changes prompt and the save/load error reports, all shown
// through the user-interface seam.
#include <vector>

#include "platform/CFile.h"
#include "platform/Exceptions.h"
#include "platform/framework/CCmdTarget.h"
#include "platform/framework/CString.h"

class CDocTemplate;
class CFrameWnd;
class CView;

// A place in a list of the layer (views, documents, templates); null at the end.
using POSITION = struct PositionTag*;

// The framework's prompts (string ids of its save/load reports).
enum : UINT { AFX_IDP_INVALID_FILENAME = 0xF100, AFX_IDP_FAILED_TO_OPEN_DOC = 0xF101,
              AFX_IDP_FAILED_TO_SAVE_DOC = 0xF102, AFX_IDP_ASK_TO_SAVE = 0xF103 };

class CDocument : public CCmdTarget {
    DECLARE_DYNAMIC(CDocument)
public:
    CDocument();
    ~CDocument() override;

    const CString& GetTitle() const { return m_strTitle; }
    virtual void SetTitle(const char* title);
    // The name a printed copy carries (the print job's and a PDF's title, and
    // the file the print dialog proposes): the title, unless the document
    // keeps marks in its title that are no part of its name.
    virtual CString GetPrintName() const { return m_strTitle; }
    const CString& GetPathName() const { return m_strPathName; }
    virtual void SetPathName(const char* path, BOOL addToRecentFiles = TRUE);
    CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }

    virtual BOOL IsModified() { return m_bModified; }
    virtual void SetModifiedFlag(BOOL modified = TRUE) { m_bModified = modified != FALSE; }

    POSITION GetFirstViewPosition() const;
    CView* GetNextView(POSITION& position) const;
    void AddView(CView* view);
    void RemoveView(CView* view);
    void UpdateAllViews(CView* sender, LPARAM hint = 0, CObject* hintObject = nullptr);
    // Refreshes the titles of the document's frames.
    void UpdateFrameCounts();

    virtual BOOL OnNewDocument();
    virtual BOOL OnOpenDocument(const char* path);
    virtual BOOL OnSaveDocument(const char* path);
    virtual void OnCloseDocument();
    virtual void DeleteContents() {}

    // Asks "Save changes to <title>?" when modified: Yes saves (false when
    // that fails), No goes on, Cancel answers false.
    virtual BOOL SaveModified();
    virtual BOOL CanCloseFrame(CFrameWnd* frame);
    virtual void OnFileSave() { DoFileSave(); }
    virtual void OnFileSaveAs() { DoSave(nullptr); }
    // Saves under path, or asks for a name first (path null); a successful
    // save under a new name makes it the document's path.
    virtual BOOL DoSave(const char* path, BOOL replace = TRUE);
    virtual BOOL DoFileSave();

    // Opens a file for the document; null (and the cause in error) on failure.
    virtual CFile* GetFile(const char* path, UINT flags, CFileException* error);
    virtual void ReleaseFile(CFile* file, BOOL abort);
    // Reports a failed save or load: the file's trouble when the exception
    // says, else the prompt of defaultPromptId.
    virtual void ReportSaveLoadException(const char* path, const CException* e, BOOL saving, UINT defaultPromptId);

    BOOL m_bAutoDelete = TRUE;
    CDocTemplate* m_pDocTemplate = nullptr;

protected:
    virtual void OnChangedViewList();

    CString m_strTitle;
    CString m_strPathName;
    bool m_bModified = false;
    std::vector<CView*> m_views;
};

// The framework's prompt texts by id (the ones above).
const char* AfxFrameworkPrompt(UINT id);
