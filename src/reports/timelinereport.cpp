#include "timelinereport.h"

#include "data/projectdata.h"
#include "framework/dataset/shortdate.h"
#include "framework/dataset/table.h"
#include "framework/report/report.h"
#include "framework/report/reportfieldtext.h"
#include "framework/report/reportshape.h"
#include "framework/report/reportsysdata.h"
#include "framework/ui/clock.h"

#include <QColor>
#include <QCoreApplication>
#include <algorithm>
#include <cmath>

using vok::Report;
using vok::ReportBand;
using vok::ReportFieldText;
using vok::ReportFont;
using vok::ReportLabel;
using vok::ReportShape;
using vok::ReportSysData;

namespace {

using Kind = ElementDef::Kind;
using BandKind = vok::ReportBand::Kind;

// Chart geometry in band units: the scale runs from 156 to 1206.
constexpr int chartLeft = 156;
constexpr int chartRight = 1206;
constexpr int captionLimit = 1050;
constexpr int dayColumns = 105;
constexpr int monthLabels = 17;
constexpr int scaleTag = 9;
constexpr int calendarTag = 10;      // the month and year band over the scale, also made per run
constexpr qreal calendarTop = 110.5; // between the weekday initials and the day numbers
constexpr int currentDateLeft = 167; // the current date caption, when no line shows it

const QColor completedColour(0, 128, 0);
const QColor criticalColour(255, 0, 0);
const QColor otherColour(128, 128, 128);
const QColor percentColour(128, 0, 128);

const char* const weekdayInitials[] = {"S", "M", "T", "W", "T", "F", "S"};
const char* const monthNames[] = {"January",   "February", "March",    "April",
                                  "May",       "June",     "July",     "August",
                                  "September", "October",  "November", "December"};

const ReportFont small = ReportParts::arial(8);
const ReportFont tiny = ReportParts::arial(6);

const BandDef bands[] = {
    {.name = "QRBand1", .kind = BandKind::PageHeader, .height = 145},
    {.name = "QRBand2",
     .kind = BandKind::Detail,
     .height = 24,
     .dataset = &ProjectData::projects,
     .printIfEmpty = true,
     .forceNewPage = true},
    {.name = "QRSubDetail1",
     .kind = BandKind::SubDetail,
     .height = 24,
     .dataset = &ProjectData::Major,
     .master = "QRBand2",
     .printIfEmpty = true},
    {.name = "QRSubDetail2",
     .kind = BandKind::SubDetail,
     .height = 24,
     .dataset = &ProjectData::Action,
     .master = "QRSubDetail1",
     .printIfEmpty = true},
};

// The elements of a bar row in printing order: name, bar, start date, end date, arrow,
// overlay. The date texts (from y 3) reach down to the bottom of the bar, so a date box that
// overlaps a bar's end covers it cleanly.
struct RowNames {
    const char* band;
    DataSet dataset;
    const char* nameText;
    const char* nameField;
    QRectF nameBox;
    const char* bar;
    const char* fromText;
    const char* fromField;
    const char* toText;
    const char* toField;
    const char* arrow;
    const char* overlay;
    qreal barTop;
    qreal dateWidth;
    qreal textHeight;
};

const RowNames majorRow{"QRSubDetail1",
                        &ProjectData::Major,
                        "QRDBText3",
                        "Major_item",
                        QRectF(8, 4, 137, 17),
                        "QRShape2",
                        "MajorFromDate",
                        "Major_from_date",
                        "MajorEndDate",
                        "Major_to_date",
                        "MajorDateLabel",
                        "QRShapeComplete1",
                        4,
                        63,
                        18};
const RowNames actionRow{"QRSubDetail2",
                         &ProjectData::Action,
                         "QRDBText4",
                         "Action_name",
                         QRectF(13, 3, 132, 17),
                         "QRShape3",
                         "ActionFromDate",
                         "Action_from_date",
                         "ActionEndDate",
                         "Action_to_date",
                         "ActionDateLabel",
                         "QRShapeComplete2",
                         3,
                         55,
                         17};

std::vector<ElementDef> rowElements(const RowNames& r) {
    const auto field = [&](const char* name, const char* f, QRectF box) {
        return ElementDef{.band = r.band,
                          .name = name,
                          .kind = Kind::Field,
                          .dataset = r.dataset,
                          .field = f,
                          .box = box,
                          .font = small,
                          .wordWrap = name == r.nameText};
    };
    const auto rectangle = [&](const char* name, const QColor& colour) {
        return ElementDef{.band = r.band,
                          .name = name,
                          .kind = Kind::Rectangle,
                          .box = {chartLeft, r.barTop, 0, 17},
                          .fill = colour,
                          .pen = colour};
    };
    return {field(r.nameText, r.nameField, r.nameBox),
            rectangle(r.bar, otherColour),
            field(r.fromText, r.fromField, {0, 3, r.dateWidth, r.textHeight}),
            field(r.toText, r.toField, {0, 3, r.dateWidth, r.textHeight}),
            {.band = r.band,
             .name = r.arrow,
             .text = "-->",
             .box = {0, 4, 15, r.textHeight - 1},
             .font = small},
            rectangle(r.overlay, percentColour)};
}

// A stretch of the scale's frame: two horizontal lines, at y 99 and y 140.
ElementDef frame(const char* name, qreal from, qreal to) {
    return {.band = "QRBand1",
            .name = name,
            .kind = Kind::TopAndBottomLines,
            .box = {from, 99, to - from, 41}};
}

using L = ReportLayout;

const ElementDef header[] = {
    L::title("QRBand1", "QRLabel1", "Project Time Line", 8, 14),
    L::label("QRBand1", "QRLabel3", "Date:", {9, 9}),
    L::runDate("QRBand1", "QRSysData1", Kind::Date, "", {48, 8}),
    {.band = "QRBand1",
     .name = "QRLabel11",
     .text = "Page #",
     .box = {1152, 8, 50, 0},
     .align = Qt::AlignRight,
     .fit = true},
    {.band = "QRBand1", .name = "QRSysData2", .kind = Kind::PageNumber, .box = {1216, 8, 0, 0}},
    L::label("QRBand1", "QRLabel4", "Legend", {9, 25}, ReportParts::underlined()),
    L::label("QRBand1", "QRLabel5", "Red for Critical", {8, 49}, small),
    L::label("QRBand1", "QRLabel14", "Green for Completed", {8, 67}, small),
    {.band = "QRBand1",
     .name = "QRLabel2",
     .text = "Gray for Non-critical & Not Completed",
     .box = {8, 84, 105, 30},
     .font = small,
     .wordWrap = true},
    L::label("QRBand1", "QRLabel9", "Purple % completed", {8, 114}, small),
    L::label("QRBand1", "QRLabel10", "Project start date", {chartLeft, 31}),
    L::field("QRBand1", "QRDBText1", &ProjectData::projects, "Zel_date_from",
             {chartLeft, 50, 0, 0}),
    L::runDate("QRBand1", "QRSysData3", Kind::Date, "Current date:", {currentDateLeft, 79}, small),
    frame("QRShape4", 156, 456),
    frame("QRShape6", 456, 756),
    frame("QRShape8", 756, 1056),
    frame("QRShape10", 1056, 1206),
    {.band = "QRBand2",
     .name = "QRDBText2",
     .kind = Kind::Field,
     .dataset = &ProjectData::projects,
     .field = "Zel_project",
     .box = {0, 8, 145, 16},
     .font = small,
     .wordWrap = true},
    L::label("QRBand2", "QRLabel8", "Project End date", {0, 3}, small),
    {.band = "QRBand2",
     .name = "QRDBText5",
     .kind = Kind::Field,
     .dataset = &ProjectData::projects,
     .field = "Zel_date_to",
     .box = {88, 3, 0, 0},
     .font = small},
};

const ElementDef pageLines[] = {
    {.name = "QRShape1", .kind = Kind::VerticalLine, .box = {174, 160, 5, 789 - 160}},
    {.name = "QRShape11",
     .kind = Kind::VerticalLine,
     .box = {0, 120, 10, 789 - 120},
     .penStyle = Qt::DotLine},
    {.name = "QRShape7", .kind = Kind::VerticalLine, .box = {0, 120, 10, 789 - 120}},
};

vok::PageSetup legalLandscape() {
    vok::PageSetup setup;
    setup.paper = vok::PageSetup::Paper::Legal;
    setup.orientation = QPageLayout::Landscape;
    setup.unit = vok::PageSetup::Unit::Inch96;
    setup.margins = QMarginsF(24, 24, 24, 24);
    return setup;
}

} // namespace

