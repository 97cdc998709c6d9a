// One translation turns Qt keys into the key-down call (virtual key, Shift
// and Ctrl) and the character call (program codes); accelerators come first
// and keys never reach parent widgets.
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>

#include <functional>

#include "FrameworkTestSupport.h"
#include "platform/framework/KeyTranslation.h"

namespace {

struct Case {
    int key;
    Qt::KeyboardModifiers modifiers;
    QString text;
    UINT vk;
    int ch;
    bool symbolFace = false;
};

}

TEST(KeyTranslation, KeysBecomeVirtualKeysAndProgramCharacters)
{
    const Case cases[] = {
        {Qt::Key_Tab, Qt::NoModifier, "\t", VK_TAB, 9},
        {Qt::Key_Backtab, Qt::ShiftModifier, "", VK_TAB, 9},
        {Qt::Key_Return, Qt::NoModifier, "\r", VK_RETURN, 13},
        {Qt::Key_Enter, Qt::KeypadModifier, "\r", VK_RETURN, 13},
        {Qt::Key_Return, Qt::ControlModifier, "", VK_RETURN, 10},
        {Qt::Key_J, Qt::ControlModifier, "\n", 'J', 10},
        {Qt::Key_A, Qt::ControlModifier, "\x01", 'A', 1},
        {Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier, "", 'Z', 26},
        {Qt::Key_Backspace, Qt::NoModifier, "\b", VK_BACK, 8},
        {Qt::Key_Backspace, Qt::ControlModifier, "", VK_BACK, 127},
        {Qt::Key_Escape, Qt::NoModifier, "\x1b", VK_ESCAPE, 27},
        {Qt::Key_Left, Qt::ShiftModifier, "", VK_LEFT, -1},
        {Qt::Key_Down, Qt::ControlModifier, "", VK_DOWN, -1},
        {Qt::Key_Delete, Qt::NoModifier, "\x7f", VK_DELETE, -1},
        {Qt::Key_PageDown, Qt::NoModifier, "", VK_NEXT, -1},
        {Qt::Key_A, Qt::NoModifier, "a", 'A', 'a'},
        {Qt::Key_A, Qt::ShiftModifier, "A", 'A', 'A'},
        {Qt::Key_Equal, Qt::NoModifier, "=", VK_OEM_PLUS, '='},
        {Qt::Key_Space, Qt::NoModifier, " ", VK_SPACE, ' '},
        {Qt::Key_1, Qt::ControlModifier, "1", '1', -1},           // no control character
        {Qt::Key_F, Qt::AltModifier, "f", 'F', -1},               // menu mnemonics make no character
        {Qt::Key_Eacute, Qt::NoModifier, QString(QChar(0xE9)), 0xE5, 0xE9},
        // A character only the mathematics face holds comes as that face's
        // code; one that no face holds still makes a character call.
        {0x3B1, Qt::NoModifier, QString(QChar(0x3B1)), 0xE5, 168, true},   // alpha
        {0x222B, Qt::NoModifier, QString(QChar(0x222B)), 0xE5, 189, true}, // integral
        {0x3C0, Qt::NoModifier, QString(QChar(0x3C0)), 0xE5, 0x8D},        // pi: the text faces hold it
        {0x20AC, Qt::NoModifier, QString(QChar(0x20AC)), 0xE5, int(kNoFaceChar)},  // euro
        {0x4E2D, Qt::NoModifier, QString(QChar(0x4E2D)), 0xE5, int(kNoFaceChar)},
        {Qt::Key_Shift, Qt::ShiftModifier, "", VK_SHIFT, -1},
    };
    for (const Case& c : cases) {
        KeyStroke k = TranslateKey(c.key, c.modifiers, c.text);
        EXPECT_EQ(k.vk, c.vk) << "key " << std::hex << c.key;
        EXPECT_EQ(k.ch, c.ch) << "key " << std::hex << c.key;
        EXPECT_EQ(k.symbolFace, c.symbolFace) << "key " << std::hex << c.key;
    }
    KeyStroke shifted = TranslateKey(Qt::Key_Up, Qt::ShiftModifier | Qt::ControlModifier, "");
    EXPECT_TRUE(shifted.shift);
    EXPECT_TRUE(shifted.ctrl);
}

