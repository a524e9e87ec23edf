#include "sizedfolder.h"

#include "data/datafolder.h"

#include <QDir>
#include <QElapsedTimer>
#include <cstdio>

SizedFolder::SizedFolder(int projects, int majors, int actions)
    : path_(QDir(dir_.path()).filePath(QStringLiteral("data"))) {
    qputenv("VOK_ENGINE_CONFIG",
            QDir(dir_.path()).filePath(QStringLiteral("engine.cfg")).toLocal8Bit());
    QElapsedTimer t;
    t.start();
    DataFolder::createSized(path_, projects, majors, actions);
    std::printf("data folder: %d x %d x %d created in %lld ms\n", projects, majors, actions,
                t.elapsed());
}
