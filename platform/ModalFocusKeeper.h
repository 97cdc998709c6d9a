#pragma once
// Gives the keyboard back to the widget that had it once a modal window
// (dialog, file dialog, message box) closes, also where no window manager
// hands the focus back: typing goes on in the document, not nowhere.
#include <QApplication>
#include <QPointer>
#include <QWidget>

class ModalFocusKeeper {
public:
    ModalFocusKeeper() : m_focus(QApplication::focusWidget()) {}
    ~ModalFocusKeeper()
    {
        if (!m_focus)
            return;
        m_focus->activateWindow();
        m_focus->setFocus(Qt::OtherFocusReason);
    }
    ModalFocusKeeper(const ModalFocusKeeper&) = delete;
    ModalFocusKeeper& operator=(const ModalFocusKeeper&) = delete;

private:
    QPointer<QWidget> m_focus;
};
