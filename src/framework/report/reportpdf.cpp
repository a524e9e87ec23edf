#include "reportpdf.h"

#include "framework/dataset/databaseerror.h"
#include "reportdocument.h"
#include "reportpainter.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QPdfWriter>

namespace vok {

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
}

} // namespace vok
