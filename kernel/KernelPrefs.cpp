#include "kernel/KernelPrefs.h"

#include "kernel/NodeSettings.h"
#include "platform/AppProfile.h"

namespace {

std::string VariableOr(const char* key, const char* fallback)
{
    std::string value = AppProfile::GetProfileString(KernelPrefs::kSection, key);
    if (value.empty() || value.size() > std::size_t(KernelPrefs::kMaxVariableLength))
        return fallback;
    return value;
}

} // namespace

void KernelPrefs::Load()
{
    resultsAtEnd = AppProfile::GetProfileInt(kSection, "Results at end", 0) != 0;
    showWarnings = AppProfile::GetProfileInt(kSection, "Show Warnings", 0) != 0;
    defaultVariable = VariableOr("Default Variable", "x");
    transformVariable = VariableOr("Transform Variable", "xi");
    precision = AppProfile::GetProfileInt(kSection, "Precision", 0);
    simplificationLevel = AppProfile::GetProfileInt(kSection, "Simplification level", kMediumSimplification);
    if (precision < 0)
        precision = 0;
    if (simplificationLevel < kLowSimplification || simplificationLevel > kHighSimplification)
        simplificationLevel = kMediumSimplification;
}

void KernelPrefs::Save() const
{
    AppProfile::WriteProfileString(kSection, "Default Variable", defaultVariable);
    AppProfile::WriteProfileString(kSection, "Transform Variable", transformVariable);
    AppProfile::WriteProfileInt(kSection, "Precision", precision);
    AppProfile::WriteProfileInt(kSection, "Results at end", resultsAtEnd ? 1 : 0);
    AppProfile::WriteProfileInt(kSection, "Show Warnings", showWarnings ? 1 : 0);
    AppProfile::WriteProfileInt(kSection, "Simplification level", simplificationLevel);
}

void KernelPrefs::Apply() const
{
    NodeSettings& settings = NodeSettings::Get();
    settings.defaultVariable = defaultVariable;
    settings.transformVariable = transformVariable;
    settings.precision = precision;
}

std::string KernelPrefs::Problem() const
{
    for (const std::string* name : {&defaultVariable, &transformVariable}) {
        if (name->empty())
            return "Please enter a variable.";
        if (name->size() > std::size_t(kMaxVariableLength))
            return "Please enter no more than 31 characters.";
    }
    if (precision < 0)
        return "Please enter a precision of 0 or more.";
    if (simplificationLevel < kLowSimplification || simplificationLevel > kHighSimplification)
        return "Please choose a simplification level.";
    return {};
}
