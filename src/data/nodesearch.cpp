#include "nodesearch.h"

#include "framework/dataset/statement.h"
#include "framework/dataset/store.h"
#include "framework/dataset/textfold.h"

#include <QScopeGuard>

namespace {

// Each level's table with the field of its project's number and the field of its name.
struct Level {
    const char* file;
    const char* project;
    const char* name;
};
const Level levels[] = {{"projects.DB", "Zel_Project_id", "Zel_project"},
                        {"major.DB", "Major_project_id", "Major_item"},
                        {"action.DB", "Action_project_id", "Action_name"}};

} // namespace

NodeSearch::NodeSearch(vok::Store& store) : store_(store) {}

bool NodeSearch::matches(const QString& name, const QString& text) {
    const QString needle = vok::TextFold::folded(text.trimmed());
    return !needle.isEmpty() && vok::TextFold::contains(name, needle);
}

QList<qlonglong> NodeSearch::projects(const QString& text) {
    const QString needle = vok::TextFold::folded(text.trimmed());
    QList<qlonglong> out;
    if (needle.isEmpty())
        return out;
    QList<vok::TableRef> refs;
    const auto release = qScopeGuard([&] {
        for (const vok::TableRef& r : refs)
            store_.release(r);
    });
    QStringList selects;
    for (const Level& l : levels) {
        refs << store_.resolve(QLatin1String(l.file));
        selects << QStringLiteral("SELECT %1 FROM %2 WHERE %3")
                       .arg(vok::quotedName(QLatin1String(l.project)), refs.last().sql(),
                            store_.engine().foldedContains(vok::quotedName(QLatin1String(l.name))));
    }
    const auto q =
        store_.statement(selects.join(QStringLiteral(" UNION ")) + QStringLiteral(" ORDER BY 1"));
    for (int i = 0; i < static_cast<int>(std::size(levels)); ++i)
        q->bind(i, needle);
    while (q->step())
        out << q->int64(0);
    q->reset();
    return out;
}
