#include "resources/ResourceTexts.h"

// Dialog templates of the kernel link: calculation preferences, connection,
// the kernel's questions, term ordering and the start-up notice.
const char kKernelDialogResources[] = R"json({
  "dialogs": [
    { "id": 141, "caption": "Calculation Preferences", "size": [200, 132], "font": [8, "MS Sans Serif"],
      "controls": [
        ["check",     1002, "Put results at end",    7, 7, 120, 10],
        ["check",     1003, "Show kernel warnings",  7, 21, 120, 10],
        ["static",    -1,   "Default variable:",     7, 39, 70, 8],
        ["edit",      1105, "",                      80, 37, 60, 12],
        ["static",    -1,   "Transform variable:",   7, 57, 70, 8],
        ["edit",      1106, "",                      80, 55, 60, 12],
        ["static",    -1,   "Precision:",            7, 75, 70, 8],
        ["edit",      1107, "",                      80, 73, 30, 12],
        ["static",    -1,   "(Enter 0 for default)", 115, 75, 80, 8],
        ["static",    -1,   "Simplification level:", 7, 93, 70, 8],
        ["combo",     1075, "",                      80, 91, 60, 60],
        ["defbutton", 1,    "OK",                    87, 112, 50, 14],
        ["button",    2,    "Cancel",                143, 112, 50, 14] ] },

    { "id": 152, "caption": "Kernel Connection", "size": [220, 62], "font": [8, "MS Sans Serif"],
      "controls": [
        ["static",    -1,   "Kernel to connect to:", 7, 7, 100, 8],
        ["static",    1064, "",                      7, 19, 206, 16],
        ["button",    1063, "Change...",             7, 41, 50, 14],
        ["defbutton", 1,    "OK",                    107, 41, 50, 14],
        ["button",    2,    "Cancel",                163, 41, 50, 14] ] },

    { "id": 155, "caption": "Kernel Query", "size": [220, 70], "font": [8, "MS Sans Serif"],
      "controls": [
        ["static",    1093, "Select one of the following options", 7, 7, 206, 24],
        ["combo",     1075, "",       7, 33, 206, 80],
        ["defbutton", 1,    "OK",     107, 51, 50, 14],
        ["button",    2,    "Cancel", 163, 51, 50, 14] ] },

    { "id": 158, "caption": "Term Ordering", "size": [230, 162], "font": [8, "MS Sans Serif"],
      "controls": [
        ["list",      1077, "",                         7, 7, 110, 148, "vscroll", "notify"],
        ["check",     1078, "Reorder terms in results", 125, 7, 100, 10],
        ["check",     1099, "Move C terms to back",     125, 20, 100, 10],
        ["button",    1079, "Sort by Variable",         125, 36, 98, 14],
        ["button",    1080, "Sort by Priority",         125, 53, 98, 14],
        ["button",    1083, "New...",                   125, 72, 47, 14],
        ["button",    1084, "Edit...",                  176, 72, 47, 14],
        ["button",    1085, "Delete",                   125, 89, 47, 14],
        ["button",    1081, "Use Defaults",             125, 106, 98, 14],
        ["button",    1082, "Make Default",             125, 123, 98, 14],
        ["defbutton", 1,    "OK",                       125, 141, 47, 14],
        ["button",    2,    "Cancel",                   176, 141, 47, 14] ] },

    { "id": 159, "caption": "Edit Term Priority", "size": [170, 46], "font": [8, "MS Sans Serif"],
      "controls": [
        ["static",    -1,   "Symbol:",   7, 9, 40, 8],
        ["edit",      1084, "",          50, 7, 20, 12],
        ["static",    -1,   "Priority:", 7, 27, 40, 8],
        ["edit",      1085, "",          50, 25, 40, 12],
        ["defbutton", 1,    "OK",        113, 7, 50, 14],
        ["button",    2,    "Cancel",    113, 25, 50, 14] ] },

    { "id": 160, "caption": "Kernel Query", "size": [260, 150], "font": [8, "MS Sans Serif"],
      "controls": [
        ["static",    1086, "",       7, 7, 246, 20],
        ["static",    1087, "",       7, 31, 100, 8],
        ["static",    1092, "",       153, 31, 100, 8],
        ["list",      1088, "",       7, 42, 100, 80, "vscroll", "notify"],
        ["list",      1089, "",       153, 42, 100, 80, "vscroll", "notify"],
        ["button",    1090, "->",     113, 60, 34, 14],
        ["button",    1091, "<-",     113, 80, 34, 14],
        ["defbutton", 1,    "OK",     147, 129, 50, 14],
        ["button",    2,    "Cancel", 203, 129, 50, 14] ] },

    { "id": 164, "caption": "Kernel Startup", "size": [180, 50], "font": [8, "MS Sans Serif"],
      "controls": [
        ["static",    1096, "Starting the kernel...", 7, 9, 166, 16],
        ["button",    2,    "Cancel",                 65, 30, 50, 14] ] },

    { "id": 206, "caption": "Kernel Query", "size": [220, 60], "font": [8, "MS Sans Serif"],
      "controls": [
        ["static",    1093, "",    7, 7, 206, 28],
        ["defbutton", 1,    "Yes", 107, 40, 50, 14],
        ["button",    2,    "No",  163, 40, 50, 14] ] }
  ]
})json";
