#pragma once
// The fixture of the tests that have the real kernel program compute plots:
// the kernel's and the plots' component classes registered, the built
// kernel program started for each test and quit after it.
#include "kernel/link/LinkTestSupport.h"

#include "kernel/KernelLink.h"
#include "kernel/KernelServices.h"
#include "plot/PlotComponents.h"
#include "support/math/MathTestSupport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

class PlotKernelTest : public MathTest {
protected:
    void SetUp() override
    {
        InstallKernelServices();
        RegisterPlotComponents();
        UseBuiltKernel(link, questions, settings.path().toStdString());
        ASSERT_TRUE(StartAndWait(link));
    }
    void TearDown() override { StopBuiltKernel(link); }

    QTemporaryDir settings;
    KernelLink link;
    ScriptedQuestions questions;
};
