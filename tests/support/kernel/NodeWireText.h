#pragma once
// Expression nodes to and from the kernel's full-form text, through a
// loopback link: what the kernel would send, and what a node writes.
#include <memory>
#include <string>

class ExprNode;

// A node read from full-form text, as the kernel would send it.
ExprNode* NodeFrom(const std::string& fullForm);
// The full form of what the node writes in package mode 0 (or 1 with the
// term-drag markers, 2 with the marked part).
std::string FullFormOf(const ExprNode* node, int mode = 0);
// The full form of what the node writes in plain form.
std::string PlainFormOf(const ExprNode* node);
std::string FullFormOf(std::unique_ptr<ExprNode> node);
