#pragma once

#include <QString>
#include <QTemporaryDir>

// A benchmark's data folder: projects x majors x actions in a temporary folder, with the engine
// configuration kept beside it so that a run never touches the user's.
class SizedFolder {
public:
    SizedFolder(int projects, int majors, int actions);

    const QString& path() const { return path_; }
    QString root() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
    QString path_;
};
