#pragma once
// What an export tells the user when its file could not be written.
#include <string>

class CException;

// The export commands' messages name the chosen file already: a failure of
// that file is told by its reason alone ("The disk is full"), a failure of
// anything else (a picture beside it) by its whole text, which names it.
std::string ExportFailureText(const CException& failure, const std::string& path);
