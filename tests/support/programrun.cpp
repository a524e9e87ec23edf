#include "programrun.h"

#include <QProcess>

ProgramRun ProgramRun::of(const QString& program, const QStringList& arguments,
                          const QProcessEnvironment& environment, const QString& folder) {
    QProcess p;
    p.setProcessEnvironment(environment);
    if (!folder.isEmpty())
        p.setWorkingDirectory(folder);
    p.start(program, arguments);
    ProgramRun r;
    if (!p.waitForFinished(120000))
        return r;
    r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromLocal8Bit(p.readAllStandardOutput());
    r.err = QString::fromLocal8Bit(p.readAllStandardError());
    return r;
}
