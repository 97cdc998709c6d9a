#pragma once
// The kernel's expression questions answered in the expression-input frame:
// the user types the answer as mathematics in an equation paragraph (which
// starts with the question's initial expression, if any), and the typed
// paragraph becomes the answer's expression.
#include <string>

class ExprNode;

// The typed expression (owned by the caller), or null when the user
// cancelled. With selectPart, the part the user left selected is marked.
ExprNode* AskExpressionInQueryFrame(const std::string& prompt, const ExprNode* initial, bool selectPart);
