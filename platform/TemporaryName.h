#pragma once
// The name of a temporary file beside a file: hidden, ending in a tag that
// makes it the writer's own, and never longer than the file's own name (nor
// than a short name, for files of short names). A folder that takes the
// file's name therefore takes the temporary's too: a name that can be
// saved or exported can be written again over its earlier file.
#include <string>

// The length of the longest start of text, at most bytes long, that ends
// between two UTF-8 characters.
std::size_t WholeCharactersWithin(const std::string& text, std::size_t bytes);

// "." + as much of the name as fits (whole UTF-8 characters) + "." + tag.
std::string TemporaryNameFor(const std::string& name, const std::string& tag);