TimeLineReport::TimeLineReport(ProjectData* dm, std::function<TimeLineOptions()> options,
                               QObject* parent)
    : ReportForm(dm, "Form5", QStringLiteral("Project Time Line"), legalLandscape(), parent),
      options_(std::move(options)) {
    build(bands, header, "QRLabel1");
    ReportLayout::addElements(*bandedReport, *dm_, rowElements(majorRow));
    ReportLayout::addElements(*bandedReport, *dm_, rowElements(actionRow));
    ReportLayout::addElements(*bandedReport, *dm_, pageLines);
    filterOnChosenProject();

    pageHeader = band("QRBand1");
    projectBand = band("QRBand2");
    majorBand = band("QRSubDetail1");
    actionBand = band("QRSubDetail2");
    currentDateText = element<ReportSysData>("QRSysData3");
    projectEndLabel = element<ReportLabel>("QRLabel8");
    projectEndText = element<ReportFieldText>("QRDBText5");
    currentDateLine = element<ReportShape>("QRShape11");
    projectEndLine = element<ReportShape>("QRShape7");
    // Made here rather than from the table: it numbers the sheets, which only the engine knows.
    TileMark =
        new ReportSysData(pageHeader, ReportSysData::Data::PageOfPages, QStringLiteral("TileMark"));
    TileMark->setFont(small);
    TileMark->setGeometry(1046, 25, 200, 0);
    TileMark->setAlignment(Qt::AlignRight);
    projectEndText->setFollows(projectEndLabel);
    element<ReportSysData>("QRSysData1")->setFollows(element<ReportLabel>("QRLabel3"));
    majorRow_ = barRow(dm_->Major, "Major", "QRShape2", "QRShapeComplete1");
    actionRow_ = barRow(dm_->Action, "Action", "QRShape3", "QRShapeComplete2");

    bandedReport->beforePrint = [this](Report&) {
        reportBeforePrint();
        prepareActualWork();
    };
    bandedReport->pagesAcross = [this] { return pagesAcross(); };
    pageHeader->beforePrint = [this](ReportBand&, bool& print) { pageHeaderBeforePrint(print); };
    majorBand->beforePrint = [this](ReportBand&, bool& print) {
        majorBandBeforePrint(print);
        placeActualWork(1);
    };
    actionBand->beforePrint = [this](ReportBand&, bool& print) {
        actionBandBeforePrint(print);
        placeActualWork(2);
    };
}

