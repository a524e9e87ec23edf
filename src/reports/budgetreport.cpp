#include "budgetreport.h"

#include "data/projectdata.h"
#include "framework/dataset/shortdate.h"
#include "framework/dataset/table.h"
#include "framework/report/report.h"
#include "framework/report/reportlabel.h"
#include "framework/report/reportshape.h"

#include <QLocale>
#include <algorithm>
#include <cmath>
#include <vector>

namespace {

using Kind = ElementDef::Kind;
using BandKind = vok::ReportBand::Kind;

const BandDef bands[] = {
    {.name = "QRBand1", .kind = BandKind::PageHeader, .height = 100, .frameBottom = true},
    {.name = "QRBand2", .kind = BandKind::Detail, .height = 22, .dataset = &ProjectData::projects},
    {.name = "QRSubDetail1",
     .kind = BandKind::SubDetail,
     .height = 18,
     .dataset = &ProjectData::Major,
     .master = "QRBand2"},
    {.name = "QRSubDetail2",
     .kind = BandKind::SubDetail,
     .height = 18,
     .dataset = &ProjectData::Action,
     .master = "QRSubDetail1"},
    // After the project's major activities and their actions: their totals.
    {.name = "QRSubDetail3", .kind = BandKind::SubDetail, .height = 24, .master = "QRBand2"},
};

// The columns after the names: where each lies, its heading, and the name its elements end in.
struct ColumnPlace {
    const char* name;
    const char* heading;
    qreal left;
    qreal width;
    Qt::Alignment align = Qt::AlignRight;
};
const ColumnPlace columns[] = {
    {"BudgetHours", "Budget hours", 230, 75},
    {"ActualHours", "Actual hours", 305, 75},
    {"HoursLeft", "Hours left", 380, 75},
    {"Budget", "Budget", 455, 95},
    {"ActualCosts", "Actual costs", 550, 95},
    {"CostLeft", "Cost left", 645, 95},
    {"Percent", "% Complete", 740, 60},
    {"ActualStart", "Actual start", 812, 78, Qt::AlignLeft},
    {"ActualFinish", "Actual finish", 890, 78, Qt::AlignLeft},
    {"ForecastHours", "Forecast hours", 962, 80},
    {"ForecastCost", "Forecast cost", 1042, 100},
};
static_assert(std::size(columns) == BudgetReport::ColumnCount);

// The bars: the frame is the budget, what is filled the actual, up to 140 % of the budget.
constexpr qreal barsLeft = 1156;
constexpr qreal budgetWidth = 100;
constexpr qreal mostWidth = 140;
constexpr qreal barHeight = 6;
const QColor trackPen(128, 128, 128);
const QColor usedColour(0, 100, 200);
const QColor overColour(200, 0, 0);

// Each level's row: its band, the prefix of its elements' names, its name field and where the
// name starts, and how far down its texts and bars sit.
struct RowPlace {
    const char* band;
    const char* prefix;
    DataSet dataset;
    const char* nameField;
    qreal indent;
    qreal top;
    bool bold;
};
const RowPlace rowPlaces[] = {
    {"QRBand2", "Project", &ProjectData::projects, "Zel_project", 0, 4, true},
    {"QRSubDetail1", "Major", &ProjectData::Major, "Major_item", 12, 2, false},
    {"QRSubDetail2", "Action", &ProjectData::Action, "Action_name", 24, 2, false},
};
const RowPlace totalsPlace{"QRSubDetail3", "Total", nullptr, nullptr, 12, 6, true};

constexpr qreal textHeight = 14;

vok::ReportFont font(bool bold) {
    return ReportParts::arial(8, bold);
}

using L = ReportLayout;

const ElementDef header[] = {
    L::title("QRBand1", "Title", "Budget and actuals", 8, 14),
    L::runDate("QRBand1", "QRSysData1", Kind::Date, "Date: ", {0, 8}),
    L::pageNumber("QRBand1", "QRSysData2", "Page # ", 1296, 8),
    L::centredField("QRBand1", "ProjectTitle", &ProjectData::projects, "Zel_project", 36),
    {.band = "QRSubDetail3",
     .name = "TotalCaption",
     .text = "Total of the major activities",
     .box = {12, 6, 210, textHeight},
     .font = ReportParts::arial(8, true)},
    // Over the totals' figures.
    {.band = "QRSubDetail3",
     .name = "TotalLine",
     .kind = Kind::HorizontalLine,
     .box = {230, 0, 912, 2}},
    {.band = "QRBand1",
     .name = "HeadBars",
     .text = "Used of budget: hours above, costs below",
     .box = {barsLeft, 66, mostWidth, 30},
     .font = ReportParts::arial(8, true),
     .wordWrap = true},
};

// Whole hours and hundredths, as typed.
QString hoursText(double hours) {
    return QLocale().toString(std::round(hours * 100) / 100, 'f', QLocale::FloatingPointShortest);
}

QString moneyText(double amount) {
    return QLocale().toCurrencyString(amount);
}

// For a spreadsheet: numbers with a dot, amounts with two decimals, dates in ISO form.
QString hoursCell(double hours) {
    return QString::number(hours, 'g', 15);
}

QString moneyCell(double amount) {
    return QString::number(amount, 'f', 2);
}

// An element's name from its parts.
QByteArray joined(const char* a, const char* b, const char* c = "") {
    return QByteArray(a).append(b).append(c);
}

QString optional(const std::optional<double>& v, QString (*text)(double)) {
    return v ? text(*v) : QString();
}

} // namespace

