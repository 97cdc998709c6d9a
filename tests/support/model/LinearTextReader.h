#pragma once
// Reads linear text back as a number, so tests can check that a component's
// text form means the same mathematics as the component.
#include <optional>
#include <string>

// The value of the arithmetic in text (letters a=3, b=5, c=7, n=4, r=9, x=2,
// y=11, z=13), or nothing when the text cannot be read.
std::optional<double> ReadBack(const std::string& text);