TimeLineReport::BarRow TimeLineReport::barRow(vok::Table* table, const char* prefix,
                                              const char* bar, const char* overlay) {
    const QString p = QLatin1String(prefix);
    const auto named = [&](const char* suffix) { return (p + QLatin1String(suffix)).toLatin1(); };
    return {table,
            p,
            element<ReportShape>(bar),
            element<ReportFieldText>(named("FromDate").constData()),
            element<ReportLabel>(named("DateLabel").constData()),
            element<ReportFieldText>(named("EndDate").constData()),
            element<ReportShape>(overlay)};
}

double TimeLineReport::projectDate(const char* field) const {
    return ReportParts::dayNumber(dm_->projects->fieldByName(QLatin1String(field)).asDate());
}

double TimeLineReport::startInstant() const {
    const double page = bandedReport->pageColumn() * daysPerPage();
    if (options_().start == TimeLineOptions::Start::Today)
        return ReportParts::dayNumber(vok::Clock::now()) + page;
    return projectDate("Zel_date_from") + page;
}

int TimeLineReport::scaleFactor() const {
    return options_().scale == TimeLineOptions::Scale::Month ? 2 : 10;
}

int TimeLineReport::daysPerPage() const {
    return (chartRight - chartLeft) / scaleFactor();
}

int TimeLineReport::pagesAcross() const {
    if (!options_().tiles)
        return 1;
    // Whole days from the first page's first column on; a scale that starts at a time of day
    // shows that day in its first column.
    const double first = std::trunc(startInstant());
    const double last = std::max(lastDay_, projectDate("Zel_date_to"));
    // A mistyped year (9999) must not make a run of tens of thousands of pages: a century of
    // days is as far as pages side by side go.
    const double pages = std::ceil((last + 1 - first) / daysPerPage());
    return static_cast<int>(std::clamp(pages, 1.0, 36525.0 / daysPerPage()));
}

