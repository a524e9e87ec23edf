#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace vok {

// The document information of a PDF that the PDF writer cannot set (it knows only the title):
// an incremental update, appended to the file, that gives the document a new information
// dictionary. Readers take the last one.
class PdfInfo {
public:
    QString title;
    QString subject;
    QString creator;
    QDateTime created;

    // The bytes to append to the PDF; empty when its end is not the trailer the update needs.
    QByteArray updateFor(const QByteArray& pdf) const;
};

} // namespace vok
