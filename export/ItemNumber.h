#pragma once
// The number the screen shows before a numbered item ("2.1." for a
// sub-item), which the exports write where a page's own list numbering
// cannot show it.
#include <string>

class CompList;

// The label text of the paragraph whose row this is (program codes); empty
// for a row of no paragraph, or of a paragraph without a number.
std::string ItemNumber(const CompList& row);