void TimeLineReport::reportBeforePrint() {
    lastDay_ = 0;
    // Which days this page's scale shows, and which sheet it is: the engine numbers the sheets.
    const QDate firstDay = ReportParts::dateOf(std::trunc(startInstant()));
    TileMark->setVisible(bandedReport->pageColumns() > 1);
    TileMark->setText(QCoreApplication::translate("Form5", "page %1 of %2: %3 to %4")
                          .arg(QStringLiteral("%1"), QStringLiteral("%2"),
                               vok::ShortDate::format(firstDay),
                               vok::ShortDate::format(firstDay.addDays(daysPerPage() - 1))));
    // The scale labels of the previous run go first.
    const QList<vok::ReportElement*> elements = pageHeader->elements();
    for (auto it = elements.crbegin(); it != elements.crend(); ++it) {
        if (((*it)->tag() == scaleTag || (*it)->tag() == calendarTag) &&
            qobject_cast<ReportLabel*>(*it))
            delete *it;
    }
    Setlines();
    const double start = startInstant();
    const QDate first = ReportParts::dateOf(start);
    if (scaleFactor() == 10) {
        for (int i = 0; i < dayColumns; ++i) {
            const QDate d = first.addDays(i);
            const qreal x = chartLeft + 10 * i;
            const auto make = [&](const QString& family, qreal y, const QString& text) {
                auto* l = new ReportLabel(pageHeader);
                l->setFont(ReportFont(family, 6));
                l->setAutoSize(false);
                l->setGeometry(x, y, 9, 0);
                l->setTag(scaleTag);
                l->setText(text);
            };
            make(QStringLiteral("Arial"), 120, QString::number(d.day()));
            make(QStringLiteral("Courier New"), 101,
                 QLatin1String(weekdayInitials[d.dayOfWeek() % 7]));
        }
    } else {
        for (int i = 0; i < monthLabels; ++i) {
            auto* l = new ReportLabel(pageHeader);
            l->setFont(small);
            l->setAutoSize(true);
            l->setGeometry(chartLeft + 60 * i, 120, 0, 0);
            l->setTag(scaleTag);
            l->setText(QLatin1String(monthNames[(first.month() - 1 + i) % 12]));
        }
    }
    if (showsCalendar())
        addCalendarBand(first);
}

bool TimeLineReport::showsCalendar() const {
    // Where the page cannot be dated from the project's start alone: pages side by side, and a
    // project that runs past the page's scale.
    const double first = std::trunc(startInstant());
    return options_().tiles || projectDate("Zel_date_to") + 1 - first > daysPerPage();
}

void TimeLineReport::addCalendarBand(const QDate& first) {
    const auto add = [this](qreal x, qreal room, const QStringList& texts) {
        // The longest form that fits before the next one starts; none when none does.
        for (const QString& text : texts) {
            if (tiny.textWidth(text) > room)
                continue;
            auto* l = new ReportLabel(pageHeader);
            l->setFont(tiny);
            l->setAutoSize(false);
            l->setGeometry(x, calendarTop, room, 0);
            l->setTag(calendarTag);
            l->setText(text);
            return;
        }
    };
    const auto month = [](const QDate& d) {
        return QString::fromLatin1(monthNames[d.month() - 1]);
    };
    if (scaleFactor() == 10) {
        // Month and year over the first day of each month on the page (and over the first
        // column for the month the page starts in).
        const QDate last = first.addDays(dayColumns - 1);
        for (QDate d = first; d <= last; d = QDate(d.year(), d.month(), 1).addMonths(1)) {
            const QDate end = std::min(last, QDate(d.year(), d.month(), d.daysInMonth()));
            const qreal x = chartLeft + 10 * first.daysTo(d);
            const qreal room = 10 * (d.daysTo(end) + 1) - 1;
            const QString year = QString::number(d.year());
            add(x, room,
                {month(d) + QLatin1Char(' ') + year, month(d).left(3) + QLatin1Char(' ') + year,
                 month(d).left(3)});
        }
        return;
    }
    // The month scale: the year over its first month on the page and over every January.
    for (int i = 0; i < monthLabels; ++i) {
        const QDate d = first.addMonths(i);
        if (i == 0 || d.month() == 1)
            add(chartLeft + 60 * i, 59, {QString::number(d.year())});
    }
}

