#include "platform/framework/DialogControls.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QStyledItemDelegate>

#include "platform/draw/ImageDC.h"

namespace {
const int kDataRole = Qt::UserRole + 1;
}

QAbstractButton* CButton::button() const
{
    return qobject_cast<QAbstractButton*>(m_widget);
}

int CButton::GetCheck() const
{
    return button() && button()->isChecked() ? BST_CHECKED : BST_UNCHECKED;
}

void CButton::SetCheck(int check)
{
    QAbstractButton* b = button();
    if (!b)
        return;
    b->setCheckable(true);
    QButtonGroup* group = b->group();
    bool exclusive = group && group->exclusive();
    if (exclusive)
        group->setExclusive(false);
    b->setChecked(check != BST_UNCHECKED);
    if (exclusive)
        group->setExclusive(true);
}

void CEdit::SetSel(int start, int end, BOOL)
{
    if (auto* e = qobject_cast<QLineEdit*>(m_widget)) {
        int length = int(e->text().size());
        if (start == 0 && end == -1)
            e->selectAll();
        else if (start < 0)
            e->deselect();
        else
            e->setSelection(std::min(start, length), std::min(end < 0 ? length : end, length) - std::min(start, length));
    }
}

void CEdit::GetSel(int& start, int& end) const
{
    start = end = 0;
    if (auto* e = qobject_cast<QLineEdit*>(m_widget)) {
        start = e->hasSelectedText() ? e->selectionStart() : e->cursorPosition();
        end = e->hasSelectedText() ? e->selectionEnd() : start;
    }
}

void CEdit::LimitText(int maxChars)
{
    if (auto* e = qobject_cast<QLineEdit*>(m_widget))
        e->setMaxLength(maxChars > 0 ? maxChars : 32767);
}

void CEdit::ReplaceSel(const char* text, BOOL)
{
    if (auto* e = qobject_cast<QLineEdit*>(m_widget))
        e->insert(ToQString(CString(text)));
    else if (auto* p = qobject_cast<QPlainTextEdit*>(m_widget))
        p->insertPlainText(ToQString(CString(text)));
}

BOOL CEdit::SetReadOnly(BOOL readOnly)
{
    if (auto* e = qobject_cast<QLineEdit*>(m_widget))
        e->setReadOnly(readOnly);
    else if (auto* p = qobject_cast<QPlainTextEdit*>(m_widget))
        p->setReadOnly(readOnly);
    return m_widget != nullptr;
}

void CStatic::SetImage(const QImage& image)
{
    if (auto* label = qobject_cast<QLabel*>(m_widget))
        label->setPixmap(QPixmap::fromImage(image));
}

QComboBox* CComboBox::combo() const
{
    return qobject_cast<QComboBox*>(m_widget);
}

int CComboBox::AddString(const char* text)
{
    if (!combo())
        return CB_ERR;
    combo()->addItem(ToQString(CString(text)));
    return combo()->count() - 1;
}

int CComboBox::InsertString(int index, const char* text)
{
    if (!combo())
        return CB_ERR;
    int at = index < 0 || index > combo()->count() ? combo()->count() : index;
    combo()->insertItem(at, ToQString(CString(text)));
    return at;
}

int CComboBox::DeleteString(int index)
{
    if (!combo() || index < 0 || index >= combo()->count())
        return CB_ERR;
    combo()->removeItem(index);
    return combo()->count();
}

void CComboBox::ResetContent()
{
    if (combo())
        combo()->clear();
}

int CComboBox::GetCount() const
{
    return combo() ? combo()->count() : 0;
}

int CComboBox::GetCurSel() const
{
    return combo() ? combo()->currentIndex() : CB_ERR;
}

int CComboBox::SetCurSel(int index)
{
    if (!combo())
        return CB_ERR;
    if (index < 0 || index >= combo()->count()) {
        combo()->setCurrentIndex(-1);
        return CB_ERR;
    }
    combo()->setCurrentIndex(index);
    return index;
}

static int findIn(int count, int start, const std::function<QString(int)>& textAt, const QString& wanted, bool exact)
{
    for (int n = 0; n < count; ++n) {
        int i = (start + 1 + n) % count;
        if (start < 0)
            i = n;
        QString t = textAt(i);
        if (exact ? t.compare(wanted, Qt::CaseInsensitive) == 0 : t.startsWith(wanted, Qt::CaseInsensitive))
            return i;
    }
    return CB_ERR;
}

int CComboBox::FindString(int start, const char* prefix) const
{
    QComboBox* c = combo();
    return c ? findIn(c->count(), start, [c](int i) { return c->itemText(i); }, ToQString(CString(prefix)), false)
             : CB_ERR;
}

int CComboBox::FindStringExact(int start, const char* text) const
{
    QComboBox* c = combo();
    return c ? findIn(c->count(), start, [c](int i) { return c->itemText(i); }, ToQString(CString(text)), true)
             : CB_ERR;
}

int CComboBox::SelectString(int start, const char* prefix)
{
    int index = FindString(start, prefix);
    if (index != CB_ERR)
        SetCurSel(index);
    return index;
}

void CComboBox::GetLBText(int index, CString& text) const
{
    text = combo() && index >= 0 && index < combo()->count() ? FromQString(combo()->itemText(index)) : CString();
}

int CComboBox::GetLBTextLen(int index) const
{
    CString text;
    GetLBText(index, text);
    return text.GetLength();
}

int CComboBox::SetItemData(int index, DWORD_PTR data)
{
    if (!combo() || index < 0 || index >= combo()->count())
        return CB_ERR;
    combo()->setItemData(index, QVariant::fromValue<qulonglong>(data), kDataRole);
    return 0;
}

