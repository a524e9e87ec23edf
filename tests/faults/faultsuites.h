#pragma once

#include <QtGlobal>

// The fault suites of tst_faults, each run on its own by CTest ("tst_faults crash").
int runCrashTests(int argc, char** argv);
int runConcurrencyTests(int argc, char** argv);
int runBadInputTests(int argc, char** argv);
int runHardeningTests(int argc, char** argv);
int runFuzzTests(int argc, char** argv);
int runRaceTests(int argc, char** argv);

// The seed of the random choices, VOK_FAULT_SEED when set; printed when a test fails so that the
// run can be repeated.
quint32 faultSeed();