void TimeLineReport::Setlines() {
    currentDateLine->setVisible(true);
    currentDateText->setVisible(true);
    projectEndLine->setVisible(true);
    const double start = startInstant();
    const double now = ReportParts::dayNumber(vok::Clock::now());
    const bool days = scaleFactor() == 10;
    const qreal width = days ? 10 : 2;
    // Page x of a line c whole days after the start.
    const auto lineX = [days](double delta) {
        const double c = std::trunc(delta);
        return days ? (c + 1) * 10 + chartLeft + 15 : (c + 1) * 2 + chartLeft + 18;
    };

    const qreal current = lineX(now - start);
    currentDateLine->setLeft(current);
    currentDateLine->setWidth(width);
    if (options_().tiles && (current > chartRight || current < chartLeft)) {
        // On pages side by side the current date shows on its own page only, by its line.
        currentDateLine->setVisible(false);
        currentDateText->setVisible(false);
    } else if (current >= chartLeft) {
        currentDateText->setLeft(current + 5);
    } else {
        currentDateLine->setVisible(false);
    }

    const qreal end = lineX(projectDate("Zel_date_to") - start);
    projectEndLine->setLeft(end);
    projectEndLine->setWidth(width);
    // On pages side by side the end shows on its own page only.
    if (options_().tiles && (end < chartLeft || end > chartRight))
        projectEndLine->setVisible(false);
}

void TimeLineReport::pageHeaderBeforePrint(bool&) {
    const double x =
        std::trunc((projectDate("Zel_date_to") - startInstant() - 1) * scaleFactor() + chartLeft);
    // Caption and date end left of the chart's end in every language: the limit moves left by
    // as much as they are wider than the English ones.
    const qreal caption = small.textWidth(projectEndLabel->text());
    const qreal date = small.textWidth(projectEndText->displayText({}));
    const qreal limit =
        std::min<qreal>(captionLimit, chartRight - std::max<qreal>(88, caption + 4) - date);
    qreal left = std::min<double>(x, limit);
    // On the pages side by side after the end's, the caption stays by the names.
    if (options_().tiles)
        left = std::max<qreal>(left, chartLeft);
    projectEndLabel->setLeft(left);
    projectEndText->setLeft(left + 88);
}

void TimeLineReport::majorBandBeforePrint(bool&) {
    placeBar(majorRow_);
}

void TimeLineReport::actionBandBeforePrint(bool&) {
    placeBar(actionRow_);
}

void TimeLineReport::placeBar(const BarRow& row) {
    vok::Table* t = row.table;
    row.bar->setVisible(true);
    row.fromText->setVisible(true);
    row.toText->setVisible(true);

    const auto field = [&](const char* suffix) -> vok::Field& {
        return t->fieldByName(row.prefix + QLatin1String(suffix));
    };
    const bool completed = field("_completed").asBoolean();
    const QColor colour = completed                        ? completedColour
                          : field("_critical").asBoolean() ? criticalColour
                                                           : otherColour;
    row.bar->setBrushColor(colour);
    row.bar->setPenColor(colour);

    const double start = startInstant();
    const int u = scaleFactor();
    const double from = ReportParts::dayNumber(field("_from_date").asDate());
    const double to = ReportParts::dayNumber(field("_to_date").asDate());
    lastDay_ = std::max(lastDay_, to);
    double width = std::trunc((to + 1 - from) * u);
    double left = std::trunc((from - start) * u + chartLeft);
    const double wholeLeft = left, wholeWidth = width;
    // On pages side by side a bar that runs on to the next page has its dates printed where it
    // ends, not past this page's edge, nor again on the pages after.
    const bool runsOn = options_().tiles && left + width > chartRight;

    if (left + width > chartRight)
        width = chartRight - left;
    bool barShown = true;
    const bool before = left + width < chartLeft;
    if (before) {
        barShown = false; // wholly before the scale
    } else if (left < chartLeft) {
        width = left + width - chartLeft;
        left = chartLeft;
    }
    // A bar that starts right of the chart, or ends before it starts, has no width to draw.
    // Its dates are then placed so that they do not print over each other: one that starts
    // after the scale shows its start date just right of the chart; one whose dates are the
    // wrong way round shows both after its left end, so the mistake can be seen.
    const bool noWidth = width <= 0;
    if (noWidth)
        barShown = false;
    row.bar->setVisible(barShown);
    row.bar->setLeft(left);
    row.bar->setWidth(std::max(0.0, width));

    row.arrow->setVisible(true);
    if (noWidth && left >= chartRight) {
        row.fromText->setLeft(chartRight + 5);
        row.arrow->setVisible(false);
        row.toText->setVisible(false);
    } else if (noWidth) {
        row.fromText->setLeft(left + 5);
        row.arrow->setLeft(row.fromText->left() + row.fromText->width() + 2);
        row.toText->setLeft(row.arrow->left() + row.arrow->width() + 2);
    } else if (left <= 210) {
        row.fromText->setLeft(left + width + 5);
        row.arrow->setLeft(row.fromText->left() + row.fromText->width() + 2);
        row.toText->setLeft(row.arrow->left() + row.arrow->width() + 2);
    } else {
        row.fromText->setLeft(left - 50);
        row.toText->setLeft(left + width + 5);
        row.arrow->setVisible(false);
    }

    if (runsOn || (options_().tiles && before)) {
        // Printed on the page where the bar ends.
        row.toText->setVisible(false);
        row.arrow->setVisible(false);
        if (left <= 210)
            row.fromText->setVisible(false);
    }

    // The share done, over the bar's left end; not for a finished activity, nor where the
    // share or the bar gives no width to draw.
    // Whole units, counted exactly: 29 % of 100 is 29, where 29 * 0.01 * 100 in floating point
    // truncates to 28.
    const int percent = field("_perc_complete").asInteger();
    double doneLeft = left;
    double done = std::trunc(percent * width / 100.0);
    if (options_().tiles) {
        // The share of the whole bar, of which each page shows its stretch.
        const double doneRight =
            std::min<double>(wholeLeft + std::trunc(percent * wholeWidth / 100.0), chartRight);
        doneLeft = std::max<double>(wholeLeft, chartLeft);
        done = doneRight - doneLeft;
    }
    const bool overlayShown = !completed && percent != 0 && percent <= 100 && barShown && done > 0;
    row.overlay->setVisible(overlayShown);
    row.overlay->setLeft(doneLeft);
    row.overlay->setWidth(std::max(0.0, done));
}

