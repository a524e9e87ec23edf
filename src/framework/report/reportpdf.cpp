#include "reportpdf.h"

#include "framework/dataset/databaseerror.h"
#include "framework/io/filewriter.h"
#include "reportdocument.h"
#include "reportpainter.h"

#include <QBuffer>
#include <QDir>
#include <QPainter>
#include <QPdfWriter>

namespace vok {

void ReportPdf::write(const ReportDocument& document, const QString& path) {
    // Laid out in memory, then handed to the checked writer: a failed write is an error, never a
    // short file where a good one was.
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
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
    FileWriter::write(path, buffer.data());
}

} // namespace vok
