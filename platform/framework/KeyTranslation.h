#pragma once
// The one translation from Qt key events to the window layer's key calls: the
// virtual key with Shift and Ctrl state for OnKeyDown, then, when the key makes
// a character, the program's character code for OnChar (Tab 9, Backspace 8,
// Enter 13, Ctrl+Enter 10, Ctrl+letter 1-26, Esc 27; a printable character as
// its code in the text faces when they hold it, else as its code in the
// mathematics face, marked by kSymbolFaceChar in the call's flags; a character
// that no face holds makes a character call with code kNoFaceChar).
#include <Qt>
#include <QString>

#include "platform/framework/AfxTypes.h"

class QKeyEvent;

// OnChar flags bit: the code is the mathematics face's, not the text faces'.
constexpr UINT kSymbolFaceChar = 0x10000;
// OnChar code of a printable character that no face of the program holds.
constexpr UINT kNoFaceChar = 0xFFFF;

struct KeyStroke {
    UINT vk = 0;      // 0: a key the layer does not know (no calls at all)
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
    int ch = -1;      // program character code for OnChar, -1 for none
    bool symbolFace = false;  // ch is a code of the mathematics face
    UINT repeat = 1;
    int qtKey = 0;    // the Qt key and modifiers it came from (accelerators match these)
    Qt::KeyboardModifiers modifiers;
};

KeyStroke TranslateKey(int qtKey, Qt::KeyboardModifiers modifiers, const QString& text);
KeyStroke TranslateKeyEvent(const QKeyEvent& event);

// The state of Shift and Ctrl as of the input event being delivered, in the
// form handlers test (negative while down); for Caps, Num and Scroll Lock,
// bit 0 is set while the lock is on.
short GetKeyState(int vk);
void SetCurrentKeyModifiers(Qt::KeyboardModifiers modifiers);
