#include "kernel/KernelSettings.h"

#include "platform/AppProfile.h"

KernelSettings::KernelSettings() : kernelPath(AppProfile::GetProfileString(kSection, kPathKey))
{
}

void KernelSettings::Save() const
{
    AppProfile::WriteProfileString(kSection, kPathKey, kernelPath);
}
