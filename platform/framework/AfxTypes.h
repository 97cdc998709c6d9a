#pragma once
// Scalar types and the numeric constants of the window layer: command ids of
// the standard commands, virtual keys, mouse flags, styles. Colours, points,
// sizes and rectangles are the drawing layer's; message-box styles and answers
// (IDOK, IDCANCEL, ...) are the user-interface seam's. The numbers are the ones
// stored in menus, toolbars and dialog templates, so they never change.
#include <cstdint>

#include "platform/UserInterface.h"
#include "platform/draw/GdiTypes.h"

using BOOL = int;
using UINT = unsigned int;
using UINT_PTR = std::uintptr_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using DWORD = std::uint32_t;
using WORD = std::uint16_t;
using BYTE = std::uint8_t;
using LPCTSTR = const char*;

#ifndef TRUE
#define TRUE 1
#define FALSE 0
#endif

// Window show commands.
enum : int { SW_HIDE = 0, SW_SHOWNORMAL = 1, SW_SHOWMINIMIZED = 2, SW_SHOWMAXIMIZED = 3, SW_SHOW = 5,
             SW_MINIMIZE = 6, SW_RESTORE = 9 };

// OnSize types.
enum : UINT { SIZE_RESTORED = 0, SIZE_MINIMIZED = 1, SIZE_MAXIMIZED = 2 };

// Mouse flags passed with every mouse call.
enum : UINT { MK_LBUTTON = 0x1, MK_RBUTTON = 0x2, MK_SHIFT = 0x4, MK_CONTROL = 0x8, MK_MBUTTON = 0x10 };

// Hit-test code passed to OnSetCursor for the client area, and the mouse-move message.
enum : UINT { HTCLIENT = 1, WM_MOUSEMOVE = 0x200, WM_LBUTTONDOWN = 0x201 };

// Scroll-bar codes of OnHScroll / OnVScroll.
enum : UINT { SB_LINEUP = 0, SB_LINELEFT = 0, SB_LINEDOWN = 1, SB_LINERIGHT = 1, SB_PAGEUP = 2, SB_PAGELEFT = 2,
              SB_PAGEDOWN = 3, SB_PAGERIGHT = 3, SB_THUMBPOSITION = 4, SB_THUMBTRACK = 5, SB_TOP = 6,
              SB_LEFT = 6, SB_BOTTOM = 7, SB_RIGHT = 7, SB_ENDSCROLL = 8 };
enum : int { SB_HORZ = 0, SB_VERT = 1 };

// Virtual key codes delivered to OnKeyDown.
enum : UINT {
    VK_BACK = 0x08, VK_TAB = 0x09, VK_CLEAR = 0x0C, VK_RETURN = 0x0D, VK_SHIFT = 0x10, VK_CONTROL = 0x11,
    VK_MENU = 0x12, VK_PAUSE = 0x13, VK_CAPITAL = 0x14, VK_ESCAPE = 0x1B, VK_SPACE = 0x20, VK_PRIOR = 0x21,
    VK_NEXT = 0x22, VK_END = 0x23, VK_HOME = 0x24, VK_LEFT = 0x25, VK_UP = 0x26, VK_RIGHT = 0x27,
    VK_DOWN = 0x28, VK_INSERT = 0x2D, VK_DELETE = 0x2E, VK_NUMPAD0 = 0x60, VK_MULTIPLY = 0x6A, VK_ADD = 0x6B,
    VK_SUBTRACT = 0x6D, VK_DECIMAL = 0x6E, VK_DIVIDE = 0x6F, VK_F1 = 0x70, VK_NUMLOCK = 0x90, VK_SCROLL = 0x91,
    VK_OEM_1 = 0xBA, VK_OEM_PLUS = 0xBB, VK_OEM_COMMA = 0xBC, VK_OEM_MINUS = 0xBD, VK_OEM_PERIOD = 0xBE,
    VK_OEM_2 = 0xBF, VK_OEM_3 = 0xC0, VK_OEM_4 = 0xDB, VK_OEM_5 = 0xDC, VK_OEM_6 = 0xDD, VK_OEM_7 = 0xDE
};

