#pragma once

#include <QHash>
#include <QString>

// What a PDF reader (poppler's pdfinfo) says of a file: "Title", "Subject", "Pages",
// "Page size"... with their values; empty when pdfinfo is not installed or cannot read it.
QHash<QString, QString> pdfFacts(const QString& path);
