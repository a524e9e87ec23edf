#include "faultsuites.h"

#include <QtTest>

class TestFuzz : public QObject {
    Q_OBJECT
};

int runFuzzTests(int argc, char** argv) {
    TestFuzz t;
    return QTest::qExec(&t, argc, argv);
}

#include "fuzztest.moc"
