#include "helppage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

QString HelpPage::installedPath() {
    return QDir::cleanPath(QCoreApplication::applicationDirPath() +
                           QStringLiteral("/../share/doc/vok/help/index.html"));
}

QString HelpPage::path() {
    for (const QString& candidate :
         {installedPath(), QStringLiteral(VOK_SOURCE_DIR "/doc/help/index.html")}) {
        if (QFileInfo(candidate).isFile())
            return candidate;
    }
    return {};
}
