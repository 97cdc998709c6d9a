#pragma once
// Loads the program's own resource texts into the resource store and draws
// its pictures (so a QGuiApplication must exist); false (with the reason)
// when one of the texts is malformed, which is a fault of the build.
#include <QString>

bool RegisterProgramResources(QString* error = nullptr);
