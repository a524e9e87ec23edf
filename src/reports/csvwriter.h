#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Rows as comma-separated values for spreadsheets (RFC 4180): UTF-8, lines ended by CR LF, a
// field quoted when it holds a comma, a quote or a line break, quotes inside doubled.
class CsvWriter {
public:
    static QByteArray toCsv(const QList<QStringList>& rows);
    static void write(const QString& path, const QList<QStringList>& rows);
};
