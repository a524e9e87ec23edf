#include "csvwriter.h"

#include "framework/dataset/databaseerror.h"

#include <QDir>
#include <QSaveFile>

namespace {

QString quoted(const QString& field) {
    static const QString special = QStringLiteral(",\"\r\n");
    const bool needsQuotes =
        std::any_of(field.begin(), field.end(), [](QChar c) { return special.contains(c); });
    if (!needsQuotes)
        return field;
    QString out = field;
    out.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + out + QLatin1Char('"');
}

} // namespace

QByteArray CsvWriter::toCsv(const QList<QStringList>& rows) {
    QString text;
    for (const QStringList& row : rows) {
        QStringList fields;
        fields.reserve(row.size());
        for (const QString& f : row)
            fields << quoted(f);
        text += fields.join(QLatin1Char(',')) + QStringLiteral("\r\n");
    }
    return text.toUtf8();
}

void CsvWriter::write(const QString& path, const QList<QStringList>& rows) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(toCsv(rows)) < 0 || !file.commit())
        throw vok::DatabaseError(QStringLiteral("Cannot create file \"%1\": %2")
                                     .arg(QDir::toNativeSeparators(path), file.errorString()));
}
