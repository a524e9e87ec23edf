#pragma once

#include <QDate>
#include <QHash>
#include <QObject>
#include <QString>
#include <QVariantList>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

namespace vok {
class Statement;
class Store;
} // namespace vok

// A node's plan against what it really took. Its own record holds the budgets, the actuals and
// the share done; what lies in other tables (the days work was booked, the children's budgets)
// is read here, one statement for a node's page and one for a whole project.
//
// A node's actual start and finish are the first and last days of the merged time sheet and
// cost rows booked on it or below it. A row booked with number 0 below a level (a name that
// matched nothing) counts for the levels it names, and a row whose date is empty (30 December
// 1899) gives no day.
class NodeFigures : public QObject {
    Q_OBJECT
public:
    // A budget beside what was used of it, in hours or money.
    struct Use {
        std::optional<double> budget; // none set: nothing to compare with
        double actual = 0;

        // What is left: the budget less the actual, negative when over; none without a budget.
        std::optional<double> left() const;
        // The share used, in percent; none without a budget, or with a budget of 0.
        std::optional<double> share() const;
        // More used than the budget allows: a budget of 0 with anything used is over.
        bool over() const;
    };
    // The fields of a level's records (0 project, 1 major activity, 2 action) that the figures
    // read, and the key that identifies one, outermost first (null past the level).
    struct Fields {
        const char* name;
        const char* budgetHours;
        const char* hours;
        const char* budget;
        const char* actual;
        const char* percent;
        std::array<const char*, 3> key;
    };
    static const Fields& fields(int level);
    // A record's hours and costs against their budgets, from its stored values by field name
    // (an empty budget is none; an empty actual counts as 0).
    static std::pair<Use, Use> uses(int level,
                                    const std::function<QVariant(const char* field)>& value);

    // The forecast at completion: actual × 100 / % complete; none at 0 % or below.
    static std::optional<double> forecast(double actual, int percentComplete);
    // Hours or costs over budget, either.
    static bool overBudget(const Use& hours, const Use& costs) {
        return hours.over() || costs.over();
    }

    struct Days {
        QDate start; // invalid: nothing booked
        QDate finish;
    };
    // What a node's page shows besides its record.
    struct Page {
        Days booked;
        int children = 0;
        // What the children's budgets add up to; none when no child has one.
        std::optional<double> childHours;
        std::optional<double> childBudget;
    };

    explicit NodeFigures(vok::Store& store, QObject* parent = nullptr);
    ~NodeFigures() override;

    // The page of a node by its key (project; project, major; project, major, action): one
    // statement, prepared once per level.
    Page page(const QVariantList& key);

    // The booked days of every node of a project that has any, by identity string ("12",
    // "12,3", "12,3,5"): one statement.
    static QHash<QString, Days> bookedDays(vok::Store& store, qlonglong project);

private:
    vok::Store& store_;
    std::unique_ptr<vok::Statement> statements_[3];
};
