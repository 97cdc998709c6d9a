#pragma once
// The controls of dialog templates, as windows addressed by control id:
// buttons (push, check, radio), edits, static texts and pictures, combo
// boxes, list boxes (owner-drawn ones draw each item through DrawItem) and a
// list box whose items can be dragged into a new order.
#include <QImage>

#include "platform/framework/CWnd.h"

class QComboBox;
class QLineEdit;
class QListWidget;
class QAbstractButton;

using DWORD_PTR = std::uintptr_t;

class CButton : public CWnd {
public:
    int GetCheck() const;
    void SetCheck(int check);
    QAbstractButton* button() const;
};

class CEdit : public CWnd {
public:
    void SetSel(int start, int end, BOOL noScroll = FALSE);
    void GetSel(int& start, int& end) const;
    void LimitText(int maxChars);
    void SetLimitText(int maxChars) { LimitText(maxChars); }
    void ReplaceSel(const char* text, BOOL canUndo = FALSE);
    BOOL SetReadOnly(BOOL readOnly = TRUE);
};

class CStatic : public CWnd {
public:
    void SetImage(const QImage& image);
};

class CComboBox : public CWnd {
public:
    int AddString(const char* text);
    int InsertString(int index, const char* text);
    int DeleteString(int index);
    void ResetContent();
    int GetCount() const;
    int GetCurSel() const;
    int SetCurSel(int index);
    // Items from after start (-1: the whole list): the first whose text
    // begins with prefix, or equals text (case ignored).
    int FindString(int start, const char* prefix) const;
    int FindStringExact(int start, const char* text) const;
    int SelectString(int start, const char* prefix);
    void GetLBText(int index, CString& text) const;
    int GetLBTextLen(int index) const;
    int SetItemData(int index, DWORD_PTR data);
    DWORD_PTR GetItemData(int index) const;
    QComboBox* combo() const;
};

struct DRAWITEMSTRUCT {
    UINT CtlType = 0;
    UINT CtlID = 0;
    UINT itemID = 0;
    UINT itemAction = 0;
    UINT itemState = 0;  // ODS_SELECTED, ODS_FOCUS
    CDC* pDC = nullptr;
    CRect rcItem;
    DWORD_PTR itemData = 0;
};
struct MEASUREITEMSTRUCT {
    UINT CtlType = 0;
    UINT CtlID = 0;
    UINT itemID = 0;
    UINT itemWidth = 0;
    UINT itemHeight = 0;
    DWORD_PTR itemData = 0;
};
enum : UINT { ODS_SELECTED = 0x1, ODS_FOCUS = 0x10, ODA_DRAWENTIRE = 0x1 };

class CListBox : public CWnd {
public:
    int AddString(const char* text);
    int InsertString(int index, const char* text);
    int DeleteString(int index);
    void ResetContent();
    int GetCount() const;
    int GetCurSel() const;
    int SetCurSel(int index);
    int GetCaretIndex() const;
    int FindStringExact(int start, const char* text) const;
    int SelectString(int start, const char* prefix);
    void GetText(int index, CString& text) const;
    int SetItemData(int index, DWORD_PTR data);
    DWORD_PTR GetItemData(int index) const;
    int SetItemHeight(int index, UINT height);
    QListWidget* list() const;

    // Owner drawing: every item is drawn by DrawItem at the height of
    // MeasureItem (or SetItemHeight).
    void EnableOwnerDraw(bool on = true);
    virtual void DrawItem(DRAWITEMSTRUCT* item) {}
    virtual void MeasureItem(MEASUREITEMSTRUCT* item) {}
};

// A list box whose items the user drags into a new order; each item keeps its
// data. Dropped is told where an item went.
class CDragListBox : public CListBox {
public:
    void Attach(QWidget* widget);
    virtual void Dropped(int sourceIndex, int destIndex) {}
};
