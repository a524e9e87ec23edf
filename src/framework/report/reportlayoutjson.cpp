#include "reportlayoutjson.h"

#include "framework/io/filewriter.h"
#include "reportdocument.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace vok {

namespace {

// Positions are kept to a thousandth of a unit, so the file does not show float noise.
double rounded(qreal v) {
    return std::round(v * 1000.0) / 1000.0;
}

QString alignmentName(Qt::Alignment a) {
    if (a & Qt::AlignRight)
        return QStringLiteral("right");
    if (a & Qt::AlignHCenter)
        return QStringLiteral("center");
    return QStringLiteral("left");
}

QJsonObject itemJson(const ReportItem& item) {
    QJsonObject o;
    o.insert(QStringLiteral("kind"), ReportItem::kindName(item.kind));
    if (!item.id.isEmpty())
        o.insert(QStringLiteral("id"), item.id);
    o.insert(QStringLiteral("band"), item.band);
    o.insert(QStringLiteral("x"), rounded(item.box.x()));
    o.insert(QStringLiteral("y"), rounded(item.box.y()));
    o.insert(QStringLiteral("bandX"), rounded(item.bandPos.x()));
    o.insert(QStringLiteral("bandY"), rounded(item.bandPos.y()));
    o.insert(QStringLiteral("width"), rounded(item.box.width()));
    o.insert(QStringLiteral("height"), rounded(item.box.height()));
    o.insert(QStringLiteral("visible"), item.visible);
    if (item.tag != 0)
        o.insert(QStringLiteral("tag"), item.tag);
    if (item.kind == ReportItem::Kind::Text) {
        o.insert(QStringLiteral("text"), item.text);
        QJsonObject font;
        font.insert(QStringLiteral("family"), item.font.family);
        font.insert(QStringLiteral("size"), item.font.pointSize);
        font.insert(QStringLiteral("bold"), item.font.bold);
        font.insert(QStringLiteral("italic"), item.font.italic);
        font.insert(QStringLiteral("underline"), item.font.underline);
        o.insert(QStringLiteral("font"), font);
        o.insert(QStringLiteral("color"), item.textColor.name());
        if (item.opaque)
            o.insert(QStringLiteral("fill"), QStringLiteral("#ffffff"));
        o.insert(QStringLiteral("alignment"), alignmentName(item.alignment));
        o.insert(QStringLiteral("wordWrap"), item.wordWrap);
        if (item.frameBottom)
            o.insert(QStringLiteral("frameBottom"), true);
    } else if (item.kind == ReportItem::Kind::Rectangle) {
        o.insert(QStringLiteral("fill"), item.fill.name());
    }
    if (item.kind != ReportItem::Kind::Text || item.frameBottom) {
        o.insert(QStringLiteral("pen"), item.pen.name());
        o.insert(QStringLiteral("penStyle"), ReportItem::penStyleName(item.penStyle));
        o.insert(QStringLiteral("penWidth"), item.penWidth);
    }
    QJsonArray lines;
    for (const QLineF& l : item.lines())
        lines.append(
            QJsonArray{rounded(l.x1()), rounded(l.y1()), rounded(l.x2()), rounded(l.y2())});
    if (!lines.isEmpty())
        o.insert(QStringLiteral("lines"), lines);
    return o;
}

} // namespace

QJsonObject ReportLayoutJson::toJson(const ReportDocument& document) {
    QJsonObject root;
    root.insert(QStringLiteral("title"), document.title);
    root.insert(QStringLiteral("unit"), document.setup.unitName());
    root.insert(QStringLiteral("paper"), document.setup.paperName());
    root.insert(QStringLiteral("orientation"), document.setup.orientation == QPageLayout::Landscape
                                                   ? QStringLiteral("landscape")
                                                   : QStringLiteral("portrait"));
    root.insert(QStringLiteral("width"), rounded(document.setup.paperSize().width()));
    root.insert(QStringLiteral("height"), rounded(document.setup.paperSize().height()));
    QJsonArray pages;
    for (const ReportPage& page : document.pages) {
        QJsonArray items;
        for (const ReportItem& item : page.items)
            items.append(itemJson(item));
        pages.append(
            QJsonObject{{QStringLiteral("number"), page.number}, {QStringLiteral("items"), items}});
    }
    root.insert(QStringLiteral("pages"), pages);
    return root;
}

void ReportLayoutJson::write(const ReportDocument& document, const QString& path) {
    FileWriter::write(path, QJsonDocument(toJson(document)).toJson(QJsonDocument::Indented));
}

} // namespace vok
