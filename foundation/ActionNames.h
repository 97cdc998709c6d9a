#pragma once
// The names of the undoable actions, by their string id (2000-2020), as the
// Edit menu shows them after "Undo " or "Redo ".

#include <cstdint>

class Str255;

namespace ActionNames {

constexpr int16_t kCopy = 2000;
constexpr int16_t kCut = 2001;
constexpr int16_t kPaste = 2002;
constexpr int16_t kDelete = 2003;
constexpr int16_t kNewParagraph = 2004;
constexpr int16_t kCreateObject = 2005;
constexpr int16_t kTyping = 2006;
constexpr int16_t kReduce = 2007;
constexpr int16_t kInsertColumn = 2008;
constexpr int16_t kInsertRow = 2009;
constexpr int16_t kInsertDerivative = 2010;
constexpr int16_t kInsertExpression = 2011;
constexpr int16_t kRemoveParagraphBreak = 2012;
constexpr int16_t kCalculation = 2013;
constexpr int16_t kCantUndo = 2014;
constexpr int16_t kAddConstraint = 2015;
constexpr int16_t kAddShape = 2016;
constexpr int16_t kAddLabel = 2017;
constexpr int16_t kUpdateDiagram = 2018;
constexpr int16_t kMove = 2019;
constexpr int16_t kAddSegment = 2020;

// The text of the id; empty for an id outside 2000..2020.
const char* Text(int id);
void Load(int id, Str255& out);

} // namespace ActionNames
