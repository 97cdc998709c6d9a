#pragma once
// The resource texts compiled into the program, one per topic.

// The framework's own strings: standard command prompts and the status
// bar's indicators.
extern const char kFrameworkResources[];
