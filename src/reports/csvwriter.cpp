#include "csvwriter.h"

#include "framework/io/filewriter.h"

#include <QRegularExpression>

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
            fields << quoted(cell(f));
        text += fields.join(QLatin1Char(',')) + QStringLiteral("\r\n");
    }
    return text.toUtf8();
}

void CsvWriter::write(const QString& path, const QList<QStringList>& rows) {
    vok::FileWriter::write(path, toCsv(rows));
}

QString CsvWriter::cell(const QString& text) {
    // A spreadsheet runs a cell that begins so as a formula (=HYPERLINK(...), +cmd|...); a
    // leading quote keeps it text. A number keeps its sign and stays a number.
    static const QString formulaStarts = QStringLiteral("=+-@\t\r");
    if (text.isEmpty() || !formulaStarts.contains(text.front()))
        return text;
    static const QRegularExpression number(
        QStringLiteral("^[+-]?([0-9]+([.][0-9]*)?|[.][0-9]+)([eE][+-]?[0-9]+)?$"));
    return number.match(text).hasMatch() ? text : QLatin1Char('\'') + text;
}
