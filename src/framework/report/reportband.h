#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <functional>

namespace vok {

class Report;
class ReportElement;
class Table;

// A horizontal strip of a report, printed the full width between the margins: the page header
// (top of every page), the detail (once per record of its record-set), a sub-detail (once per
// record of a record-set that follows its master band's record, under the master), the header
// of a sub-detail (once before its first record), the summary (once at the end), or the page
// level (elements at page coordinates, painted over everything when a page is finished).
class ReportBand : public QObject {
    Q_OBJECT
public:
    enum class Kind { PageHeader, Detail, SubDetail, GroupHeader, Summary, PageLevel };

    ReportBand(Report* report, Kind kind, const QString& name, qreal height);

    Report* report() const;
    Kind kind() const { return kind_; }
    qreal height() const { return height_; }
    void setHeight(qreal height) { height_ = height; }

    // A disabled band does not print, nor do the sub-details below it.
    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled) { enabled_ = enabled; }

    // The record-set a detail or sub-detail band prints once per record of.
    Table* dataset() const { return dataset_; }
    void setDataset(Table* table) { dataset_ = table; }
    // The band a sub-detail prints under.
    ReportBand* master() const { return master_; }
    void setMaster(ReportBand* master) { master_ = master; }
    // A header printed once before the first record of this band.
    ReportBand* header() const { return header_; }
    void setHeader(ReportBand* header) { header_ = header; }
    // With no record to print, the band prints once with empty fields.
    bool printIfEmpty() const { return printIfEmpty_; }
    void setPrintIfEmpty(bool on) { printIfEmpty_ = on; }
    // The band begins a new page unless nothing has been printed below the page header yet.
    bool forceNewPage() const { return forceNewPage_; }
    void setForceNewPage(bool on) { forceNewPage_ = on; }
    // A line along the bottom edge of the band.
    bool frameBottom() const { return frameBottom_; }
    void setFrameBottom(bool on) { frameBottom_ = on; }
    // When its handler cancels the band, the sub-details below it do not print either. Off by
    // default: the sub-details of a cancelled band print under it all the same.
    bool cancelsSubDetails() const { return cancelsSubDetails_; }
    void setCancelsSubDetails(bool on) { cancelsSubDetails_ = on; }
    // Never the last band on a page: when the band after it goes to the next page, this one
    // goes with it (a header with its first row).
    bool keepWithNext() const { return keepWithNext_; }
    void setKeepWithNext(bool on) { keepWithNext_ = on; }

    // Called before the band prints; clearing printBand suppresses it. The handler may move,
    // resize, colour, show and hide elements of any band.
    std::function<void(ReportBand& band, bool& printBand)> beforePrint;

    // The elements in printing order.
    QList<ReportElement*> elements() const;
    QList<ReportElement*> elementsWithTag(int tag) const;
    ReportElement* element(const QString& name) const;

private:
    Kind kind_;
    qreal height_;
    bool enabled_ = true;
    Table* dataset_ = nullptr;
    ReportBand* master_ = nullptr;
    ReportBand* header_ = nullptr;
    bool printIfEmpty_ = false;
    bool forceNewPage_ = false;
    bool frameBottom_ = false;
    bool cancelsSubDetails_ = false;
    bool keepWithNext_ = false;
};

} // namespace vok
