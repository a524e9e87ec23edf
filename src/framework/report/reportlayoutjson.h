#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>

namespace vok {

struct ReportDocument;

// The laid-out pages as JSON, for tools and for checking a layout without looking at pixels:
// per page, per item its kind, id, page and band position, size, text, font, colours, pen and
// visibility, in the report's unit.
class ReportLayoutJson {
public:
    static QJsonObject toJson(const ReportDocument& document);
    static void write(const ReportDocument& document, const QString& path);
};

} // namespace vok
