#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Rows as comma-separated values for spreadsheets (RFC 4180): UTF-8, lines ended by CR LF, a
// field quoted when it holds a comma, a quote or a line break, quotes inside doubled. Text that a
// spreadsheet would run as a formula is written as text (see cell()).
class CsvWriter {
public:
    static QByteArray toCsv(const QList<QStringList>& rows);
    // A field as written: text beginning with '=', '+', '-', '@', a tab or a carriage return gets
    // a leading "'" so that a spreadsheet shows it instead of running it; numbers stay numbers.
    static QString cell(const QString& text);
    static void write(const QString& path, const QList<QStringList>& rows);
};
