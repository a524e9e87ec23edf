#include "bookedhours.h"

#include "data/projectdata.h"
#include "framework/dataset/shortdate.h"
#include "framework/dataset/statement.h"
#include "framework/dataset/store.h"

namespace {

QString nameOf(vok::Table& table, const QVariantList& keys, const char* field) {
    for (const QVariant& key : keys) {
        if (key.toLongLong() == 0)
            return {};
    }
    if (!table.isActive())
        table.open();
    return table.lookup(keys, QLatin1String(field)).toString();
}

} // namespace

QList<BookedHours::Booking> BookedHours::of(ProjectData& dm, const QString& member,
                                            const QDate& first, const QDate& last) {
    vok::Store& store = *dm.store;
    QList<Booking> out;
    QList<QVariantList> numbers; // project, major activity, action of each booking
    const vok::TableRef ref = store.resolve(QStringLiteral("ProjectTS.DB"));
    try {
        const auto q = store.statement(
            QStringLiteral("SELECT ProjectTS_project_id, ProjectTS_major_id, ProjectTS_action_id, "
                           "ProjectTS_date_from, ProjectTS_date_to, ProjectTS_hours FROM %1 "
                           "WHERE ProjectTS_member = ? AND ProjectTS_date_from <= ? AND "
                           "ProjectTS_date_to >= ? ORDER BY ProjectTS_id")
                .arg(ref.sql()),
            ref);
        q->bind(0, member);
        q->bind(1, last);
        q->bind(2, first);
        while (q->step()) {
            Booking b;
            b.from = vok::ShortDate::readIso(q->value(3).toString());
            b.to = vok::ShortDate::readIso(q->value(4).toString());
            b.hours = q->value(5).toDouble();
            out << b;
            numbers << QVariantList{q->value(0), q->value(1), q->value(2)};
        }
    } catch (...) {
        store.release(ref);
        throw;
    }
    store.release(ref);
    // Named once the rows are read: the lookups may read the tables themselves.
    for (qsizetype i = 0; i < out.size(); ++i) {
        const QVariantList& n = numbers[i];
        out[i].names = {nameOf(*dm.projects, {n[0]}, "Zel_project"),
                        nameOf(*dm.Major, {n[0], n[1]}, "Major_item"),
                        nameOf(*dm.Action, {n[0], n[1], n[2]}, "Action_name")};
    }
    return out;
}
