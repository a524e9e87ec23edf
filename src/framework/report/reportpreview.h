#pragma once

#include <QDialog>

class QLabel;
class QPrinter;
class QPrintPreviewWidget;

namespace vok {

struct ReportDocument;

// The preview of laid-out pages, on the paper the printer carries: pages to turn and zoom, and
// its own Print and Page setup. Print goes the way every print of a report goes (set-up dialog,
// the printer or a file, told where); Page setup starts on the paper the preview shows.
class ReportPreview : public QDialog {
    Q_OBJECT
public:
    ReportPreview(const ReportDocument& document, QPrinter& printer, QWidget* parent = nullptr);

    QPrintPreviewWidget* pages() const { return pages_; }
    // The tool bar's Print and Page setup.
    void print();
    void pageSetup();

private:
    void showPageNumber();

    const ReportDocument& document_;
    QPrinter& printer_;
    QPrintPreviewWidget* pages_;
    QLabel* pageNumber_;
};

} // namespace vok
