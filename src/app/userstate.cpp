#include "userstate.h"

#include "framework/io/fileerror.h"
#include "framework/io/filewriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QStandardPaths>

namespace {

QMap<QString, QString> readAll() {
    QMap<QString, QString> values;
    QFile file(UserState::path());
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return values;
    // A few short lines; a file grown past any state Vok writes is not this one.
    if (file.size() > 64 * 1024)
        return values;
    for (const QByteArray& line : file.readAll().split('\n')) {
        const qsizetype eq = line.indexOf('=');
        if (eq > 0)
            values.insert(QString::fromUtf8(line.left(eq)).trimmed(),
                          QString::fromUtf8(line.mid(eq + 1)).trimmed());
    }
    return values;
}

} // namespace

QString UserState::path() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Vok/state.conf");
}

int UserState::value(const QString& key, int fallback) {
    bool ok = false;
    const int v = readAll().value(key).toInt(&ok);
    return ok ? v : fallback;
}

bool UserState::setValue(const QString& key, int value) {
    QMap<QString, QString> values = readAll();
    values.insert(key, QString::number(value));
    QByteArray bytes;
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        bytes += it.key().toUtf8() + '=' + it.value().toUtf8() + '\n';
    try {
        if (!QDir().mkpath(QFileInfo(path()).absolutePath()))
            return false;
        vok::FileWriter::write(path(), bytes);
    } catch (const vok::FileError&) {
        return false;
    }
    return true;
}
