#include "report.h"

#include "reportlabel.h"
#include "reportpdf.h"
#include "reportprinter.h"
#include "reportrunner.h"

#include <QPrinter>

namespace vok {

Report::Report(QObject* parent)
    : QObject(parent), pageLevel_(new ReportBand(this, ReportBand::Kind::PageLevel, QString(), 0)) {
}

Report::~Report() = default;

QString Report::title() const {
    return titleLabel_ ? titleLabel_->text() : title_;
}

ReportBand* Report::addBand(ReportBand::Kind kind, const QString& name, qreal height) {
    return new ReportBand(this, kind, name, height);
}

QList<ReportBand*> Report::bands() const {
    QList<ReportBand*> out;
    for (ReportBand* b : findChildren<ReportBand*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (b->kind() != ReportBand::Kind::PageLevel)
            out << b;
    }
    return out;
}

ReportDocument Report::run() {
    return ReportRunner(*this).run();
}

void Report::preview() {
    const ReportDocument document = run();
    ReportPrinter::preview(document, printer());
}

void Report::print(bool showSetupDialog) {
    ReportPrinter::prepare(printer(), setup_);
    printer().setDocName(title()); // the set-up dialog names a file after it
    if (showSetupDialog)
        ReportPrinter::showSetupDialog(printer());
    const ReportDocument document = run();
    ReportPrinter::print(document, printer());
}

void Report::exportPdf(const QString& path) {
    ReportPdf::write(run(), path);
}

QPrinter& Report::printer() {
    if (!printer_)
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *printer_;
}

} // namespace vok