BudgetReport::BudgetReport(ProjectData* dm, QObject* parent)
    : ReportForm(dm, "Form29", QStringLiteral("Budget and actuals"),
                 ReportParts::legalLandscape(vok::PageSetup::Unit::Inch96, 24), parent) {
    build(bands, header, "Title");
    // The headings, and each row's elements: made from the tables above.
    std::vector<QByteArray> names; // the elements' names while they are made
    names.reserve(200);
    std::vector<ElementDef> defs;
    const auto named = [&](const char* prefix, const char* what, const char* suffix = "") {
        names.push_back(joined(prefix, what, suffix));
        return names.back().constData();
    };
    for (const ColumnPlace& c : columns) {
        defs.push_back({.band = "QRBand1",
                        .name = named("Head", c.name),
                        .text = c.heading,
                        .box = {c.left, 66, c.width - 6, 30},
                        .font = ReportParts::arial(8, true),
                        .align = c.align,
                        .wordWrap = true});
    }
    const auto rowElements = [&](const RowPlace& r, bool bars) {
        if (r.nameField)
            defs.push_back({.band = r.band,
                            .name = named(r.prefix, "Name"),
                            .kind = Kind::Field,
                            .dataset = r.dataset,
                            .field = r.nameField,
                            .box = {r.indent, r.top, 225 - r.indent, textHeight},
                            .font = font(r.bold),
                            .wordWrap = true});
        for (const ColumnPlace& c : columns)
            defs.push_back({.band = r.band,
                            .name = named(r.prefix, c.name),
                            .box = {c.left, r.top, c.width - 6, textHeight},
                            .font = font(r.bold),
                            .align = c.align});
        if (!bars)
            return;
        // The budget's frame, what was used in it, and a mark where the budget ends that shows
        // on a bar past it too.
        for (const auto& [what, top] : {std::pair{"Hours", r.top}, std::pair{"Cost", r.top + 8}}) {
            defs.push_back({.band = r.band,
                            .name = named(r.prefix, what, "Track"),
                            .kind = Kind::Rectangle,
                            .box = {barsLeft, top, budgetWidth, barHeight},
                            .pen = trackPen});
            defs.push_back({.band = r.band,
                            .name = named(r.prefix, what, "Used"),
                            .kind = Kind::Rectangle,
                            .box = {barsLeft, top, budgetWidth, barHeight},
                            .fill = usedColour,
                            .pen = usedColour});
            defs.push_back({.band = r.band,
                            .name = named(r.prefix, what, "End"),
                            .kind = Kind::VerticalLine,
                            .box = {barsLeft + budgetWidth - 1, top - 1, 2, barHeight + 2}});
        }
    };
    for (const RowPlace& r : rowPlaces)
        rowElements(r, true);
    rowElements(totalsPlace, false);
    ReportLayout::addElements(*bandedReport, *dm_, defs);

    for (int level = 0; level < 3; ++level)
        rows_[static_cast<size_t>(level)] = rowOf(rowPlaces[level].prefix);
    totals_ = rowOf(totalsPlace.prefix, true);
    filterOnChosenProject();

    bandedReport->beforePrint = [this](vok::Report&) {
        printed_ = {{QStringLiteral("level"), QStringLiteral("project"),
                     QStringLiteral("major activity"), QStringLiteral("action"),
                     QStringLiteral("budget hours"), QStringLiteral("actual hours"),
                     QStringLiteral("hours left"), QStringLiteral("budget"),
                     QStringLiteral("actual costs"), QStringLiteral("cost left"),
                     QStringLiteral("% complete"), QStringLiteral("actual start"),
                     QStringLiteral("actual finish"), QStringLiteral("forecast hours"),
                     QStringLiteral("forecast cost")}};
    };
    band("QRBand2")->beforePrint = [this](vok::ReportBand&, bool&) {
        // The project's booked days in one statement; its major activities added up afresh.
        booked_ = NodeFigures::bookedDays(
            *dm_->store,
            dm_->projects->fieldByName(QStringLiteral("Zel_Project_id")).value().toLongLong());
        sum_ = {};
        majors_ = 0;
        printNode(0);
    };
    band("QRSubDetail1")->beforePrint = [this](vok::ReportBand&, bool&) { printNode(1); };
    band("QRSubDetail2")->beforePrint = [this](vok::ReportBand&, bool&) { printNode(2); };
    band("QRSubDetail3")->beforePrint = [this](vok::ReportBand&, bool& print) {
        printTotals(print);
    };
}

