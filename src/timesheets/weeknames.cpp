#include "weeknames.h"

#include "data/projectdata.h"
#include "framework/dataset/table.h"

#include <QVariantList>

namespace {

vok::Table& tableOf(ProjectData& dm, WeekSheet::Level level) {
    vok::Table* t = level == WeekSheet::Project ? dm.projects
                    : level == WeekSheet::Major ? dm.Major
                                                : dm.Action;
    if (!t->isActive())
        t->open();
    return *t;
}

QString nameField(WeekSheet::Level level) {
    static const QString names[] = {QStringLiteral("Zel_project"), QStringLiteral("Major_item"),
                                    QStringLiteral("Action_name")};
    return names[level];
}

QString idField(WeekSheet::Level level) {
    static const QString ids[] = {QStringLiteral("Zel_Project_id"), QStringLiteral("Major_id"),
                                  QStringLiteral("Action_id")};
    return ids[level];
}

// The names and numbers of one level's records under a key (all projects for no key).
QList<std::pair<QString, QVariant>> recordsOf(vok::Table& t, WeekSheet::Level level,
                                              const QVariantList& key) {
    const int name = t.fieldByName(nameField(level)).index();
    const int id = t.fieldByName(idField(level)).index();
    QList<std::pair<QString, QVariant>> out;
    if (key.isEmpty()) {
        for (int row = 0; row < t.recordCount(); ++row)
            out.append({t.valueAt(row, name).toString(), t.valueAt(row, id)});
        return out;
    }
    for (const vok::TableRow& r : t.rangeOf(key))
        out.append({r.values[name].toString(), r.values[id]});
    return out;
}

} // namespace

WeekNames::WeekNames(ProjectData& dm) : dm_(dm) {}

std::optional<QVariantList> WeekNames::keyAbove(const WeekSheet::Names& row,
                                                WeekSheet::Level level) const {
    QVariantList key;
    for (int above = WeekSheet::Project; above < level; ++above) {
        const auto l = static_cast<WeekSheet::Level>(above);
        bool found = false;
        for (const auto& [name, id] : recordsOf(tableOf(dm_, l), l, key)) {
            if (name == row[above]) {
                key << id;
                found = true;
                break;
            }
        }
        if (!found)
            return {};
    }
    return key;
}

QStringList WeekNames::offered(const WeekSheet::Names& row, WeekSheet::Level level) const {
    const std::optional<QVariantList> key = keyAbove(row, level);
    if (!key)
        return {};
    QStringList names;
    for (const auto& record : recordsOf(tableOf(dm_, level), level, *key))
        names << record.first;
    names.removeDuplicates();
    return names;
}

QString WeekNames::spelled(const WeekSheet::Names& row, WeekSheet::Level level,
                           const QString& typed) const {
    const QStringList names = offered(row, level);
    if (names.contains(typed))
        return typed;
    QStringList alike;
    for (const QString& n : names) {
        if (n.compare(typed, Qt::CaseInsensitive) == 0)
            alike << n;
    }
    return alike.size() == 1 ? alike.first() : typed;
}

bool WeekNames::found(const WeekSheet::Names& row, WeekSheet::Level level) const {
    return row[level].isEmpty() || offered(row, level).contains(row[level]);
}
