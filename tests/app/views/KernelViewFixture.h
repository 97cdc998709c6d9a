#pragma once
// A document view against the real kernel program of the build tree, started
// with its own settings, and input held while the kernel computes, as in the
// program. Questions is the test's KernelQuestions.
#include "app/views/ViewFixture.h"

#include "app/CalculationHold.h"
#include "kernel/KernelLink.h"
#include "kernel/KernelServices.h"
#include "platform/InputGate.h"
#include "platform/framework/InputGateFilter.h"
#include "support/kernel/KernelProgram.h"

#include <QTemporaryDir>

template <class Questions>
class KernelViewTest : public ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        InstallKernelServices();
        previousHold = InputGate::Install(&hold);
        InputGateFilter::Install();
        UseBuiltKernel(link, questions, settings.path().toStdString());
        ASSERT_TRUE(StartAndWait(link));
    }
    void TearDown() override
    {
        StopBuiltKernel(link);
        InputGate::Install(previousHold);
        ViewTest::TearDown();
    }

    QTemporaryDir settings;
    KernelLink link;
    Questions questions;
    CalculationHold hold;
    InputHold* previousHold = nullptr;
};
