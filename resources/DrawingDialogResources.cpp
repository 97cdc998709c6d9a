#include "resources/ResourceTexts.h"

// Dialog templates of the drawing commands: colour and fill, drawing
// properties, a value display's properties, choosing a named variable and
// typing a vertex's coordinates.
const char kDrawingDialogResources[] = R"json({
  "dialogs": [
    { "id": 191, "caption": "Variable Properties", "size": [186, 69], "font": [8, "MS Sans Serif"],
      "controls": [
        ["static",    -1,   "Variable Value:", 7, 9, 55, 8],
        ["edit",      1000, "",                65, 7, 114, 12],
        ["check",     1002, "Locked",          7, 27, 60, 10],
        ["defbutton", 1,    "OK",              73, 48, 50, 14],
        ["button",    2,    "Cancel",          129, 48, 50, 14] ] },

    { "id": 192, "caption": "Color and Fill", "size": [175, 142], "font": [8, "MS Sans Serif"],
      "controls": [
        ["static",    -1,   "Line thickness:", 7, 9, 60, 8],
        ["combo",     1076, "",                70, 7, 98, 60],
        ["static",    -1,   "Dashing:",        7, 27, 60, 8],
        ["combo",     1075, "",                70, 25, 98, 80],
        ["static",    -1,   "Line color:",     7, 47, 60, 8],
        ["static",    1128, "",                70, 45, 30, 12],
        ["button",    1126, "Change...",       108, 44, 50, 14],
        ["check",     1002, "Use fill",        7, 70, 60, 10],
        ["static",    -1,   "Fill color:",     7, 88, 60, 8],
        ["static",    1129, "",                70, 86, 30, 12],
        ["button",    1127, "Change...",       108, 85, 50, 14],
        ["defbutton", 1,    "OK",              62, 121, 50, 14],
        ["button",    2,    "Cancel",          118, 121, 50, 14] ] },

    { "id": 198, "caption": "Drawing Properties", "size": [172, 261], "font": [8, "MS Sans Serif"],
      "controls": [
        ["group",     -1,   "Drawing Size",          7, 4, 158, 74],
        ["static",    -1,   "Width:",                14, 19, 30, 8],
        ["edit",      1001, "",                      48, 17, 40, 12],
        ["combo",     1075, "",                      94, 17, 64, 60],
        ["static",    -1,   "Height:",               14, 37, 30, 8],
        ["edit",      1056, "",                      48, 35, 40, 12],
        ["combo",     1076, "",                      94, 35, 64, 60],
        ["static",    -1,   "Points are screen pixels of 1/96 inch.", 14, 51, 144, 8],
        ["check",     1002, "Show Frame",            14, 63, 80, 10],
        ["group",     -1,   "Plotting",              7, 82, 158, 62],
        ["check",     1003, "Show Axes",             14, 95, 80, 10],
        ["static",    -1,   "Independent variable:", 14, 111, 75, 8],
        ["edit",      1057, "",                      92, 109, 66, 12],
        ["static",    -1,   "Dependent variable:",   14, 127, 75, 8],
        ["edit",      1058, "",                      92, 125, 66, 12],
        ["group",     -1,   "Background Grid",       7, 150, 158, 82],
        ["check",     1004, "Show Grid Lines",       14, 163, 80, 10],
        ["static",    -1,   "Line thickness:",       14, 181, 60, 8],
        ["combo",     1131, "",                      78, 179, 80, 60],
        ["static",    -1,   "Line color:",           14, 201, 60, 8],
        ["static",    1128, "",                      78, 199, 30, 12],
        ["button",    1126, "Change...",             114, 198, 44, 14],
        ["defbutton", 1,    "OK",                    59, 240, 50, 14],
        ["button",    2,    "Cancel",                115, 240, 50, 14] ] },

    { "id": 205, "caption": "Create Vertex", "size": [143, 90], "font": [8, "MS Sans Serif"],
      "controls": [
        ["static",    -1,   "x Coordinate:", 7, 12, 50, 8],
        ["edit",      1132, "",              62, 10, 60, 12],
        ["static",    -1,   "y Coordinate:", 7, 32, 50, 8],
        ["edit",      1133, "",              62, 30, 60, 12],
        ["defbutton", 1,    "OK",            14, 66, 50, 14],
        ["button",    2,    "Cancel",        79, 66, 50, 14] ] },

    { "id": 207, "caption": "Variable Values", "size": [186, 61], "font": [8, "MS Sans Serif"],
      "controls": [
        ["static",    1093, "Select a variable:", 7, 9, 80, 8],
        ["combo",     1075, "",                   7, 21, 172, 80],
        ["defbutton", 1,    "OK",                 73, 40, 50, 14],
        ["button",    2,    "Cancel",             129, 40, 50, 14] ] }
  ]
})json";