// Standard command ids of the framework (File, Edit, Window, Help and the bars).
enum : UINT {
    ID_FILE_NEW = 57600, ID_FILE_OPEN = 57601, ID_FILE_CLOSE = 57602, ID_FILE_SAVE = 57603,
    ID_FILE_SAVE_AS = 57604, ID_FILE_PAGE_SETUP = 57605, ID_FILE_PRINT_SETUP = 57606, ID_FILE_PRINT = 57607,
    ID_FILE_PRINT_DIRECT = 57608, ID_FILE_PRINT_PREVIEW = 57609,
    ID_FILE_MRU_FILE1 = 57616, ID_FILE_MRU_FILE4 = 57619, ID_FILE_MRU_LAST = 57631,
    ID_EDIT_CLEAR = 57632, ID_EDIT_COPY = 57634, ID_EDIT_CUT = 57635, ID_EDIT_FIND = 57636, ID_EDIT_PASTE = 57637,
    ID_EDIT_SELECT_ALL = 57642, ID_EDIT_UNDO = 57643, ID_EDIT_REDO = 57644,
    ID_WINDOW_NEW = 57648, ID_WINDOW_ARRANGE = 57649, ID_WINDOW_CASCADE = 57650, ID_WINDOW_TILE_HORZ = 57651,
    ID_WINDOW_TILE_VERT = 57652, ID_APP_ABOUT = 57664, ID_APP_EXIT = 57665,
    ID_SEPARATOR = 0, ID_INDICATOR_CAPS = 59137, ID_INDICATOR_NUM = 59138, ID_INDICATOR_SCRL = 59139,
    AFX_IDW_TOOLBAR = 59392, AFX_IDW_STATUS_BAR = 59393, ID_VIEW_TOOLBAR = 59392, ID_VIEW_STATUS_BAR = 59393,
    AFX_IDW_PANE_FIRST = 59648
};

// Window styles that callers pass; the layer reads only the few it needs.
inline constexpr DWORD WS_OVERLAPPED = 0x00000000;
inline constexpr DWORD WS_POPUP = 0x80000000;
inline constexpr DWORD WS_CHILD = 0x40000000;
inline constexpr DWORD WS_VISIBLE = 0x10000000;
inline constexpr DWORD WS_CAPTION = 0x00C00000;
inline constexpr DWORD WS_SYSMENU = 0x00080000;
inline constexpr DWORD WS_THICKFRAME = 0x00040000;
inline constexpr DWORD WS_MINIMIZEBOX = 0x00020000;
inline constexpr DWORD WS_MAXIMIZEBOX = 0x00010000;
inline constexpr DWORD WS_OVERLAPPEDWINDOW = 0x00CF0000;
inline constexpr DWORD FWS_ADDTOTITLE = 0x00008000;

// Control-bar styles.
inline constexpr DWORD CBRS_ALIGN_LEFT = 0x1000;
inline constexpr DWORD CBRS_ALIGN_TOP = 0x2000;
inline constexpr DWORD CBRS_ALIGN_RIGHT = 0x4000;
inline constexpr DWORD CBRS_ALIGN_BOTTOM = 0x8000;
inline constexpr DWORD CBRS_ALIGN_ANY = 0xF000;
inline constexpr DWORD CBRS_TOOLTIPS = 0x0010;
inline constexpr DWORD CBRS_FLYBY = 0x0020;
inline constexpr DWORD CBRS_SIZE_DYNAMIC = 0x0400;
inline constexpr DWORD CBRS_TOP = 0x2000 | 0x0100;
inline constexpr DWORD CBRS_BOTTOM = 0x8000 | 0x0100;
inline constexpr DWORD CBRS_FLOAT_MULTI = 0x0040;
enum : UINT { TBBS_BUTTON = 0x0000, TBBS_SEPARATOR = 0x0001, TBBS_CHECKBOX = 0x0002, TBBS_WRAPPED = 0x00010000 };

// Control notifications carried with a control id.
enum : UINT { BN_CLICKED = 0, BN_DOUBLECLICKED = 5, EN_CHANGE = 0x0300, LBN_SELCHANGE = 1, LBN_DBLCLK = 2,
              CBN_SELCHANGE = 1, CBN_DBLCLK = 2, CBN_EDITCHANGE = 5, CBN_SELENDOK = 9 };

// Check states of buttons and command items.
enum : int { BST_UNCHECKED = 0, BST_CHECKED = 1, BST_INDETERMINATE = 2 };

// Popup-menu flags.
enum : UINT { MF_STRING = 0x0, MF_ENABLED = 0x0, MF_GRAYED = 0x1, MF_DISABLED = 0x2, MF_CHECKED = 0x8,
              MF_POPUP = 0x10, MF_SEPARATOR = 0x800, TPM_LEFTALIGN = 0x0, TPM_CENTERALIGN = 0x4,
              TPM_RIGHTALIGN = 0x8, TPM_RIGHTBUTTON = 0x2, TPM_RETURNCMD = 0x100 };

// List and combo results.
enum : int { LB_ERR = -1, CB_ERR = -1 };

// The status text shown while no command is being prompted.
inline constexpr const char* AFX_IDLE_MESSAGE = "Ready";
