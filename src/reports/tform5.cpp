#include "tform5.h"

#include "data/tdatamodule2.h"
#include "framework/dataset/shortdate.h"
#include "framework/dataset/table.h"
#include "framework/report/report.h"
#include "framework/report/reportfieldtext.h"
#include "framework/report/reportshape.h"
#include "framework/report/reportsysdata.h"
#include "framework/ui/clock.h"
#include "tform4.h"

#include <QButtonGroup>
#include <QColor>
#include <cmath>

using vok::Report;
using vok::ReportBand;
using vok::ReportFieldText;
using vok::ReportFont;
using vok::ReportLabel;
using vok::ReportShape;
using vok::ReportSysData;

namespace {

// Chart geometry in band units: the scale runs from 156 to 1206.
constexpr int chartLeft = 156;
constexpr int chartRight = 1206;
constexpr int captionLimit = 1050;
constexpr int dayColumns = 105;
constexpr int monthLabels = 17;
constexpr int scaleTag = 9;
// The date texts of a row (from y 3) reach down to the bottom of its bar, so a date box that
// overlaps a bar's end covers it cleanly.
constexpr int majorTextHeight = 18;
constexpr int actionTextHeight = 17;

const QColor completedColour(0, 128, 0);
const QColor criticalColour(255, 0, 0);
const QColor otherColour(128, 128, 128);
const QColor percentColour(128, 0, 128);

const char* const weekdayInitials[] = {"S", "M", "T", "W", "T", "F", "S"};
const char* const monthNames[] = {"January",   "February", "March",    "April",
                                  "May",       "June",     "July",     "August",
                                  "September", "October",  "November", "December"};

// Day number of the date system (30 December 1899 is day 0), with the time of day as fraction.
double dayNumber(const QDate& date) {
    return static_cast<double>(vok::ShortDate::zeroDate().daysTo(date));
}

double dayNumber(const QDateTime& instant) {
    return dayNumber(instant.date()) + instant.time().msecsSinceStartOfDay() / 86400000.0;
}

QDate dateOf(double day) {
    return vok::ShortDate::zeroDate().addDays(static_cast<qint64>(std::floor(day)));
}

ReportFont arial(qreal size, bool bold = false, bool underline = false) {
    return ReportFont(QStringLiteral("Arial"), size, bold, underline);
}

ReportLabel* label(ReportBand* band, const QString& name, const QString& text, qreal x, qreal y,
                   const ReportFont& font) {
    auto* l = new ReportLabel(band, name);
    l->setText(text);
    l->setFont(font);
    l->setAutoSize(true);
    l->setGeometry(x, y, 0, 0);
    return l;
}

ReportFieldText* fieldText(ReportBand* band, const QString& name, vok::Table* table,
                           const QString& field, qreal x, qreal y, qreal width, qreal height,
                           const ReportFont& font) {
    auto* t = new ReportFieldText(band, name);
    t->setField(table, field);
    t->setFont(font);
    t->setGeometry(x, y, width, height);
    t->setAutoSize(width <= 0);
    return t;
}

ReportShape* shape(ReportBand* band, const QString& name, ReportShape::Shape kind, qreal x, qreal y,
                   qreal width, qreal height) {
    auto* s = new ReportShape(band, kind, name);
    s->setGeometry(x, y, width, height);
    return s;
}

} // namespace

TForm5::TForm5(TForm1*, TDataModule2* dm, TForm4* form4, QObject* parent)
    : QObject(parent), dm_(dm), form4_(form4) {
    setObjectName(QStringLiteral("Form5"));
    QuickRep1 = new Report(this);
    QuickRep1->setObjectName(QStringLiteral("QuickRep1"));
    QuickRep1->setTitle(QStringLiteral("Project Time Line"));
    vok::PageSetup setup;
    setup.paper = vok::PageSetup::Paper::Legal;
    setup.orientation = QPageLayout::Landscape;
    setup.unit = vok::PageSetup::Unit::Inch96;
    setup.margins = QMarginsF(24, 24, 24, 24);
    QuickRep1->setPageSetup(setup);
    QuickRep1->setDefaultFont(arial(10));
    QuickRep1->beforePrint = [this](Report&) { QuickRep1BeforePrint(); };

    buildHeader();
    buildProjectRow();
    buildBarRows();
    buildPageLines();
}

