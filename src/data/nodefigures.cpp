#include "nodefigures.h"

#include "framework/dataset/statement.h"
#include "framework/dataset/store.h"

#include <algorithm>

namespace {

// The rows a level's node has booked on it or below it: its key's leading numbers, the columns
// named "f" and "t" for the first and last days.
const char* const bookedRows =
    "SELECT ProjectTS_date_from AS f, ProjectTS_date_to AS t FROM ProjectTS WHERE "
    "ProjectTS_project_id = ?%1 UNION ALL SELECT ProjectCost_date_from, ProjectCost_date_to FROM "
    "ProjectCost WHERE ProjectCost_project_id = ?%2";
const char* const tsBelow[] = {"", " AND ProjectTS_major_id = ?",
                               " AND ProjectTS_major_id = ? AND ProjectTS_action_id = ?"};
const char* const costBelow[] = {"", " AND ProjectCost_major_id = ?",
                                 " AND ProjectCost_major_id = ? AND ProjectCost_action_id = ?"};
// The children's count and budget sums, each a query of its own in the select list.
const char* const childSums[] = {
    "(SELECT COUNT(*) FROM major WHERE Major_project_id = ?), (SELECT SUM(Major_budget_hours) "
    "FROM major WHERE Major_project_id = ?), (SELECT SUM(Major_budget) FROM major WHERE "
    "Major_project_id = ?)",
    "(SELECT COUNT(*) FROM action WHERE Action_project_id = ? AND Action_major_id = ?), (SELECT "
    "SUM(Action_budget_hours) FROM action WHERE Action_project_id = ? AND Action_major_id = ?), "
    "(SELECT SUM(Action_budget) FROM action WHERE Action_project_id = ? AND Action_major_id = ?)",
    "0, NULL, NULL",
};
// An empty date is stored as day 0 of the date system by the merges: no day of work.
const char* const firstDay = "MIN(CASE WHEN f > '1899-12-30' THEN f END)";
const char* const lastDay = "MAX(CASE WHEN t > '1899-12-30' THEN t END)";

QDate dateOf(const QVariant& stored) {
    return stored.isNull() ? QDate() : QDate::fromString(stored.toString().left(10), Qt::ISODate);
}

std::optional<double> numberOf(const QVariant& stored) {
    return stored.isNull() ? std::nullopt : std::optional<double>(stored.toDouble());
}

void widen(NodeFigures::Days& days, const QDate& start, const QDate& finish) {
    if (start.isValid() && (!days.start.isValid() || start < days.start))
        days.start = start;
    if (finish.isValid() && (!days.finish.isValid() || finish > days.finish))
        days.finish = finish;
}

} // namespace

const NodeFigures::Fields& NodeFigures::fields(int level) {
    static const Fields levels[] = {
        {"Zel_project",
         "Zel_budget_hours",
         "Zel_hours",
         "Zel_Budget",
         "Zel_actual",
         "Zel_perc_complete",
         {"Zel_Project_id", nullptr, nullptr}},
        {"Major_item",
         "Major_budget_hours",
         "Major_hours",
         "Major_budget",
         "Major_actual",
         "Major_perc_complete",
         {"Major_project_id", "Major_id", nullptr}},
        {"Action_name",
         "Action_budget_hours",
         "Action_hours",
         "Action_budget",
         "Action_actual",
         "Action_perc_complete",
         {"Action_project_id", "Action_major_id", "Action_id"}},
    };
    return levels[std::clamp(level, 0, 2)];
}

std::pair<NodeFigures::Use, NodeFigures::Use>
NodeFigures::uses(int level, const std::function<QVariant(const char* field)>& value) {
    const Fields& f = fields(level);
    const auto use = [&](const char* budget, const char* actual) {
        Use u;
        if (const QVariant b = value(budget); !b.isNull())
            u.budget = b.toDouble();
        u.actual = value(actual).toDouble();
        return u;
    };
    return {use(f.budgetHours, f.hours), use(f.budget, f.actual)};
}

