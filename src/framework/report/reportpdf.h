#pragma once

#include <QByteArray>
#include <QString>

namespace vok {

struct ReportDocument;

// Writes laid-out pages to a PDF file, one PDF page per report page, on the report's paper.
class ReportPdf {
public:
    static void write(const ReportDocument& document, const QString& path);
    // A PDF another writer made of the document (a printer printing to a file), with the
    // document's title, subject and creator: the writer sets no subject.
    static QByteArray withInfo(const ReportDocument& document, const QByteArray& pdf);
};

} // namespace vok