void TimeLineReport::prepareActualWork() {
    actualDays_.clear();
    actualProject_ = 0;
    const bool on = options_().actuals;
    if (!on) {
        delete majorActual_;
        delete actionActual_;
        delete actualLegend_;
        majorActual_ = actionActual_ = nullptr;
        actualLegend_ = nullptr;
        return;
    }
    if (!majorActual_) {
        // A thin black bar in the room under each row's bar and its dates.
        const auto thin = [](ReportBand* band, const char* name, qreal top) {
            auto* bar = new ReportShape(band, ReportShape::Shape::Rectangle, QLatin1String(name));
            bar->setGeometry(chartLeft, top, 0, 3);
            bar->setBrushColor(Qt::black);
            bar->setPenColor(Qt::black);
            return bar;
        };
        majorActual_ = thin(majorBand, "MajorActualWork", 21);
        actionActual_ = thin(actionBand, "ActionActualWork", 20);
        actualLegend_ = new ReportLabel(pageHeader, QStringLiteral("ActualWorkLegend"));
        actualLegend_->setFont(small);
        actualLegend_->setAutoSize(true);
        actualLegend_->setGeometry(8, 130, 0, 0);
    }
    actualLegend_->setText(QCoreApplication::translate("Form5", "Black line: actual work"));
}

void TimeLineReport::placeActualWork(int level) {
    ReportShape* bar = level == 1 ? majorActual_ : actionActual_;
    if (!bar)
        return;
    bar->setVisible(false);
    const qlonglong project =
        dm_->projects->fieldByName(QStringLiteral("Zel_Project_id")).value().toLongLong();
    if (project == 0)
        return;
    if (project != actualProject_) {
        // One statement per project: the booked days of all its nodes.
        actualDays_ = NodeFigures::bookedDays(*dm_->store, project);
        actualProject_ = project;
    }
    const vok::Table& t = *(level == 1 ? dm_->Major : dm_->Action);
    if (t.eof())
        return; // the empty row of a project or major activity without any
    QStringList key;
    for (const char* f : NodeFigures::fields(level).key) {
        if (f)
            key << t.fieldByName(QLatin1String(f)).asString();
    }
    const NodeFigures::Days days = actualDays_.value(key.join(QLatin1Char(',')));
    if (!days.start.isValid() || !days.finish.isValid())
        return;
    // On the bars' scale, cut at the chart's edges.
    const int u = scaleFactor();
    const double from = ReportParts::dayNumber(days.start);
    double left = std::trunc((from - startInstant()) * u + chartLeft);
    double right = left + std::trunc((ReportParts::dayNumber(days.finish) + 1 - from) * u);
    left = std::max<double>(left, chartLeft);
    right = std::min<double>(right, chartRight);
    if (right <= left)
        return;
    bar->setLeft(left);
    bar->setWidth(right - left);
    bar->setVisible(true);
}