BudgetReport::Row BudgetReport::rowOf(const char* prefix, bool cellsOnly) {
    Row row;
    for (int c = 0; c < ColumnCount; ++c)
        row.cells[static_cast<size_t>(c)] =
            element<vok::ReportLabel>(joined(prefix, columns[c].name).constData());
    if (cellsOnly)
        return row;
    for (const auto& [bar, what] : {std::pair{&row.hours, "Hours"}, std::pair{&row.costs, "Cost"}})
        *bar = {element<vok::ReportShape>(joined(prefix, what, "Track").constData()),
                element<vok::ReportShape>(joined(prefix, what, "Used").constData()),
                element<vok::ReportShape>(joined(prefix, what, "End").constData())};
    return row;
}

void BudgetReport::printNode(int level) {
    vok::Table* const tables[] = {dm_->projects, dm_->Major, dm_->Action};
    const vok::Table& t = *tables[level];
    const NodeFigures::Fields& names = NodeFigures::fields(level);
    const auto value = [&](const char* f) { return t.fieldByName(QLatin1String(f)).value(); };
    Figures f;
    std::tie(f.hours, f.costs) = NodeFigures::uses(level, value);
    f.hoursKnown = !value(names.hours).isNull();
    f.costsKnown = !value(names.actual).isNull();
    if (const QVariant p = value(names.percent); !p.isNull())
        f.percent = p.toInt();
    QStringList key;
    for (const char* k : names.key) {
        if (k)
            key << t.fieldByName(QLatin1String(k)).asString();
    }
    f.days = booked_.value(key.join(QLatin1Char(',')));
    f.hoursLeft = f.hours.left();
    f.costLeft = f.costs.left();
    fill(rows_[static_cast<size_t>(level)], f);

    static const char* const levels[] = {"Project", "Major activity", "Action"};
    QStringList csv{QLatin1String(levels[level]),
                    dm_->projects->fieldByName(QStringLiteral("Zel_project")).asString(),
                    level >= 1 ? dm_->Major->fieldByName(QStringLiteral("Major_item")).asString()
                               : QString(),
                    level == 2 ? dm_->Action->fieldByName(QStringLiteral("Action_name")).asString()
                               : QString()};
    const int percent = f.percent.value_or(0);
    csv << optional(f.hours.budget, hoursCell)
        << (f.hoursKnown ? hoursCell(f.hours.actual) : QString())
        << optional(f.hoursLeft, hoursCell) << optional(f.costs.budget, moneyCell)
        << (f.costsKnown ? moneyCell(f.costs.actual) : QString()) << optional(f.costLeft, moneyCell)
        << (f.percent ? QString::number(*f.percent) : QString())
        << (f.days.start.isValid() ? f.days.start.toString(Qt::ISODate) : QString())
        << (f.days.finish.isValid() ? f.days.finish.toString(Qt::ISODate) : QString())
        << optional(NodeFigures::forecast(f.hours.actual, percent), hoursCell)
        << optional(NodeFigures::forecast(f.costs.actual, percent), moneyCell);
    printed_ << csv;

    if (level != 1)
        return;
    // The major activities' totals: each column's sum, empty where no row has a value.
    ++majors_;
    const auto add = [](std::optional<double>& sum, const std::optional<double>& v) {
        if (v)
            sum = sum.value_or(0) + *v;
    };
    add(sum_.hours.budget, f.hours.budget);
    add(sum_.hoursLeft, f.hoursLeft);
    add(sum_.costs.budget, f.costs.budget);
    add(sum_.costLeft, f.costLeft);
    sum_.hours.actual += f.hours.actual;
    sum_.costs.actual += f.costs.actual;
    sum_.hoursKnown = sum_.hoursKnown || f.hoursKnown;
    sum_.costsKnown = sum_.costsKnown || f.costsKnown;
}