namespace {
void press(QWidget* target, int key, Qt::KeyboardModifiers modifiers, const QString& text)
{
    QKeyEvent down(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(target, &down);
    QKeyEvent up(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(target, &up);
}

// Counts key presses that reach a widget (as a parent would see leaked ones).
class KeyCounter : public QObject {
public:
    int presses = 0;
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::KeyPress)
            ++presses;
        return false;
    }
};
}

TEST_F(FrameworkTest, AViewGetsKeyDownThenCharacterAfterAcceleratorsAndNothingLeaks)
{
    LogView* view = OpenNewView();
    ASSERT_NE(view, nullptr);
    KeyCounter parentSees;
    QWidget* parent = view->widget()->parentWidget();
    parent->installEventFilter(&parentSees);

    press(view->widget(), Qt::Key_Tab, Qt::NoModifier, "\t");
    press(view->widget(), Qt::Key_Backtab, Qt::ShiftModifier, "");
    press(view->widget(), Qt::Key_Return, Qt::ControlModifier, "");
    press(view->widget(), Qt::Key_Right, Qt::ShiftModifier | Qt::ControlModifier, "");
    press(view->widget(), 0x4E2D, Qt::NoModifier, QString(QChar(0x4E2D)));  // no face holds it: refused by the view
    press(view->widget(), Qt::Key_Escape, Qt::NoModifier, "\x1b");
    EXPECT_EQ(view->keys, (std::vector<std::string>{"down 9", "char 9", "down 9 s", "char 9", "down 13 c", "char 10",
                                                    "down 39 s c", "down 229", "char 65535", "down 27", "char 27"}));
    EXPECT_EQ(parentSees.presses, 0);

    view->keys.clear();
    EventLog().clear();
    // Ctrl+Shift+T is the document template's accelerator for 40001, which the view handles.
    press(view->widget(), Qt::Key_T, Qt::ControlModifier | Qt::ShiftModifier, "");
    EXPECT_EQ(EventLog(), std::vector<std::string>{"40001 view"});
    // Ctrl+N comes from the main frame's table: a second document.
    press(view->widget(), Qt::Key_N, Qt::ControlModifier, "");
    EXPECT_TRUE(view->keys.empty());
    EXPECT_EQ(app->mainFrame->GetActiveDocument()->GetTitle(), "Doc2");
}

TEST_F(FrameworkTest, TimersAreAddressedByIdAndReusingAnIdRestartsIt)
{
    LogView* view = OpenNewView();
    ASSERT_NE(view, nullptr);
    // Runs the events until done holds or a limit only a hang reaches.
    auto runUntil = [](const std::function<bool()>& done, int ms) {
        QElapsedTimer clock;
        clock.start();
        while (!done() && clock.elapsed() < ms)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    };
    auto never = [] { return false; };
    // The second timer of id 7 replaces the first: its minute has not passed,
    // so nothing ticks however late the events are handled.
    view->SetTimer(7, 20);
    view->SetTimer(7, 60000);
    runUntil(never, 300);
    EXPECT_EQ(view->timerTicks, 0);
    view->SetTimer(7, 20);
    runUntil([&] { return view->timerTicks > 0; }, 60000);
    EXPECT_GE(view->timerTicks, 1);
    EXPECT_EQ(view->keys.front(), "timer 7");
    EXPECT_TRUE(view->KillTimer(7));
    int ticks = view->timerTicks;
    runUntil(never, 300);
    EXPECT_EQ(view->timerTicks, ticks);
    EXPECT_FALSE(view->KillTimer(7));
}
