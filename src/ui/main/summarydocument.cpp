#include "summarydocument.h"

#include "data/projectdata.h"
#include "framework/dataset/table.h"
#include "framework/io/filewriter.h"
#include "framework/io/plainfilename.h"

#include <QBuffer>
#include <QDir>
#include <QFont>
#include <QRegularExpression>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentWriter>
#include <stdexcept>

namespace {

QString text(const vok::Table* t, const char* field) {
    return t->fieldByName(QLatin1String(field)).asString();
}

QString labelled(const char* label, const vok::Table* t, const char* field) {
    return QLatin1String(label) + text(t, field);
}

// Every document ends with three lines holding one blank each.
QStringList closing() {
    return {QStringLiteral(" "), QStringLiteral(" "), QStringLiteral(" ")};
}

std::runtime_error writeError(const QString& file, const QString& why) {
    return std::runtime_error(
        QStringLiteral("The document could not be written to %1: %2").arg(file, why).toStdString());
}

} // namespace

QStringList SummaryDocument::lines(Kind kind, const ProjectData& dm) {
    const vok::Table* p = dm.projects;
    const vok::Table* m = dm.Major;
    const vok::Table* a = dm.Action;
    const vok::Table* c = dm.Contacts;
    switch (kind) {
    case Kind::Project:
        return QStringList{labelled("Project: ", p, "Zel_project"),
                           labelled("Start date: ", p, "Zel_date_from"),
                           labelled("End date: ", p, "Zel_date_to"),
                           labelled("Leader: ", p, "Zel_leader"),
                           labelled("Client: ", p, "Zel_client"),
                           QStringLiteral("Objectives: "),
                           text(p, "Zel_description")} +
               closing();
    case Kind::Major:
        return QStringList{labelled("Project: ", p, "Zel_project"),
                           labelled("Major  : ", m, "Major_item"),
                           labelled("Start date: ", m, "Major_from_date"),
                           labelled("End date: ", m, "Major_to_date"),
                           labelled("Leader: ", m, "Major_leader"),
                           QStringLiteral("Objectives: "),
                           text(m, "Major_description")} +
               closing();
    case Kind::Action:
        return QStringList{labelled("Project: ", p, "Zel_project"),
                           labelled("Major  : ", m, "Major_item"),
                           labelled("Action : ", a, "Action_name"),
                           labelled("Start date: ", a, "Action_from_date"),
                           labelled("End date: ", a, "Action_to_date"),
                           labelled("Leader: ", a, "Action_responsible"),
                           QStringLiteral("Objectives: "),
                           text(a, "Action_description")} +
               closing();
    case Kind::Contact:
        return QStringList{text(c, "ProjectContact_name"),    text(c, "ProjectContact_title"),
                           text(c, "ProjectContact_Company"), text(c, "ProjectContact_adr1"),
                           text(c, "ProjectContact_adr2"),    text(c, "ProjectContact_City"),
                           text(c, "ProjectContact_State"),   text(c, "ProjectContact_Country"),
                           text(c, "ProjectContact_PCode")} +
               closing();
    }
    return {};
}

QString SummaryDocument::title(Kind kind, const ProjectData& dm) {
    switch (kind) {
    case Kind::Project:
        return QStringLiteral("Project ") + text(dm.projects, "Zel_project");
    case Kind::Major:
        return QStringLiteral("Major activity ") + text(dm.Major, "Major_item");
    case Kind::Action:
        return QStringLiteral("Action ") + text(dm.Action, "Action_name");
    case Kind::Contact:
        return QStringLiteral("Contact ") + text(dm.Contacts, "ProjectContact_name");
    }
    return {};
}

std::unique_ptr<QTextDocument> SummaryDocument::build(const QStringList& lines) {
    auto document = std::make_unique<QTextDocument>();
    const QFont font(QStringLiteral("Liberation Serif"), 12);
    document->setDefaultFont(font);
    QTextCursor cursor(document.get());
    QTextCharFormat format;
    format.setFont(font);
    format.setFontFamilies({font.family()});
    // The ODF writer of older Qt versions reads the family from this property only.
    format.setProperty(QTextFormat::FontFamily, font.family());
    cursor.setBlockCharFormat(format);
    cursor.setCharFormat(format);
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n|\u2028|\u2029"));
    bool first = true;
    for (const QString& line : lines) {
        for (const QString& paragraph : line.split(lineBreak)) {
            if (!first)
                cursor.insertBlock(QTextBlockFormat(), format);
            cursor.insertText(paragraph, format);
            first = false;
        }
    }
    return document;
}

namespace {

QByteArray odt(const QTextDocument& document, const QString& fileName) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QTextDocumentWriter writer(&buffer, "ODF");
    if (!writer.write(&document))
        throw writeError(fileName, QStringLiteral("the document could not be laid out"));
    return buffer.data();
}

} // namespace

void SummaryDocument::write(const QTextDocument& document, const QString& fileName) {
    vok::FileWriter::write(fileName, odt(document, fileName));
}

QString SummaryDocument::writeNew(const QTextDocument& document, const QString& folder,
                                  const QString& title) {
    if (!QDir().mkpath(folder))
        throw writeError(folder, QStringLiteral("the folder cannot be created"));
    const QString base = QDir(folder).filePath(fileBaseName(title));
    const QByteArray bytes = odt(document, base);
    for (int n = 1; n < 10000; ++n) {
        const QString name =
            n == 1 ? base + QStringLiteral(".odt") : QStringLiteral("%1 (%2).odt").arg(base).arg(n);
        // Only a name no file has yet, so nothing is ever overwritten.
        if (vok::FileWriter::writeNew(name, bytes))
            return name;
    }
    throw writeError(base, QStringLiteral("every name is taken"));
}

QString SummaryDocument::fileBaseName(const QString& title) {
    // Room for " (n).odt" within the 255 bytes most file systems allow.
    return vok::PlainFileName::from(title, QStringLiteral("Vok document"), 55);
}