void BudgetReport::fill(const Row& row, const Figures& f) {
    const auto set = [&](Column c, const QString& text, bool negative = false) {
        vok::ReportLabel* cell = row.cells[static_cast<size_t>(c)];
        cell->setText(text);
        cell->setColor(negative ? overColour : QColor(Qt::black));
    };
    const auto negative = [](const std::optional<double>& v) { return v.value_or(0) < 0; };
    const int percent = f.percent.value_or(0);
    set(BudgetHours, optional(f.hours.budget, hoursText));
    set(ActualHours, f.hoursKnown ? hoursText(f.hours.actual) : QString());
    set(HoursLeft, optional(f.hoursLeft, hoursText), negative(f.hoursLeft));
    set(Budget, optional(f.costs.budget, moneyText));
    set(ActualCosts, f.costsKnown ? moneyText(f.costs.actual) : QString());
    set(CostLeft, optional(f.costLeft, moneyText), negative(f.costLeft));
    set(PercentComplete, f.percent ? QLocale().toString(*f.percent) : QString());
    set(ActualStart, vok::ShortDate::format(f.days.start));
    set(ActualFinish, vok::ShortDate::format(f.days.finish));
    set(ForecastHours, optional(NodeFigures::forecast(f.hours.actual, percent), hoursText));
    set(ForecastCost, optional(NodeFigures::forecast(f.costs.actual, percent), moneyText));
    if (!row.hours.track)
        return;
    const auto bar = [](const Bar& b, const NodeFigures::Use& u) {
        // No budget, no bar.
        b.track->setVisible(u.budget.has_value());
        b.end->setVisible(u.budget.has_value());
        const double share = !u.budget       ? 0
                             : *u.budget > 0 ? u.actual / *u.budget
                             : u.actual > 0  ? mostWidth / budgetWidth
                                             : 0;
        const qreal width = std::min(mostWidth, std::trunc(share * budgetWidth));
        b.used->setVisible(u.budget && width > 0);
        b.used->setWidth(std::max<qreal>(0, width));
        const QColor& colour = u.over() ? overColour : usedColour;
        b.used->setBrushColor(colour);
        b.used->setPenColor(colour);
    };
    bar(row.hours, f.hours);
    bar(row.costs, f.costs);
}

void BudgetReport::printTotals(bool& print) {
    print = majors_ > 0;
    if (!print)
        return;
    fill(totals_, sum_);
}
