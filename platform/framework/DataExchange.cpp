#include "platform/framework/DataExchange.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <cmath>
#include <cstdio>

#include "platform/Exceptions.h"
#include "platform/framework/CWinApp.h"
#include "platform/framework/DialogControls.h"

namespace {

[[noreturn]] void failWith(CDataExchange* dx, const CString& message)
{
    AfxMessageBox(message, MB_OK | MB_ICONEXCLAMATION);
    dx->Fail();
}

CString controlText(CDataExchange* dx, int id)
{
    CWnd* control = dx->PrepareEditCtrl(id);
    return control ? control->GetWindowText() : CString();
}

void setControlText(CDataExchange* dx, int id, const CString& text)
{
    if (CWnd* control = dx->PrepareEditCtrl(id))
        control->SetWindowText(text);
}

CString number(long long value)
{
    CString text;
    text.Format("%lld", value);
    return text;
}

CString number(double value)
{
    CString text;
    text.Format("%.15g", value);
    return text;
}

}

CWnd* CDataExchange::PrepareCtrl(int id)
{
    m_idLastControl = id;
    m_bEditLastControl = false;
    return m_pDlgWnd->GetDlgItem(id);
}

CWnd* CDataExchange::PrepareEditCtrl(int id)
{
    CWnd* control = PrepareCtrl(id);
    m_bEditLastControl = true;
    return control;
}

void CDataExchange::Fail()
{
    if (m_bSaveAndValidate)
        if (CWnd* control = m_pDlgWnd->GetDlgItem(m_idLastControl))
            m_pDlgWnd->GotoDlgCtrl(control);
    throw CUserException();
}

void DDX_Text(CDataExchange* dx, int id, int& value)
{
    if (!dx->m_bSaveAndValidate)
        return setControlText(dx, id, number(static_cast<long long>(value)));
    QString text = ToQString(controlText(dx, id)).trimmed();
    bool ok = false;
    int parsed = text.toInt(&ok);
    if (!ok)
        failWith(dx, kDdxEnterInteger);
    value = parsed;
}

void DDX_Text(CDataExchange* dx, int id, UINT& value)
{
    if (!dx->m_bSaveAndValidate)
        return setControlText(dx, id, number(static_cast<long long>(value)));
    QString text = ToQString(controlText(dx, id)).trimmed();
    bool ok = false;
    uint parsed = text.startsWith('-') ? 0 : text.toUInt(&ok);
    if (!ok)
        failWith(dx, kDdxEnterPositiveInteger);
    value = parsed;
}

void DDX_Text(CDataExchange* dx, int id, double& value)
{
    if (!dx->m_bSaveAndValidate)
        return setControlText(dx, id, number(value));
    QString text = ToQString(controlText(dx, id)).trimmed();
    bool ok = false;
    double parsed = text.toDouble(&ok);
    if (!ok || !std::isfinite(parsed))
        failWith(dx, kDdxEnterNumber);
    value = parsed;
}

void DDX_Text(CDataExchange* dx, int id, CString& value)
{
    if (!dx->m_bSaveAndValidate)
        return setControlText(dx, id, value);
    value = controlText(dx, id);
}

void DDX_Check(CDataExchange* dx, int id, int& value)
{
    dx->PrepareCtrl(id);
    if (dx->m_bSaveAndValidate)
        value = int(dx->m_pDlgWnd->IsDlgButtonChecked(id));
    else
        dx->m_pDlgWnd->CheckDlgButton(id, UINT(value));
}

void DDX_Check(CDataExchange* dx, int id, bool& value)
{
    int v = value ? 1 : 0;
    DDX_Check(dx, id, v);
    value = v != 0;
}

void DDX_Radio(CDataExchange* dx, int id, int& index)
{
    CWnd* first = dx->PrepareCtrl(id);
    auto* button = first ? qobject_cast<QAbstractButton*>(first->widget()) : nullptr;
    QButtonGroup* group = button ? button->group() : nullptr;
    if (!group)
        return;
    QList<QAbstractButton*> buttons = group->buttons();
    if (dx->m_bSaveAndValidate) {
        index = -1;
        for (int i = 0; i < buttons.size(); ++i)
            if (buttons[i]->isChecked())
                index = i;
        return;
    }
    group->setExclusive(false);
    for (int i = 0; i < buttons.size(); ++i)
        buttons[i]->setChecked(i == index);
    group->setExclusive(true);
}

