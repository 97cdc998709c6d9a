#pragma once
// Loads the program's own resource texts into the resource store; false (with
// the reason) when one of them is malformed, which is a fault of the build.
#include <QString>

bool RegisterProgramResources(QString* error = nullptr);
