#include "resources/ResourceTexts.h"

// The plot parameter dialogs: 147 for two-dimensional plots, 148 for
// three-dimensional ones (with the picture of the axes, image "bitmap:149").
const char kPlotDialogResources[] = R"json({
  "dialogs": [
    { "id": 147, "caption": "Plot Parameters", "size": [242, 121], "font": [8, "MS Sans Serif"],
      "controls": [
        ["group",     -1,   "Horizontal Axis", 9, 4, 100, 85],
        ["static",    -1,   "Variable:",       9, 19, 45, 10],
        ["edit",      1000, "",                64, 18, 30, 12],
        ["static",    -1,   "Left End:",       14, 44, 40, 10],
        ["edit",      1001, "",                64, 43, 30, 12],
        ["static",    -1,   "Right End:",      9, 69, 45, 10],
        ["edit",      1056, "",                64, 68, 30, 12],
        ["group",     -1,   "Vertical Axis",   132, 4, 100, 85],
        ["static",    -1,   "Variable:",       134, 19, 45, 10],
        ["edit",      1057, "",                190, 18, 30, 12],
        ["static",    -1,   "Lower End:",      139, 44, 40, 10],
        ["edit",      1058, "",                190, 43, 30, 12],
        ["static",    -1,   "Upper End:",      134, 69, 45, 10],
        ["edit",      1059, "",                190, 68, 30, 12],
        ["button",    2,    "Cancel",          110, 100, 50, 14],
        ["defbutton", 1,    "OK",              180, 100, 50, 14] ] },

    { "id": 148, "caption": "Plot Parameters", "size": [222, 215], "font": [8, "MS Sans Serif"],
      "controls": [
        ["group",     -1,   "Axis One",   10, 5, 90, 85],
        ["static",    -1,   "Variable:",  14, 20, 35, 12],
        ["static",    -1,   "Minimum:",   14, 44, 35, 12],
        ["static",    -1,   "Maximum:",   14, 69, 35, 12],
        ["edit",      1000, "",           57, 20, 33, 15],
        ["edit",      1001, "",           57, 44, 33, 14],
        ["edit",      1056, "",           57, 69, 33, 14],
        ["picture",   -1,   "bitmap:149", 133, 16, 64, 59],
        ["group",     -1,   "Axis Two",   10, 97, 90, 85],
        ["static",    -1,   "Variable:",  14, 112, 35, 12],
        ["static",    -1,   "Minimum:",   14, 136, 35, 12],
        ["static",    -1,   "Maximum:",   14, 161, 35, 12],
        ["edit",      1057, "",           57, 112, 33, 14],
        ["edit",      1058, "",           57, 137, 33, 14],
        ["edit",      1059, "",           57, 162, 33, 14],
        ["group",     -1,   "Axis Three", 120, 97, 90, 85],
        ["static",    -1,   "Variable:",  125, 112, 35, 12],
        ["static",    -1,   "Minimum:",   125, 136, 35, 12],
        ["static",    -1,   "Maximum:",   125, 161, 35, 12],
        ["edit",      1060, "",           167, 112, 33, 14],
        ["edit",      1061, "",           167, 137, 33, 14],
        ["edit",      1062, "",           167, 162, 33, 14],
        ["button",    2,    "Cancel",     95, 193, 50, 14],
        ["defbutton", 1,    "OK",         160, 193, 50, 14] ] }
  ]
})json";