DWORD_PTR CComboBox::GetItemData(int index) const
{
    return combo() ? DWORD_PTR(combo()->itemData(index, kDataRole).toULongLong()) : 0;
}

QListWidget* CListBox::list() const
{
    return qobject_cast<QListWidget*>(m_widget);
}

int CListBox::AddString(const char* text)
{
    QListWidget* l = list();
    if (!l)
        return LB_ERR;
    auto* item = new QListWidgetItem(ToQString(CString(text)));
    l->addItem(item);
    return l->row(item);
}

int CListBox::InsertString(int index, const char* text)
{
    QListWidget* l = list();
    if (!l)
        return LB_ERR;
    int at = index < 0 || index > l->count() ? l->count() : index;
    l->insertItem(at, ToQString(CString(text)));
    return at;
}

int CListBox::DeleteString(int index)
{
    QListWidget* l = list();
    if (!l || index < 0 || index >= l->count())
        return LB_ERR;
    delete l->takeItem(index);
    return l->count();
}

void CListBox::ResetContent()
{
    if (list())
        list()->clear();
}

int CListBox::GetCount() const
{
    return list() ? list()->count() : 0;
}

int CListBox::GetCurSel() const
{
    return list() && list()->currentItem() && list()->currentItem()->isSelected() ? list()->currentRow() : LB_ERR;
}

int CListBox::SetCurSel(int index)
{
    QListWidget* l = list();
    if (!l)
        return LB_ERR;
    if (index < 0 || index >= l->count()) {
        l->clearSelection();
        return index == -1 ? 0 : LB_ERR;
    }
    l->setCurrentRow(index);
    return index;
}

int CListBox::GetCaretIndex() const
{
    return list() ? list()->currentRow() : LB_ERR;
}

int CListBox::FindStringExact(int start, const char* text) const
{
    QListWidget* l = list();
    return l ? findIn(l->count(), start, [l](int i) { return l->item(i)->text(); }, ToQString(CString(text)), true)
             : LB_ERR;
}

int CListBox::SelectString(int start, const char* prefix)
{
    QListWidget* l = list();
    int index = l ? findIn(l->count(), start, [l](int i) { return l->item(i)->text(); },
                           ToQString(CString(prefix)), false)
                  : LB_ERR;
    if (index != LB_ERR)
        SetCurSel(index);
    return index;
}

void CListBox::GetText(int index, CString& text) const
{
    QListWidget* l = list();
    text = l && index >= 0 && index < l->count() ? FromQString(l->item(index)->text()) : CString();
}

int CListBox::SetItemData(int index, DWORD_PTR data)
{
    QListWidget* l = list();
    if (!l || index < 0 || index >= l->count())
        return LB_ERR;
    l->item(index)->setData(kDataRole, QVariant::fromValue<qulonglong>(data));
    return 0;
}

DWORD_PTR CListBox::GetItemData(int index) const
{
    QListWidget* l = list();
    if (!l || index < 0 || index >= l->count())
        return 0;
    return DWORD_PTR(l->item(index)->data(kDataRole).toULongLong());
}

int CListBox::SetItemHeight(int index, UINT height)
{
    QListWidget* l = list();
    if (!l)
        return LB_ERR;
    for (int i = 0; i < l->count(); ++i)
        if (index < 0 || i == index)
            l->item(i)->setSizeHint(QSize(l->viewport()->width(), int(height)));
    l->setProperty("qv_itemHeight", height);
    return 0;
}

namespace {

// Draws each item of an owner-drawn list through the list's DrawItem, on an
// image of the item's size.
class OwnerDrawDelegate : public QStyledItemDelegate {
public:
    OwnerDrawDelegate(CListBox* box, QObject* parent) : QStyledItemDelegate(parent), m_box(box) {}
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QImage image(option.rect.size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            CImageDC dc(image);
            DRAWITEMSTRUCT item;
            item.CtlID = UINT(m_box->GetDlgCtrlID());
            item.itemID = UINT(index.row());
            item.itemAction = ODA_DRAWENTIRE;
            item.itemState = (option.state & QStyle::State_Selected ? UINT(ODS_SELECTED) : 0u)
                             | (option.state & QStyle::State_HasFocus ? UINT(ODS_FOCUS) : 0u);
            item.pDC = &dc;
            item.rcItem = CRect(0, 0, image.width(), image.height());
            item.itemData = DWORD_PTR(index.data(kDataRole).toULongLong());
            m_box->DrawItem(&item);
        }
        painter->drawImage(option.rect.topLeft(), image);
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        MEASUREITEMSTRUCT item;
        item.CtlID = UINT(m_box->GetDlgCtrlID());
        item.itemID = UINT(index.row());
        item.itemData = DWORD_PTR(index.data(kDataRole).toULongLong());
        QVariant fixed = m_box->list() ? m_box->list()->property("qv_itemHeight") : QVariant();
        item.itemHeight = fixed.isValid() ? fixed.toUInt() : 16;
        m_box->MeasureItem(&item);
        return QSize(option.rect.width(), int(item.itemHeight));
    }

private:
    CListBox* m_box;
};

}

void CListBox::EnableOwnerDraw(bool on)
{
    if (QListWidget* l = list())
        l->setItemDelegate(on ? new OwnerDrawDelegate(this, l) : new QStyledItemDelegate(l));
}

void CDragListBox::Attach(QWidget* widget)
{
    CWnd::Attach(widget);
    QListWidget* l = list();
    if (!l)
        return;
    l->setDragDropMode(QAbstractItemView::InternalMove);
    l->setDefaultDropAction(Qt::MoveAction);
    QObject::connect(l->model(), &QAbstractItemModel::rowsMoved, l,
                     [this](const QModelIndex&, int start, int, const QModelIndex&, int row) {
                         Dropped(start, row > start ? row - 1 : row);
                     });
}