std::optional<double> NodeFigures::Use::left() const {
    return budget ? std::optional<double>(*budget - actual) : std::nullopt;
}

std::optional<double> NodeFigures::Use::share() const {
    return budget && *budget > 0 ? std::optional<double>(actual * 100.0 / *budget) : std::nullopt;
}

bool NodeFigures::Use::over() const {
    return budget && actual > *budget;
}

std::optional<double> NodeFigures::forecast(double actual, int percentComplete) {
    return percentComplete > 0 ? std::optional<double>(actual * 100.0 / percentComplete)
                               : std::nullopt;
}

NodeFigures::NodeFigures(vok::Store& store, QObject* parent) : QObject(parent), store_(store) {
    // A statement lives as long as its connection.
    connect(&store_, &vok::Store::aboutToClose, this, [this] {
        for (auto& s : statements_)
            s.reset();
    });
}

NodeFigures::~NodeFigures() = default;

NodeFigures::Page NodeFigures::page(const QVariantList& key) {
    const int level = static_cast<int>(std::clamp<qsizetype>(key.size(), 1, 3)) - 1;
    std::unique_ptr<vok::Statement>& q = statements_[level];
    if (!q) {
        q = store_.statement(
            QStringLiteral("SELECT %1, %2, %3 FROM (%4) AS booked")
                .arg(QLatin1String(firstDay), QLatin1String(lastDay),
                     QLatin1String(childSums[level]),
                     QString::fromLatin1(bookedRows)
                         .arg(QLatin1String(tsBelow[level]), QLatin1String(costBelow[level]))));
    }
    q->reset();
    int at = 0;
    // The children's three queries name the node's key, then each booked table does.
    if (level < 2) {
        for (int i = 0; i < 3; ++i) {
            for (int k = 0; k <= level; ++k)
                q->bind(at++, key.value(k));
        }
    }
    for (int table = 0; table < 2; ++table) {
        for (int k = 0; k <= level; ++k)
            q->bind(at++, key.value(k));
    }
    Page page;
    if (q->step()) {
        page.booked = {dateOf(q->value(0)), dateOf(q->value(1))};
        page.children = static_cast<int>(q->int64(2));
        page.childHours = numberOf(q->value(3));
        page.childBudget = numberOf(q->value(4));
    }
    q->reset();
    return page;
}

QHash<QString, NodeFigures::Days> NodeFigures::bookedDays(vok::Store& store, qlonglong project) {
    const auto q = store.statement(
        QStringLiteral("SELECT m, a, %1, %2 FROM (SELECT ProjectTS_major_id AS m, "
                       "ProjectTS_action_id AS a, ProjectTS_date_from AS f, ProjectTS_date_to AS "
                       "t FROM ProjectTS WHERE ProjectTS_project_id = ? UNION ALL SELECT "
                       "ProjectCost_major_id, ProjectCost_action_id, ProjectCost_date_from, "
                       "ProjectCost_date_to FROM ProjectCost WHERE ProjectCost_project_id = ?) AS "
                       "booked GROUP BY m, a")
            .arg(QLatin1String(firstDay), QLatin1String(lastDay)));
    q->bind(0, project);
    q->bind(1, project);
    QHash<QString, Days> days;
    const QString p = QString::number(project);
    while (q->step()) {
        const qlonglong major = q->int64(0);
        const qlonglong action = q->int64(1);
        const QDate start = dateOf(q->value(2));
        const QDate finish = dateOf(q->value(3));
        if (!start.isValid() && !finish.isValid())
            continue;
        widen(days[p], start, finish);
        if (major == 0)
            continue;
        const QString m = p + QLatin1Char(',') + QString::number(major);
        widen(days[m], start, finish);
        if (action != 0)
            widen(days[m + QLatin1Char(',') + QString::number(action)], start, finish);
    }
    return days;
}
