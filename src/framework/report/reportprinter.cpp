#include "reportprinter.h"

#include "framework/io/plainfilename.h"
#include "framework/ui/messages.h"
#include "framework/ui/modal.h"
#include "pagesetup.h"
#include "reportdocument.h"
#include "reportpainter.h"
#include "reportpdf.h"

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRadioButton>
#include <QScreen>
#include <QStandardPaths>

namespace vok {

namespace {

ReportPrinter::Handler& handler() {
    static ReportPrinter::Handler h;
    return h;
}

QString fileNameOf(const QString& title) {
    // Room for " (n).pdf".
    return PlainFileName::from(title, QStringLiteral("Report"), 16);
}

bool within(const QObject* o, const QObject* ancestor) {
    for (const QObject* p = o->parent(); p; p = p->parent()) {
        if (p == ancestor)
            return true;
    }
    return false;
}

// Qt's print dialog on CUPS gives the printer the queue's default paper (often A4) when it is
// accepted, and its page set-up (under Properties) opens on that paper too: a legal landscape
// time line would go out shrunk onto A4. Attached to a print dialog, this opens the page set-up
// on the paper and orientation the printer had, and when the user never opened it, gives the
// printer that paper back.
class PaperKeeper : public QObject {
public:
    explicit PaperKeeper(QPrintDialog* dialog)
        : QObject(dialog), dialog_(dialog), asked_(dialog->printer()->pageLayout()) {
        qApp->installEventFilter(this);
        connect(dialog, qOverload<QPrinter*>(&QPrintDialog::accepted), this, [this](QPrinter* p) {
            if (pageSetupShown_)
                return;
            p->setPageSize(asked_.pageSize());
            p->setPageOrientation(asked_.orientation());
        });
    }
    ~PaperKeeper() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && !pageSetupShown_ && qobject_cast<QDialog*>(watched) &&
            within(watched, dialog_)) {
            pageSetupShown_ = true;
            startOnAskedPaper(static_cast<QWidget*>(watched));
        }
        return false;
    }

private:
    // The page set-up's controls, found by the names Qt gives them.
    void startOnAskedPaper(QWidget* pageSetup) const {
        if (auto* sizes = pageSetup->findChild<QComboBox*>(QStringLiteral("pageSizeCombo"))) {
            for (int i = 0; i < sizes->count(); ++i) {
                if (sizes->itemData(i).value<QPageSize>().isEquivalentTo(asked_.pageSize()))
                    sizes->setCurrentIndex(i);
            }
        }
        const QString orientation = asked_.orientation() == QPageLayout::Landscape
                                        ? QStringLiteral("landscape")
                                        : QStringLiteral("portrait");
        if (auto* button = pageSetup->findChild<QRadioButton*>(orientation))
            button->click();
    }

    QPrintDialog* dialog_;
    const QPageLayout asked_;
    bool pageSetupShown_ = false;
};

// The preview makes its own print dialog when its print button is first pressed: each gets a
// paper keeper as it shows, starting from the paper the preview shows.
class PreviewPrintDialogs : public QObject {
public:
    explicit PreviewPrintDialogs(QPrintPreviewDialog* preview) : preview_(preview) {
        qApp->installEventFilter(this);
    }
    ~PreviewPrintDialogs() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* dialog = qobject_cast<QPrintDialog*>(watched);
        if (event->type() == QEvent::Show && dialog && within(dialog, preview_) &&
            !dialog->findChild<PaperKeeper*>(QString(), Qt::FindDirectChildrenOnly))
            new PaperKeeper(dialog);
        return false;
    }

private:
    QPrintPreviewDialog* preview_;
};

} // namespace

void ReportPrinter::setHandler(Handler h) {
    handler() = std::move(h);
}

bool ReportPrinter::printerInstalled() {
    return handler() || !QPrinterInfo::availablePrinterNames().isEmpty();
}

void ReportPrinter::prepare(QPrinter& printer, const PageSetup& setup) {
    printer.setFullPage(true);
    printer.setPageLayout(setup.pageLayout());
}

void ReportPrinter::showSetupDialog(QPrinter& printer) {
    QPrintDialog dialog(&printer);
    new PaperKeeper(&dialog);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    Modal::exec(&dialog);
}

void ReportPrinter::print(const ReportDocument& document, QPrinter& printer) {
    printer.setDocName(document.title);
    if (handler()) {
        handler()(printer, document);
        return;
    }
    if (printerInstalled() && printer.outputFormat() == QPrinter::NativeFormat) {
        ReportPainter::paint(printer, document);
        return;
    }
    // A PDF: the file chosen in the set-up dialog, or a new one.
    QString path = printer.outputFileName();
    if (path.isEmpty()) {
        path = newPdfPath(document.title);
        ReportPdf::write(document, path);
    } else {
        ReportPainter::paint(printer, document);
    }
    if (!printerInstalled())
        Messages::inform(QCoreApplication::translate(
                             "Printing", "No printer is installed. The report was saved as %1")
                             .arg(QDir::toNativeSeparators(path)));
}

void ReportPrinter::preview(const ReportDocument& document, QPrinter& printer) {
    prepare(printer, document.setup);
    printer.setDocName(document.title);
    printer.setPrintRange(QPrinter::AllPages);
    QPrintPreviewDialog dialog(&printer);
    dialog.setWindowTitle(document.title);
    // Large enough to read a page without zooming first.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        dialog.resize(screen->availableGeometry().size() * 0.85);
    const PreviewPrintDialogs keepPaper(&dialog);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&document](QPrinter* target) { ReportPainter::paint(*target, document); });
    Modal::exec(&dialog);
}

QString ReportPrinter::newPdfPath(const QString& title) {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QDir().mkpath(folder))
        folder = QDir::tempPath();
    const QString base = fileNameOf(title);
    QString path = QDir(folder).filePath(base + QStringLiteral(".pdf"));
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = QDir(folder).filePath(QStringLiteral("%1 (%2).pdf").arg(base).arg(n));
    return path;
}

} // namespace vok
