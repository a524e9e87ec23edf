#include "command.h"

#include "framework/io/fileerror.h"
#include "framework/io/outputtarget.h"
#include "terminaldevice.h"

#include <QCommandLineParser>

QCommandLineOption Command::dataOption() {
    return QCommandLineOption(
        QStringLiteral("data"),
        QStringLiteral("The data folder, or a PostgreSQL URI (postgresql://user@host:port/db)."),
        QStringLiteral("DIR"));
}

QString Command::required(const QCommandLineParser& parser, const QString& option) {
    const QString value = single(parser, option);
    if (value.isEmpty())
        throw UsageError(QStringLiteral("--%1 is required").arg(option));
    return value;
}

QString Command::single(const QCommandLineParser& parser, const QString& option) {
    const QStringList values = parser.values(option);
    if (values.size() > 1)
        throw UsageError(QStringLiteral("--%1 is given more than once").arg(option));
    return values.isEmpty() ? QString() : values.first();
}

QTextStream& Command::out() {
    static TerminalDevice device(stdout);
    static QTextStream s(&device);
    return s;
}

QTextStream& Command::err() {
    static TerminalDevice device(stderr);
    static QTextStream s(&device);
    return s;
}

void Command::refuseDataTarget(const QString& path, const QString& dataFolder) {
    if (const QString refusal = vok::OutputTarget::refusal(path, dataFolder); !refusal.isEmpty())
        throw vok::FileError(refusal);
}

UsageError::UsageError(const QString& message) : std::runtime_error(message.toStdString()) {}
