#include "sizedfolder.h"

#include "data/datafolder.h"
#include "data/datafoldercopy.h"

#include <QDir>
#include <QElapsedTimer>
#include <cstdio>

SizedFolder::SizedFolder(int projects, int majors, int actions)
    : folder_(QDir(dir_.path()).filePath(QStringLiteral("data"))) {
    qputenv("VOK_ENGINE_CONFIG",
            QDir(dir_.path()).filePath(QStringLiteral("engine.cfg")).toLocal8Bit());
    QElapsedTimer t;
    t.start();
    DataFolder::createSized(folder_, projects, majors, actions);
    location_ = onEngine(folder_);
    std::printf("engine: %s\n", engineName());
    std::printf("data folder: %d x %d x %d created in %lld ms\n", projects, majors, actions,
                t.elapsed());
}

bool SizedFolder::onServer() {
    return qEnvironmentVariable("VOK_BENCH_ENGINE") == QLatin1String("postgresql");
}

const char* SizedFolder::engineName() {
    return onServer() ? "postgresql (the server over its Unix socket)" : "sqlite";
}

QString SizedFolder::onEngine(const QString& folder) {
    if (!onServer())
        return folder;
    if (ServerScratch::serverUri().isEmpty())
        qFatal("VOK_BENCH_ENGINE=postgresql needs a server in VOK_TEST_POSTGRESQL "
               "(scripts/with-postgres.sh starts one)");
    const QString uri = scratch_.create();
    DataFolderCopy::run(folder, uri);
    return uri;
}
