#pragma once
// The commands of the Element menu (32850-32871) and of the element toolbar
// (32791-32812, each acting as its id + 59): what each one creates.
#include "platform/framework/AfxTypes.h"

class DocSelection;
class TextComp;

enum : UINT {
    ID_ELEMENT_FIRST = 32850,
    ID_ELEMENT_FRACTION = 32850,
    ID_ELEMENT_EXPONENT = 32851,
    ID_ELEMENT_SUBSCRIPT = 32852,
    ID_ELEMENT_RADICAL = 32853,
    ID_ELEMENT_OVERSCRIPT = 32854,
    ID_ELEMENT_TOTAL_DERIVATIVE = 32855,
    ID_ELEMENT_PRIME = 32856,
    ID_ELEMENT_DOUBLE_PRIME = 32857,
    ID_ELEMENT_PARTIAL_DERIVATIVE = 32858,
    ID_ELEMENT_INTEGRAL = 32859,
    ID_ELEMENT_SUMMATION = 32860,
    ID_ELEMENT_LIMIT = 32861,
    ID_ELEMENT_MATRIX = 32862,
    ID_ELEMENT_TABLE = 32863,
    ID_ELEMENT_EQUATION_SET = 32864,
    ID_ELEMENT_SPLIT_DEFINITION = 32865,
    ID_ELEMENT_GROUP = 32866,
    ID_ELEMENT_ABSOLUTE_VALUE = 32867,
    ID_ELEMENT_TWO_D_PLOT = 32868,
    ID_ELEMENT_THREE_D_PLOT = 32869,
    ID_ELEMENT_LINK = 32870,
    ID_ELEMENT_DRAWING = 32871,
    ID_ELEMENT_LAST = 32871,

    ID_ELEMENT_BUTTON_FIRST = 32791,
    ID_ELEMENT_BUTTON_LAST = 32812,
    kElementButtonOffset = 59,

    ID_INSERT_ROW = 32501,
    ID_INSERT_COLUMN = 32502,
    ID_INSERT_DERIVATIVE = 32503,
};

// The menu command a toolbar button stands for (ids outside the toolbar
// are their own).
inline UINT ElementMenuCommand(UINT id)
{
    return id >= ID_ELEMENT_BUTTON_FIRST && id <= ID_ELEMENT_BUTTON_LAST ? id + kElementButtonOffset : id;
}

// The component an element command makes by itself, new and empty; null
// for the commands that ask first (overscript, matrix, table, equation set,
// split definition, link) and for those whose components belong to other
// parts of the program (plots, drawings).
TextComp* MakeElementComponent(UINT id);

// Whether an element may not go where the selection is.
bool IsElementRefusedAt(UINT id, const DocSelection& selection);