void DDX_CBIndex(CDataExchange* dx, int id, int& index)
{
    CWnd* control = dx->PrepareCtrl(id);
    auto* combo = control ? qobject_cast<QComboBox*>(control->widget()) : nullptr;
    if (!combo)
        return;
    if (dx->m_bSaveAndValidate)
        index = combo->currentIndex();
    else
        combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
}

static void comboString(CDataExchange* dx, int id, CString& value, bool exact)
{
    CWnd* control = dx->PrepareEditCtrl(id);
    auto* combo = control ? qobject_cast<QComboBox*>(control->widget()) : nullptr;
    if (!combo)
        return;
    if (dx->m_bSaveAndValidate) {
        value = FromQString(combo->currentText());
        return;
    }
    QString text = ToQString(value);
    int index = exact ? combo->findText(text, Qt::MatchFixedString)
                      : combo->findText(text, Qt::MatchStartsWith);
    if (index >= 0)
        combo->setCurrentIndex(index);
    else if (combo->isEditable())
        combo->setEditText(text);
}

void DDX_CBString(CDataExchange* dx, int id, CString& value)
{
    comboString(dx, id, value, false);
}

void DDX_CBStringExact(CDataExchange* dx, int id, CString& value)
{
    comboString(dx, id, value, true);
}

void DDX_LBIndex(CDataExchange* dx, int id, int& index)
{
    CWnd* control = dx->PrepareCtrl(id);
    auto* list = control ? qobject_cast<QListWidget*>(control->widget()) : nullptr;
    if (!list)
        return;
    if (dx->m_bSaveAndValidate)
        index = list->currentItem() ? list->currentRow() : -1;
    else
        list->setCurrentRow(index);
}

void DDX_LBString(CDataExchange* dx, int id, CString& value)
{
    CWnd* control = dx->PrepareCtrl(id);
    auto* list = control ? qobject_cast<QListWidget*>(control->widget()) : nullptr;
    if (!list)
        return;
    if (dx->m_bSaveAndValidate) {
        value = list->currentItem() ? FromQString(list->currentItem()->text()) : CString();
        return;
    }
    QList<QListWidgetItem*> found = list->findItems(ToQString(value), Qt::MatchStartsWith);
    if (!found.isEmpty())
        list->setCurrentItem(found.first());
}

void DDX_Control(CDataExchange* dx, int id, CWnd& control)
{
    if (control.widget())
        return;
    CWnd* item = dx->PrepareCtrl(id);
    if (item && item->widget()) {
        control.Attach(item->widget());
        control.SetDlgCtrlID(id);
    }
}

void DDV_MinMaxInt(CDataExchange* dx, int value, int minValue, int maxValue)
{
    if (dx->m_bSaveAndValidate && (value < minValue || value > maxValue))
        failWith(dx, AfxFormatMessage(kDdvIntegerRange, number(static_cast<long long>(minValue)),
                                      number(static_cast<long long>(maxValue))));
}

void DDV_MinMaxUInt(CDataExchange* dx, UINT value, UINT minValue, UINT maxValue)
{
    if (dx->m_bSaveAndValidate && (value < minValue || value > maxValue))
        failWith(dx, AfxFormatMessage(kDdvIntegerRange, number(static_cast<long long>(minValue)),
                                      number(static_cast<long long>(maxValue))));
}

void DDV_MinMaxDouble(CDataExchange* dx, double value, double minValue, double maxValue)
{
    if (dx->m_bSaveAndValidate && (value < minValue || value > maxValue))
        failWith(dx, AfxFormatMessage(kDdvNumberRange, number(minValue), number(maxValue)));
}

void DDV_MaxChars(CDataExchange* dx, const CString& value, int maxChars)
{
    if (dx->m_bSaveAndValidate) {
        if (value.GetLength() > maxChars)
            failWith(dx, AfxFormatMessage(kDdvMaxChars, number(static_cast<long long>(maxChars))));
        return;
    }
    CWnd* control = dx->m_pDlgWnd->GetDlgItem(dx->m_idLastControl);
    if (auto* edit = control ? qobject_cast<QLineEdit*>(control->widget()) : nullptr)
        edit->setMaxLength(maxChars);
    else if (auto* combo = control ? qobject_cast<QComboBox*>(control->widget()) : nullptr; combo && combo->lineEdit())
        combo->lineEdit()->setMaxLength(maxChars);
}