void TForm5::buildHeader() {
    QRBand1 = QuickRep1->addBand(ReportBand::Kind::PageHeader, QStringLiteral("QRBand1"), 145);
    QRBand1->beforePrint = [this](ReportBand&, bool& print) { QRBand1BeforePrint(print); };

    QRLabel1 =
        label(QRBand1, "QRLabel1", QStringLiteral("Project Time Line"), 0, 8, arial(14, true));
    QRLabel1->setAlignToBand(true);
    QRLabel1->setAlignment(Qt::AlignHCenter);
    label(QRBand1, "QRLabel3", QStringLiteral("Date:"), 9, 9, arial(10));
    QRSysData1 =
        new ReportSysData(QRBand1, ReportSysData::Data::Date, QStringLiteral("QRSysData1"));
    QRSysData1->setGeometry(48, 8, 0, 0);
    ReportLabel* page = label(QRBand1, "QRLabel11", QStringLiteral("Page #"), 1152, 8, arial(10));
    page->setWidth(50); // right edge at 1202
    page->setAlignment(Qt::AlignRight);
    QRSysData2 =
        new ReportSysData(QRBand1, ReportSysData::Data::PageNumber, QStringLiteral("QRSysData2"));
    QRSysData2->setGeometry(1216, 8, 0, 0);

    label(QRBand1, "QRLabel4", QStringLiteral("Legend"), 9, 25, arial(10, false, true));
    label(QRBand1, "QRLabel5", QStringLiteral("Red for Critical"), 8, 49, arial(8));
    label(QRBand1, "QRLabel14", QStringLiteral("Green for Completed"), 8, 67, arial(8));
    ReportLabel* gray =
        label(QRBand1, "QRLabel2", QStringLiteral("Gray for Non-critical & Not Completed"), 8, 84,
              arial(8));
    gray->setAutoSize(false);
    gray->setWordWrap(true);
    gray->setGeometry(8, 84, 105, 30);
    label(QRBand1, "QRLabel9", QStringLiteral("Purple % completed"), 8, 114, arial(8));

    label(QRBand1, "QRLabel10", QStringLiteral("Project start date"), chartLeft, 31, arial(10));
    QRDBText1 = fieldText(QRBand1, "QRDBText1", dm_->projects, "Zel_date_from", chartLeft, 50, 0, 0,
                          arial(10));

    QRSysData3 =
        new ReportSysData(QRBand1, ReportSysData::Data::Date, QStringLiteral("QRSysData3"));
    QRSysData3->setText(QStringLiteral("Current date:"));
    QRSysData3->setFont(arial(8));
    QRSysData3->setGeometry(167, 79, 0, 0);

    const auto frame = [this](const char* name, qreal from, qreal to) {
        return shape(QRBand1, name, ReportShape::Shape::TopAndBottomLines, from, 99, to - from, 41);
    };
    QRShape4 = frame("QRShape4", 156, 456);
    QRShape6 = frame("QRShape6", 456, 756);
    QRShape8 = frame("QRShape8", 756, 1056);
    QRShape10 = frame("QRShape10", 1056, 1206);
}

void TForm5::buildProjectRow() {
    QRBand2 = QuickRep1->addBand(ReportBand::Kind::Detail, QStringLiteral("QRBand2"), 24);
    QRBand2->setDataset(dm_->projects);
    QRBand2->setForceNewPage(true);
    QRBand2->setPrintIfEmpty(true);
    QRDBText2 =
        fieldText(QRBand2, "QRDBText2", dm_->projects, "Zel_project", 0, 8, 145, 16, arial(8));
    QRDBText2->setWordWrap(true);
    QRLabel8 = label(QRBand2, "QRLabel8", QStringLiteral("Project End date"), 0, 3, arial(8));
    QRDBText5 =
        fieldText(QRBand2, "QRDBText5", dm_->projects, "Zel_date_to", 88, 3, 0, 0, arial(8));
}

