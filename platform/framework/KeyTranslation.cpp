#include "platform/framework/KeyTranslation.h"

#include <QKeyEvent>

#include "platform/KeyCodes.h"
#include "platform/draw/TextCodec.h"
#include "platform/framework/LockKeys.h"

namespace {

Qt::KeyboardModifiers g_modifiers;

UINT virtualKeyOf(int key)
{
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return UINT('A' + (key - Qt::Key_A));
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return UINT('0' + (key - Qt::Key_0));
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return VK_F1 + UINT(key - Qt::Key_F1);
    switch (key) {
    case Qt::Key_Backspace: return VK_BACK;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return VK_TAB;
    case Qt::Key_Return:
    case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Shift: return VK_SHIFT;
    case Qt::Key_Control: return VK_CONTROL;
    case Qt::Key_Alt: return VK_MENU;
    case Qt::Key_Pause: return VK_PAUSE;
    case Qt::Key_CapsLock: return VK_CAPITAL;
    case Qt::Key_Escape: return VK_ESCAPE;
    case Qt::Key_Space: return VK_SPACE;
    case Qt::Key_PageUp: return VK_PRIOR;
    case Qt::Key_PageDown: return VK_NEXT;
    case Qt::Key_End: return VK_END;
    case Qt::Key_Home: return VK_HOME;
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Down: return VK_DOWN;
    case Qt::Key_Insert: return VK_INSERT;
    case Qt::Key_Delete: return VK_DELETE;
    case Qt::Key_Clear: return VK_CLEAR;
    case Qt::Key_NumLock: return VK_NUMLOCK;
    case Qt::Key_ScrollLock: return VK_SCROLL;
    // Punctuation by the key that carries it on a US keyboard.
    case Qt::Key_Semicolon: case Qt::Key_Colon: return VK_OEM_1;
    case Qt::Key_Equal: case Qt::Key_Plus: return VK_OEM_PLUS;
    case Qt::Key_Comma: case Qt::Key_Less: return VK_OEM_COMMA;
    case Qt::Key_Minus: case Qt::Key_Underscore: return VK_OEM_MINUS;
    case Qt::Key_Period: case Qt::Key_Greater: return VK_OEM_PERIOD;
    case Qt::Key_Slash: case Qt::Key_Question: return VK_OEM_2;
    case Qt::Key_QuoteLeft: case Qt::Key_AsciiTilde: return VK_OEM_3;
    case Qt::Key_BracketLeft: case Qt::Key_BraceLeft: return VK_OEM_4;
    case Qt::Key_Backslash: case Qt::Key_Bar: return VK_OEM_5;
    case Qt::Key_BracketRight: case Qt::Key_BraceRight: return VK_OEM_6;
    case Qt::Key_Apostrophe: case Qt::Key_QuoteDbl: return VK_OEM_7;
    case Qt::Key_Exclam: return '1';
    case Qt::Key_At: return '2';
    case Qt::Key_NumberSign: return '3';
    case Qt::Key_Dollar: return '4';
    case Qt::Key_Percent: return '5';
    case Qt::Key_AsciiCircum: return '6';
    case Qt::Key_Ampersand: return '7';
    case Qt::Key_Asterisk: return '8';
    case Qt::Key_ParenLeft: return '9';
    case Qt::Key_ParenRight: return '0';
    default: break;
    }
    // Other characters (accented letters of other layouts) still reach
    // OnChar; their key-down carries no virtual key of its own.
    return key > 0 && key < 0x01000000 ? 0xE5 : 0;
}

// The control character of a key pressed with Ctrl, or -1.
int controlCharacter(UINT vk)
{
    if (vk >= 'A' && vk <= 'Z')
        return int(vk - 'A' + 1);
    switch (vk) {
    case VK_RETURN: return KeyCode::kLineFeed;
    case VK_BACK: return 127;
    case VK_OEM_4: return KeyCode::kEscape; // Ctrl+[ is Escape
    case VK_OEM_5: return 28;
    case VK_OEM_6: return 29;
    default: return -1;
    }
}

int characterOf(KeyStroke& k, const QString& text)
{
    if (k.alt)
        return -1;  // menu mnemonics and system keys make no character
    if (k.ctrl)
        return controlCharacter(k.vk);
    switch (k.vk) {
    case VK_RETURN: return KeyCode::kReturn;
    case VK_TAB: return KeyCode::kTab;
    case VK_BACK: return KeyCode::kBackspace;
    case VK_ESCAPE: return KeyCode::kEscape;
    default: break;
    }
    QList<uint> ucs = text.toUcs4();
    if (ucs.size() != 1 || ucs[0] < 0x20 || ucs[0] == 0x7F)
        return -1;
    const char32_t typed = char32_t(ucs[0]);
    const int charSet = TextCodec::CharSetHolding(typed);
    if (charSet < 0)
        return int(kNoFaceChar);
    k.symbolFace = charSet == SYMBOL_CHARSET;
    return TextCodec::FromUnicode(typed, charSet);
}

}

KeyStroke TranslateKey(int qtKey, Qt::KeyboardModifiers modifiers, const QString& text)
{
    KeyStroke k;
    k.vk = virtualKeyOf(qtKey);
    k.qtKey = qtKey;
    k.modifiers = modifiers;
    k.shift = modifiers.testFlag(Qt::ShiftModifier) || qtKey == Qt::Key_Backtab;
    k.ctrl = modifiers.testFlag(Qt::ControlModifier);
    k.alt = modifiers.testFlag(Qt::AltModifier);
    if (k.vk != 0 && k.vk != VK_SHIFT && k.vk != VK_CONTROL && k.vk != VK_MENU)
        k.ch = characterOf(k, text);
    return k;
}

KeyStroke TranslateKeyEvent(const QKeyEvent& event)
{
    KeyStroke k = TranslateKey(event.key(), event.modifiers(), event.text());
    return k;
}

short GetKeyState(int vk)
{
    switch (vk) {
    case VK_SHIFT: return g_modifiers.testFlag(Qt::ShiftModifier) ? short(-128) : short(0);
    case VK_CONTROL: return g_modifiers.testFlag(Qt::ControlModifier) ? short(-128) : short(0);
    case VK_MENU: return g_modifiers.testFlag(Qt::AltModifier) ? short(-128) : short(0);
    case VK_CAPITAL:
    case VK_NUMLOCK:
    case VK_SCROLL: return IsLockKeyOn(vk) ? short(1) : short(0);
    default: return 0;
    }
}

void SetCurrentKeyModifiers(Qt::KeyboardModifiers modifiers)
{
    g_modifiers = modifiers;
}
