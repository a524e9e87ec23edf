#include "reportpdf.h"

#include "framework/dataset/databaseerror.h"
#include "framework/io/filewriter.h"
#include "framework/ui/clock.h"
#include "pdfinfo.h"
#include "reportdocument.h"
#include "reportpainter.h"

#include <QBuffer>
#include <QDir>
#include <QPainter>
#include <QPdfWriter>

namespace vok {

// The writer sets no subject: the title and the subject go in an update at the end. Not the
// writer's usual ending: the title it wrote stays.
QByteArray ReportPdf::withInfo(const ReportDocument& document, const QByteArray& pdf) {
    const PdfInfo info{document.title, document.subject, QStringLiteral("Vok"), Clock::now()};
    return pdf + info.updateFor(pdf);
}

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
    FileWriter::write(path, withInfo(document, buffer.data()));
}

} // namespace vok