TForm5::BarRow TForm5::buildRow(ReportBand* band, vok::Table* table, const QString& prefix,
                                const RowLayout& layout) {
    // Elements in printing order: name, bar, start date, end date, arrow, overlay.
    BarRow row{table, prefix};
    row.name =
        fieldText(band, layout.name, table, layout.nameField, layout.nameBox.x(),
                  layout.nameBox.y(), layout.nameBox.width(), layout.nameBox.height(), arial(8));
    row.name->setWordWrap(true);
    row.bar =
        shape(band, layout.bar, ReportShape::Shape::Rectangle, chartLeft, layout.barTop, 0, 17);
    row.fromText = fieldText(band, prefix + QStringLiteral("FromDate"), table,
                             prefix + QStringLiteral("_from_date"), 0, 3, layout.dateWidth,
                             layout.textHeight, arial(8));
    row.toText = fieldText(band, prefix + QStringLiteral("EndDate"), table,
                           prefix + QStringLiteral("_to_date"), 0, 3, layout.dateWidth,
                           layout.textHeight, arial(8));
    row.arrow = new ReportLabel(band, prefix + QStringLiteral("DateLabel"));
    row.arrow->setText(QStringLiteral("-->"));
    row.arrow->setFont(arial(8));
    row.arrow->setGeometry(0, 4, 15, layout.textHeight - 1);
    row.overlay =
        shape(band, layout.overlay, ReportShape::Shape::Rectangle, chartLeft, layout.barTop, 0, 17);
    row.overlay->setBrushColor(percentColour);
    row.overlay->setPenColor(percentColour);
    return row;
}

void TForm5::buildBarRows() {
    const auto rowBand = [this](const char* name, ReportBand* master, vok::Table* table) {
        ReportBand* band = QuickRep1->addBand(ReportBand::Kind::SubDetail, QLatin1String(name), 24);
        band->setMaster(master);
        band->setDataset(table);
        band->setPrintIfEmpty(true);
        return band;
    };

    QRSubDetail1 = rowBand("QRSubDetail1", QRBand2, dm_->Major);
    QRSubDetail1->beforePrint = [this](ReportBand&, bool& print) {
        QRSubDetail1BeforePrint(print);
    };
    majorRow_ = buildRow(QRSubDetail1, dm_->Major, QStringLiteral("Major"),
                         {"QRDBText3", "Major_item", QRectF(8, 4, 137, 17), "QRShape2",
                          "QRShapeComplete1", 4, 63, majorTextHeight});
    QRDBText3 = majorRow_.name;
    QRShape2 = majorRow_.bar;
    MajorFromDate = majorRow_.fromText;
    MajorEndDate = majorRow_.toText;
    MajorDateLabel = majorRow_.arrow;
    QRShapeComplete1 = majorRow_.overlay;

    QRSubDetail2 = rowBand("QRSubDetail2", QRSubDetail1, dm_->Action);
    QRSubDetail2->beforePrint = [this](ReportBand&, bool& print) {
        QRSubDetail2BeforePrint(print);
    };
    actionRow_ = buildRow(QRSubDetail2, dm_->Action, QStringLiteral("Action"),
                          {"QRDBText4", "Action_name", QRectF(13, 3, 132, 17), "QRShape3",
                           "QRShapeComplete2", 3, 55, actionTextHeight});
    QRDBText4 = actionRow_.name;
    QRShape3 = actionRow_.bar;
    ActionFromDate = actionRow_.fromText;
    ActionEndDate = actionRow_.toText;
    ActionDateLabel = actionRow_.arrow;
    QRShapeComplete2 = actionRow_.overlay;
}

void TForm5::buildPageLines() {
    ReportBand* page = QuickRep1->pageLevel();
    QRShape1 = shape(page, "QRShape1", ReportShape::Shape::VerticalLine, 174, 160, 5, 789 - 160);
    QRShape11 = shape(page, "QRShape11", ReportShape::Shape::VerticalLine, 0, 120, 10, 789 - 120);
    QRShape11->setPenStyle(Qt::DotLine);
    QRShape7 = shape(page, "QRShape7", ReportShape::Shape::VerticalLine, 0, 120, 10, 789 - 120);
}

