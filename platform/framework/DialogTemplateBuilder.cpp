#include "platform/framework/DialogTemplateBuilder.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <map>

#include "platform/framework/CWnd.h"
#include "platform/framework/DialogControls.h"
#include "platform/framework/WndBridge.h"

namespace {

std::map<QString, ControlFactory>& factories()
{
    static std::map<QString, ControlFactory> map;
    return map;
}

// "&Name" shows "Name" (the layer has no mnemonics); "&&" is one "&".
QString withoutMnemonic(QString text)
{
    text.replace("&&", QString(QChar(0xE000)));
    text.remove('&');
    text.replace(QChar(0xE000), "&");
    return text;
}

struct Made {
    QWidget* widget = nullptr;
    std::unique_ptr<CWnd> wnd;
};

Made makeControl(CWnd* owner, const DialogControlTemplate& c, QWidget* parent, QButtonGroup*& radioGroup)
{
    Made m;
    UINT id = UINT(c.id);
    QString text = withoutMnemonic(c.text);
    if (c.kind != "radio")
        radioGroup = nullptr;
    if (c.kind == "static" || c.kind == "picture" || c.kind == "frame") {
        auto* label = new QLabel(parent);
        if (c.kind == "picture") {
            QImage image = ResourceStore::instance().image(c.text);
            if (!image.isNull())
                label->setPixmap(QPixmap::fromImage(image));
        } else if (c.kind == "frame") {
            label->setFrameShape(QFrame::Box);
        } else {
            label->setText(text);
            label->setWordWrap(!c.has("simple"));
        }
        Qt::Alignment h = c.has("center") ? Qt::AlignHCenter : c.has("right") ? Qt::AlignRight : Qt::AlignLeft;
        label->setAlignment(h | Qt::AlignTop);
        m.widget = label;
        m.wnd = std::make_unique<CStatic>();
    } else if (c.kind == "edit") {
        if (c.has("multiline")) {
            auto* edit = new QPlainTextEdit(parent);
            edit->setPlainText(text);
            edit->setReadOnly(c.has("readonly"));
            QObject::connect(edit, &QPlainTextEdit::textChanged, edit, [owner, id] { owner->OnControlNotify(EN_CHANGE, id); });
            m.widget = edit;
        } else {
            auto* edit = new QLineEdit(text, parent);
            edit->setReadOnly(c.has("readonly"));
            if (c.has("password"))
                edit->setEchoMode(QLineEdit::Password);
            if (c.has("number"))
                edit->setValidator(new QIntValidator(0, 2147483647, edit));
            QObject::connect(edit, &QLineEdit::textEdited, edit, [owner, id] { owner->OnControlNotify(EN_CHANGE, id); });
            m.widget = edit;
        }
        m.wnd = std::make_unique<CEdit>();
    } else if (c.kind == "button" || c.kind == "defbutton" || c.kind == "check" || c.kind == "radio") {
        QAbstractButton* button = nullptr;
        if (c.kind == "check") {
            button = new QCheckBox(text, parent);
        } else if (c.kind == "radio") {
            button = new QRadioButton(text, parent);
            if (!radioGroup || c.has("group")) {
                radioGroup = new QButtonGroup(parent);
                radioGroup->setExclusive(true);
            }
            radioGroup->addButton(button);
        } else {
            auto* push = new QPushButton(text, parent);
            push->setAutoDefault(false);
            push->setDefault(c.kind == "defbutton");
            button = push;
        }
        QObject::connect(button, &QAbstractButton::clicked, button, [owner, id] { owner->OnControlNotify(BN_CLICKED, id); });
        m.widget = button;
        m.wnd = std::make_unique<CButton>();
    } else if (c.kind == "group") {
        auto* group = new QGroupBox(text, parent);
        m.widget = group;
        m.wnd = std::make_unique<CStatic>();
    } else if (c.kind == "combo" || c.kind == "combo-edit") {
        auto* combo = new QComboBox(parent);
        combo->setEditable(c.kind == "combo-edit");
        if (c.has("sort"))
            combo->setInsertPolicy(QComboBox::InsertAlphabetically);
        QObject::connect(combo, &QComboBox::activated, combo, [owner, id] {
            owner->OnControlNotify(CBN_SELCHANGE, id);
            owner->OnControlNotify(CBN_SELENDOK, id);
        });
        if (combo->lineEdit())
            QObject::connect(combo->lineEdit(), &QLineEdit::textEdited, combo,
                             [owner, id] { owner->OnControlNotify(CBN_EDITCHANGE, id); });
        m.widget = combo;
        m.wnd = std::make_unique<CComboBox>();
    } else if (c.kind == "list") {
        auto* list = new WndWidget<QListWidget>(nullptr, parent);
        list->setNativeBehaviour(true);
        list->setSortingEnabled(c.has("sort"));
        // Reported once the selection has changed: a mouse press moves the
        // current row before it selects the row.
        QObject::connect(list, &QListWidget::itemSelectionChanged, list,
                         [owner, id] { owner->OnControlNotify(LBN_SELCHANGE, id); });
        QObject::connect(list, &QListWidget::itemDoubleClicked, list,
                         [owner, id] { owner->OnControlNotify(LBN_DBLCLK, id); });
        m.widget = list;
        m.wnd = std::make_unique<CListBox>();
    } else if (c.kind.startsWith("custom:")) {
        QString className = c.kind.mid(7);
        auto f = factories().find(className);
        if (f != factories().end()) {
            m.widget = f->second(parent);
        } else {
            auto* w = new WndWidget<QWidget>(nullptr, parent);
            m.widget = w;
        }
        m.wnd = std::make_unique<CWnd>();
    } else {
        auto* label = new QLabel(QString("(%1)").arg(c.kind), parent);
        m.widget = label;
        m.wnd = std::make_unique<CStatic>();
    }
    if (c.has("disabled"))
        m.widget->setEnabled(false);
    if (c.has("hidden"))
        m.widget->hide();
    return m;
}

}

