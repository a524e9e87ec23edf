#include "reportpreview.h"

#include "framework/ui/modal.h"
#include "reportdocument.h"
#include "reportpainter.h"
#include "reportprinter.h"

#include <QAction>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QPageSetupDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QScreen>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

namespace vok {

namespace {

// Qt's own words for these commands, so its translations serve them.
QString qtText(const char* text) {
    return QCoreApplication::translate("QPrintPreviewDialog", text);
}

} // namespace

ReportPreview::ReportPreview(const ReportDocument& document, QPrinter& printer, QWidget* parent)
    : QDialog(parent), document_(document), printer_(printer),
      pages_(new QPrintPreviewWidget(&printer, this)), pageNumber_(new QLabel(this)) {
    setObjectName(QStringLiteral("ReportPreview"));
    setWindowTitle(document.title);
    auto* bar = new QToolBar(this);
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    const auto add = [&](const char* name, const char* text, const char* icon,
                         QStyle::StandardPixmap fallback, auto slot) {
        QAction* a = bar->addAction(
            QIcon::fromTheme(QLatin1String(icon), style()->standardIcon(fallback)), qtText(text));
        a->setObjectName(QLatin1String(name));
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    add("PrintAction", "Print", "document-print", QStyle::SP_DialogSaveButton, [this] { print(); });
    add("PageSetupAction", "Page setup", "document-page-setup", QStyle::SP_FileDialogDetailedView,
        [this] { pageSetup(); });
    bar->addSeparator();
    add("FitPageAction", "Fit page", "zoom-fit-best", QStyle::SP_TitleBarNormalButton,
        [this] { pages_->fitInView(); });
    add("FitWidthAction", "Fit width", "zoom-fit-width", QStyle::SP_TitleBarMaxButton,
        [this] { pages_->fitToWidth(); });
    add("ZoomInAction", "Zoom in", "zoom-in", QStyle::SP_ArrowUp, [this] { pages_->zoomIn(); });
    add("ZoomOutAction", "Zoom out", "zoom-out", QStyle::SP_ArrowDown,
        [this] { pages_->zoomOut(); });
    bar->addSeparator();
    add("FirstPageAction", "First page", "go-first", QStyle::SP_MediaSkipBackward,
        [this] { pages_->setCurrentPage(1); });
    add("PreviousPageAction", "Previous page", "go-previous", QStyle::SP_ArrowBack,
        [this] { pages_->setCurrentPage(pages_->currentPage() - 1); });
    bar->addWidget(pageNumber_);
    add("NextPageAction", "Next page", "go-next", QStyle::SP_ArrowForward,
        [this] { pages_->setCurrentPage(pages_->currentPage() + 1); });
    add("LastPageAction", "Last page", "go-last", QStyle::SP_MediaSkipForward,
        [this] { pages_->setCurrentPage(pages_->pageCount()); });
    bar->addSeparator();
    add("SinglePageAction", "Show single page", "view-page-one", QStyle::SP_FileIcon,
        [this] { pages_->setViewMode(QPrintPreviewWidget::SinglePageView); });
    add("AllPagesAction", "Show overview of all pages", "view-page-multi",
        QStyle::SP_FileDialogListView,
        [this] { pages_->setViewMode(QPrintPreviewWidget::AllPagesView); });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(pages_, 1);
    connect(pages_, &QPrintPreviewWidget::paintRequested, this,
            [this](QPrinter* target) { ReportPainter::paint(*target, document_); });
    connect(pages_, &QPrintPreviewWidget::previewChanged, this, [this] { showPageNumber(); });
    // Large enough to read a page without zooming first.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        resize(screen->availableGeometry().size() * 0.85);
    pages_->fitInView();
    pages_->updatePreview();
}

void ReportPreview::showPageNumber() {
    pageNumber_->setText(
        QStringLiteral(" %1 / %2 ").arg(pages_->currentPage()).arg(pages_->pageCount()));
}

void ReportPreview::print() {
    // As the preview's Print always was: cancelling the set-up dialog prints nothing.
    if (!ReportPrinter::showSetupDialog(printer_))
        return;
    ReportPrinter::print(document_, printer_);
    accept();
}

void ReportPreview::pageSetup() {
    // Opened on a printer of files, the page set-up starts on the paper it is given; on a queue
    // it would start on the queue's default paper, whatever the report prints on.
    QPrinter paper(QPrinter::HighResolution);
    paper.setOutputFormat(QPrinter::PdfFormat);
    paper.setFullPage(true);
    // As Qt names the paper, not as the queue does ("US Legal"): the page set-up lists Qt's.
    QPageLayout layout = printer_.pageLayout();
    const QPageSize size = layout.pageSize();
    if (size.id() != QPageSize::Custom)
        layout.setPageSize(QPageSize(size.id()));
    paper.setPageLayout(layout);
    QPageSetupDialog dialog(&paper, this);
    if (Modal::exec(&dialog) != QDialog::Accepted)
        return;
    printer_.setPageLayout(paper.pageLayout());
    pages_->updatePreview();
}

} // namespace vok
