#include "resources/ResourceTexts.h"

// Dialog templates of the editor itself: About, the element dialogs, page
// numbering, links, line properties, text preferences, find and replace,
// slides, and the panels of the kernel's expression-input frame.
const char kShellDialogResources[] = R"json({
  "dialogs": [
    { "id": 100, "caption": "About Quorvant", "size": [250, 62], "font": [8, "MS Sans Serif"],
      "controls": [
        ["picture",   -1,   "icon:quorvant",                        7, 7, 20, 20],
        ["static",    -1,   "Quorvant Version 1.0",                 36, 9, 150, 8],
        ["static",    -1,   "An editor of mathematical documents",  36, 21, 150, 8],
        ["static",    -1,   "Copyright (C) Tarnwick",               36, 33, 150, 8],
        ["defbutton", 1,    "OK",                                   193, 7, 50, 14] ] },

    { "id": 132, "caption": "Create Matrix", "size": [170, 46], "font": [8, "MS Sans Serif"],
      "controls": [
        ["static",    -1,   "Number of Rows:",    7, 9, 70, 8],
        ["edit",      1000, "",                   80, 7, 30, 12, "number"],
        ["static",    -1,   "Number of Columns:", 7, 27, 70, 8],
        ["edit",      1001, "",                   80, 25, 30, 12, "number"],
        ["defbutton", 1,    "OK",                 118, 7, 45, 14],
        ["button",    2,    "Cancel",             118, 25, 45, 14] ] },

    { "id": 133, "caption": "Create Table", "size": [170, 46], "font": [8, "MS Sans Serif"],
      "controls": [
        ["static",    -1,   "Number of Rows:",    7, 9, 70, 8],
        ["edit",      1000, "",                   80, 7, 30, 12, "number"],
        ["static",    -1,   "Number of Columns:", 7, 27, 70, 8],
        ["edit",      1001, "",                   80, 25, 30, 12, "number"],
        ["defbutton", 1,    "OK",                 118, 7, 45, 14],
        ["button",    2,    "Cancel",             118, 25, 45, 14] ] },

    { "id": 134, "caption": "Create Equation Set", "size": [170, 46], "font": [8, "MS Sans Serif"],
      "controls": [
        ["static",    -1,   "Number of entries:", 7, 9, 70, 8],
        ["edit",      1000, "",                   80, 7, 30, 12, "number"],
        ["defbutton", 1,    "OK",                 118, 7, 45, 14],
        ["button",    2,    "Cancel",             118, 25, 45, 14] ] },

    { "id": 135, "caption": "Create Split Definition", "size": [170, 46], "font": [8, "MS Sans Serif"],
      "controls": [
        ["static",    -1,   "Number of entries:", 7, 9, 70, 8],
        ["edit",      1000, "",                   80, 7, 30, 12, "number"],
        ["defbutton", 1,    "OK",                 118, 7, 45, 14],
        ["button",    2,    "Cancel",             118, 25, 45, 14] ] },

    { "id": 136, "caption": "Page Numbering", "size": [190, 46], "font": [8, "MS Sans Serif"],
      "controls": [
        ["check",     1002, "Number printed pages", 7, 8, 110, 10],
        ["static",    -1,   "Number pages from",    7, 27, 70, 8],
        ["edit",      1000, "",                     80, 25, 40, 12, "number"],
        ["defbutton", 1,    "OK",                   133, 7, 50, 14],
        ["button",    2,    "Cancel",               133, 25, 50, 14] ] },

    { "id": 154, "caption": "Text Preferences", "size": [224, 95], "font": [8, "MS Sans Serif"],
      "controls": [
        ["static",    -1,   "Text font",   7, 10, 44, 8],
        ["combo",     1073, "",            55, 8, 160, 100, "vscroll", "tabstop"],
        ["static",    -1,   "Bold font",   7, 30, 44, 8],
        ["combo",     1074, "",            55, 28, 160, 100, "vscroll", "tabstop"],
        ["static",    -1,   "Italic font", 7, 50, 44, 8],
        ["combo",     1075, "",            55, 48, 160, 100, "vscroll", "tabstop"],
        ["defbutton", 1,    "OK",          111, 74, 50, 14, "tabstop"],
        ["button",    2,    "Cancel",      167, 74, 50, 14, "tabstop"] ] },

    { "id": 162, "caption": "", "size": [220, 19], "font": [8, "MS Sans Serif"],
      "controls": [
        ["defbutton", 1094, "OK",     110, 2, 50, 14],
        ["button",    1095, "Cancel", 166, 2, 50, 14] ] },

    { "id": 167, "caption": "Link Properties", "size": [250, 64], "font": [8, "MS Sans Serif"],
      "controls": [
        ["static",    -1,   "URL",             7, 9, 55, 8],
        ["edit",      1097, "",                65, 7, 178, 12],
        ["static",    -1,   "Text to display", 7, 27, 55, 8],
        ["edit",      1098, "",                65, 25, 178, 12],
        ["defbutton", 1,    "OK",              137, 44, 50, 14],
        ["button",    2,    "Cancel",          193, 44, 50, 14] ] },

    { "id": 172, "caption": "", "size": [220, 27], "font": [8, "MS Sans Serif"],
      "controls": [
        ["static",    1093, "", 7, 4, 206, 19] ] },

    { "id": 175, "caption": "Find and Replace", "size": [260, 96], "font": [8, "MS Sans Serif"],
      "controls": [
        ["static",    -1,   "Find:",            7, 9, 45, 8],
        ["edit",      1108, "",                 55, 7, 120, 12],
        ["static",    -1,   "Replace with:",    7, 27, 45, 8],
        ["edit",      1109, "",                 55, 25, 120, 12],
        ["defbutton", 1110, "Find",             183, 7, 70, 14],
        ["button",    1111, "Replace",          183, 24, 70, 14],
        ["button",    1112, "Replace and Find", 183, 41, 70, 14],
        ["button",    1113, "Replace All",      183, 58, 70, 14],
        ["button",    2,    "Cancel",           183, 75, 70, 14] ] },

    { "id": 177, "caption": "Create Overscript", "size": [200, 94], "font": [8, "MS Sans Serif"],
      "controls": [
        ["group",     -1,   "Overscript",     7, 4, 128, 54],
        ["radio",     1054, "hat",            14, 17, 50, 10, "group"],
        ["radio",     1055, "tilde",          14, 30, 50, 10],
        ["radio",     1118, "dot",            14, 43, 50, 10],
        ["radio",     1119, "double dot",     72, 17, 56, 10],
        ["radio",     1120, "vector",         72, 30, 56, 10],
        ["radio",     1121, "bar",            72, 43, 56, 10],
        ["static",    -1,   "Text contents:", 7, 64, 70, 8],
        ["edit",      1000, "",               7, 75, 128, 12],
        ["defbutton", 1,    "OK",             143, 7, 50, 14],
        ["button",    2,    "Cancel",         143, 25, 50, 14] ] },

    { "id": 185, "caption": "Enter variable value", "size": [186, 46], "font": [8, "MS Sans Serif"],
      "controls": [
        ["static",    -1,   "Variable:", 7, 9, 40, 8],
        ["static",    1124, "",          50, 9, 72, 8],
        ["static",    -1,   "Value:",    7, 27, 40, 8],
        ["edit",      1000, "",          50, 25, 72, 12],
        ["defbutton", 1,    "OK",        129, 7, 50, 14],
        ["button",    2,    "Cancel",    129, 25, 50, 14] ] },

    { "id": 194, "caption": "Line Properties", "size": [175, 108], "font": [8, "MS Sans Serif"],
      "controls": [
        ["static",    -1,   "Line thickness:",  7, 9, 55, 8],
        ["combo",     1076, "",                 65, 7, 70, 60],
        ["static",    -1,   "Dashing:",         7, 27, 55, 8],
        ["combo",     1075, "",                 65, 25, 103, 80],
        ["static",    -1,   "Line color:",      7, 47, 55, 8],
        ["static",    1128, "",                 65, 45, 30, 12],
        ["button",    1126, "Change...",        103, 44, 50, 14],
        ["check",     1003, "Left Arrow Head",  7, 67, 80, 10],
        ["check",     1004, "Right Arrow Head", 90, 67, 80, 10],
        ["defbutton", 1,    "OK",               62, 87, 50, 14],
        ["button",    2,    "Cancel",           118, 87, 50, 14] ] },

    { "id": 208, "caption": "Organize Slides", "size": [330, 190], "font": [8, "MS Sans Serif"],
      "controls": [
        ["list",      1134, "",       7, 7, 110, 176, "ownerdraw", "vscroll", "notify"],
        ["picture",   1135, "",       125, 7, 198, 149],
        ["defbutton", 1,    "OK",     217, 169, 50, 14],
        ["button",    2,    "Cancel", 273, 169, 50, 14] ] }
  ]
})json";
