#pragma once

#include <QString>

namespace vok {

struct ReportDocument;

// Writes laid-out pages to a PDF file, one PDF page per report page, on the report's paper.
class ReportPdf {
public:
    static void write(const ReportDocument& document, const QString& path);
};

} // namespace vok
