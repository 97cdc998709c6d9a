#pragma once
// The edit codes a typed key maps to (DocSelection::MapKey and the
// components' own key rules); the view runs the action that belongs to each.
namespace EditCode {
enum : int {
    kDerivVarSlot = 1301,      // caret to the slot beside the current derivative variable
    kDerivNextVar = 1302,      // select the next derivative variable
    kNone = 2000,              // no editing meaning
    kDelete = 2801,            // delete the selection
    kNewParagraph = 2802,      // new paragraph after the caret
    kToggleParagraph = 2803,   // new paragraph, toggling between formula and text
    kJoinParagraphs = 2804,    // remove the paragraph break before the caret's paragraph
    kPreviousField = 2805,
    kNextField = 2806,
    kSelectPrevious = 2807,    // select the place before the caret
    kReduce = 2808,            // replace the selected enclosure by its content
    kNextGridLine = 2902,      // next grid line or variable slot
    kPreviousGridLine = 2903,
    kLeaveAfter = 2904,
    kLeaveBefore = 2905,
    kNextRowCell = 2906,
    kNextCell = 2907,
    kCellToColumnLine = 2908,
    kCellToRowLine = 2909,
    kType = 3001,              // the character is typed
    kTypeTab = 3002,           // a tab character is typed
    kInsertColumn = 3004,
    kInsertRow = 3005,
    kInsertDerivative = 3006,
    kInsertExpression = 3007,
};
} // namespace EditCode
