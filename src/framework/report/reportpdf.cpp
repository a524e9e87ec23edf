#include "reportpdf.h"

#include "framework/dataset/databaseerror.h"
#include "framework/ui/clock.h"
#include "pdfinfo.h"
#include "reportdocument.h"
#include "reportpainter.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QPdfWriter>

namespace vok {

namespace {

// The writer sets no subject: the title and the subject go in an update at the end.
void appendInfo(const ReportDocument& document, const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        throw DatabaseError(QStringLiteral("Cannot write file \"%1\": %2")
                                .arg(QDir::toNativeSeparators(path), file.errorString()));
    const PdfInfo info{document.title, document.subject, QStringLiteral("Vok"), Clock::now()};
    const QByteArray update = info.updateFor(file.readAll());
    if (update.isEmpty())
        return; // not the writer's usual ending: the title it wrote stays
    if (file.write(update) != update.size() || !file.flush())
        throw DatabaseError(
            QStringLiteral("Cannot write file \"%1\"").arg(QDir::toNativeSeparators(path)));
}

} // namespace

void ReportPdf::write(const ReportDocument& document, const QString& path) {
    // QPdfWriter only notices an unwritable file when painting starts; check first so the
    // message names the file.
    {
        QFile probe(path);
        if (!probe.open(QIODevice::WriteOnly))
            throw DatabaseError(QStringLiteral("Cannot create file \"%1\": %2")
                                    .arg(QDir::toNativeSeparators(path), probe.errorString()));
    }
    QPdfWriter writer(path);
    writer.setPageLayout(document.setup.pageLayout());
    writer.setResolution(1200);
    writer.setTitle(document.title);
    writer.setCreator(QStringLiteral("Vok"));
    QPainter painter;
    if (!painter.begin(&writer))
        throw DatabaseError(
            QStringLiteral("Cannot create file \"%1\"").arg(QDir::toNativeSeparators(path)));
    ReportPainter pages(painter, document.setup);
    for (qsizetype i = 0; i < document.pages.size(); ++i) {
        if (i > 0)
            writer.newPage();
        pages.paintPage(document.pages[i]);
    }
    painter.end();
    appendInfo(document, path);
}

} // namespace vok
