#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// One run of a program to its end, as a user or a script would start it.
struct ProgramRun {
    // The exit status; -1 when the program crashed or did not end within two minutes.
    int status = -1;
    QString out;
    QString err;

    static ProgramRun
    of(const QString& program, const QStringList& arguments,
       const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment(),
       const QString& folder = {});
};
