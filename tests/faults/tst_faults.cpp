// Data that survives crashes, several processes on one folder and bad input. Run one suite by its
// name ("tst_faults crash"), or all of them.
#include "faultsuites.h"

#include <QApplication>
#include <QByteArray>
#include <cstring>
#include <vector>

quint32 faultSeed() {
    bool ok = false;
    const quint32 seed = qEnvironmentVariable("VOK_FAULT_SEED").toUInt(&ok);
    return ok ? seed : 20240301u;
}

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const struct {
        const char* name;
        int (*run)(int, char**);
    } suites[] = {{"crash", runCrashTests},       {"concurrency", runConcurrencyTests},
                  {"badinput", runBadInputTests}, {"hardening", runHardeningTests},
                  {"fuzz", runFuzzTests},         {"race", runRaceTests}};
    // The suite's name goes; QtTest reads the rest of the arguments.
    std::vector<char*> args(argv, argv + argc);
    const char* chosen = nullptr;
    if (args.size() > 1 && args[1][0] != '-') {
        chosen = args[1];
        args.erase(args.begin() + 1);
    }
    int failed = 0;
    for (const auto& s : suites) {
        if (!chosen || std::strcmp(chosen, s.name) == 0)
            failed += s.run(static_cast<int>(args.size()), args.data());
    }
    return failed;
}