double TForm5::projectDate(const char* field) const {
    return dayNumber(dm_->projects->fieldByName(QLatin1String(field)).asDate());
}

double TForm5::startInstant() const {
    if (form4_->RadioGroup1Items->checkedId() == 1)
        return dayNumber(vok::Clock::now());
    return projectDate("Zel_date_from");
}

int TForm5::scaleFactor() const {
    return form4_->RadioGroup2Items->checkedId() == 1 ? 2 : 10;
}

void TForm5::QuickRep1BeforePrint() {
    // The scale labels of the previous run go first.
    const QList<vok::ReportElement*> elements = QRBand1->elements();
    for (auto it = elements.crbegin(); it != elements.crend(); ++it) {
        if ((*it)->tag() == scaleTag && qobject_cast<ReportLabel*>(*it))
            delete *it;
    }
    Setlines();
    const double start = startInstant();
    const QDate first = dateOf(start);
    if (scaleFactor() == 10) {
        for (int i = 0; i < dayColumns; ++i) {
            const QDate d = first.addDays(i);
            const qreal x = chartLeft + 10 * i;
            const auto make = [&](const QString& family, qreal y, const QString& text) {
                auto* l = new ReportLabel(QRBand1);
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
            auto* l = new ReportLabel(QRBand1);
            l->setFont(arial(8));
            l->setAutoSize(true);
            l->setGeometry(chartLeft + 60 * i, 120, 0, 0);
            l->setTag(scaleTag);
            l->setText(QLatin1String(monthNames[(first.month() - 1 + i) % 12]));
        }
    }
}

void TForm5::Setlines() {
    QRShape11->setVisible(true);
    QRShape7->setVisible(true);
    const double start = startInstant();
    const double now = dayNumber(vok::Clock::now());
    const bool days = scaleFactor() == 10;
    const qreal width = days ? 10 : 2;
    // Page x of a line c whole days after the start.
    const auto lineX = [days](double delta) {
        const double c = std::trunc(delta);
        return days ? (c + 1) * 10 + chartLeft + 15 : (c + 1) * 2 + chartLeft + 18;
    };

    const qreal current = lineX(now - start);
    QRShape11->setLeft(current);
    QRShape11->setWidth(width);
    if (current >= chartLeft)
        QRSysData3->setLeft(current + 5);
    else
        QRShape11->setVisible(false);

    QRShape7->setLeft(lineX(projectDate("Zel_date_to") - start));
    QRShape7->setWidth(width);
}

void TForm5::QRBand1BeforePrint(bool&) {
    const double x =
        std::trunc((projectDate("Zel_date_to") - startInstant() - 1) * scaleFactor() + chartLeft);
    const qreal left = std::min<double>(x, captionLimit);
    QRLabel8->setLeft(left);
    QRDBText5->setLeft(left + 88);
}

void TForm5::QRSubDetail1BeforePrint(bool&) {
    placeBar(majorRow_);
}

void TForm5::QRSubDetail2BeforePrint(bool&) {
    placeBar(actionRow_);
}

void TForm5::placeBar(const BarRow& row) const {
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
    const double from = dayNumber(field("_from_date").asDate());
    const double to = dayNumber(field("_to_date").asDate());
    double width = std::trunc((to + 1 - from) * u);
    double left = std::trunc((from - start) * u + chartLeft);

    if (left + width > chartRight)
        width = chartRight - left;
    bool barShown = true;
    if (left + width < chartLeft) {
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

    // The share done, over the bar's left end; not for a finished activity, nor where the
    // share or the bar gives no width to draw.
    // Whole units, counted exactly: 29 % of 100 is 29, where 29 * 0.01 * 100 in floating point
    // truncates to 28.
    const int percent = field("_perc_complete").asInteger();
    const double done = std::trunc(percent * width / 100.0);
    const bool overlayShown = !completed && percent != 0 && percent <= 100 && barShown && done > 0;
    row.overlay->setVisible(overlayShown);
    row.overlay->setLeft(left);
    row.overlay->setWidth(std::max(0.0, done));
}
