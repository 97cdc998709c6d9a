#pragma once
// How a drawing asks the user for the value of a named variable it needs
// (the "Enter variable value" dialog). The application installs the dialog;
// without one the question goes to the kernel link's expression question,
// and without that it is cancelled.
#include <functional>
#include <string>

// True on OK with the value typed; false on Cancel.
using VariableValueQuestion = std::function<bool(const std::string& name, double& value)>;

// Installs the question; answers the one it replaces.
VariableValueQuestion SetVariableValueQuestion(VariableValueQuestion question);
bool AskVariableValue(const std::string& name, double& value);