void RegisterControlClass(const QString& className, ControlFactory factory)
{
    factories()[className] = std::move(factory);
}

QFont DialogFont(const DialogTemplate& t)
{
    QFont font = QApplication::font();
    font.setPointSize(t.fontPoints > 0 ? t.fontPoints : 8);
    return font;
}

QSize DialogBaseUnits(const QFont& font)
{
    QFontMetrics fm(font);
    int width = fm.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    return QSize((width / 26 + 1) / 2, fm.height());
}

QRect DialogUnitsToPixels(const QFont& font, int x, int y, int cx, int cy)
{
    QSize base = DialogBaseUnits(font);
    auto mulDiv = [](int v, int m, int d) { return int((qint64(v) * m + (v >= 0 ? d / 2 : -d / 2)) / d); };
    return QRect(mulDiv(x, base.width(), 4), mulDiv(y, base.height(), 8), mulDiv(cx, base.width(), 4),
                 mulDiv(cy, base.height(), 8));
}

void BuildDialogControls(CWnd* owner, const DialogTemplate& t, QWidget* container)
{
    QFont font = DialogFont(t);
    container->setFont(font);
    QButtonGroup* radioGroup = nullptr;
    std::vector<QWidget*> groups;
    for (const DialogControlTemplate& c : t.controls) {
        Made m = makeControl(owner, c, container, radioGroup);
        QRect r = DialogUnitsToPixels(font, c.x, c.y, c.cx, c.cy);
        if (qobject_cast<QComboBox*>(m.widget))
            r.setHeight(std::max(m.widget->sizeHint().height(), std::min(r.height(), m.widget->sizeHint().height())));
        m.widget->setGeometry(r);
        if (c.kind == "group")
            groups.push_back(m.widget);
        m.wnd->Attach(m.widget);
        m.wnd->SetDlgCtrlID(c.id);
        owner->m_templateControls.push_back(std::move(m.wnd));
    }
    for (QWidget* g : groups)
        g->lower();
}
