#pragma once

#include "data/nodefigures.h"
#include "reportform.h"

#include <QHash>
#include <functional>

namespace vok {
class ReportFieldText;
class ReportLabel;
class ReportShape;
class ReportSysData;
} // namespace vok

// What the time line shows: where its scale starts (the project's start date, or now), whether
// it counts days or months, and whether dates past the page's scale print on further pages side
// by side (each the next stretch of the scale, to be laid together) or are left off; and whether
// a thin bar under each bar shows when work really happened (from the actual start to the
// actual finish).
struct TimeLineOptions {
    enum class Start { Project, Today };
    enum class Scale { Day, Month };
    Start start = Start::Project;
    Scale scale = Scale::Day;
    bool tiles = false;
    bool actuals = false;
};

// The time line report: one bar per major activity and action of a project against a scale of
// days or months, with the current date and the project's end as lines over every page. Never
// shown: TimeLineDialog and vokctl run it. It reads its options whenever it needs the start or the
// scale.
class TimeLineReport : public ReportForm {
    Q_OBJECT
public:
    TimeLineReport(ProjectData* dm, std::function<TimeLineOptions()> options,
                   QObject* parent = nullptr);

    // The bands and elements the handlers move, under the names the layout JSON and the
    // captions give them.
    vok::ReportBand* pageHeader;  // QRBand1
    vok::ReportBand* projectBand; // QRBand2, one per project
    vok::ReportBand* majorBand;   // QRSubDetail1, one per major activity
    vok::ReportBand* actionBand;  // QRSubDetail2, one per action

    vok::ReportSysData* currentDateText;  // QRSysData3, "Current date:" over its line
    vok::ReportLabel* projectEndLabel;    // QRLabel8, "Project End date"
    vok::ReportFieldText* projectEndText; // QRDBText5, the project's end date
    vok::ReportShape* currentDateLine;    // QRShape11
    vok::ReportShape* projectEndLine;     // QRShape7
    // "page 2 of 8: 06/14/2024 to 09/26/2024": the sheet and the days of its scale, on pages
    // side by side.
    vok::ReportSysData* TileMark;

    // Report events, in the order the engine raises them.
    void reportBeforePrint();
    void Setlines();
    void pageHeaderBeforePrint(bool& PrintBand);
    void majorBandBeforePrint(bool& PrintBand);
    void actionBandBeforePrint(bool& PrintBand);

private:
    // The elements of a major activity or action row and where its fields are.
    struct BarRow {
        vok::Table* table = nullptr;
        QString prefix; // "Major" or "Action": fields prefix + "_from_date"...
        vok::ReportShape* bar = nullptr;
        vok::ReportFieldText* fromText = nullptr;
        vok::ReportLabel* arrow = nullptr;
        vok::ReportFieldText* toText = nullptr;
        vok::ReportShape* overlay = nullptr;
    };

    BarRow barRow(vok::Table* table, const char* prefix, const char* bar, const char* overlay);
    void placeBar(const BarRow& row);
    // The scale's start as a day number with the time of day as fraction: the project's start,
    // or now; on pages side by side, as many pages' days later as the page is to the right.
    double startInstant() const;
    int scaleFactor() const;
    // Whether the scale gets a band of months and years (of years, on the month scale), and the
    // band itself, made per run as the scale's labels are.
    bool showsCalendar() const;
    void addCalendarBand(const QDate& first);
    // The days one page's scale shows.
    int daysPerPage() const;
    // How many pages side by side show every bar, once a run has placed them all.
    int pagesAcross() const;
    double projectDate(const char* field) const;

    // The actual work, for a run that shows it: its elements are made then and gone otherwise,
    // so that a print without it lays out as it always did.
    void prepareActualWork();
    // Under the bar of a major activity (level 1) or action (2): the days work was booked.
    void placeActualWork(int level);

    std::function<TimeLineOptions()> options_;
    vok::ReportShape* majorActual_ = nullptr;
    vok::ReportShape* actionActual_ = nullptr;
    vok::ReportLabel* actualLegend_ = nullptr;
    QHash<QString, NodeFigures::Days> actualDays_; // of the project actualProject_
    qlonglong actualProject_ = 0;
    BarRow majorRow_;
    BarRow actionRow_;
    double lastDay_ = 0; // the latest end of a bar placed in this run
};
