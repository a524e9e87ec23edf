#include "stepreplay.h"

#include "framework/dataset/databaseerror.h"
#include "framework/dataset/rowwriter.h"
#include "framework/dataset/statement.h"
#include "framework/dataset/store.h"
#include "framework/dataset/table.h"
#include "framework/dataset/transaction.h"
#include "framework/io/showntext.h"
#include "projectdata.h"

#include <map>
#include <memory>

namespace {

// Why a replay stops: it is undone as a whole and the reason told.
struct Refused {
    QString why;
};

bool same(const QVariant& a, const QVariant& b) {
    return vok::compareStored(a, b) == 0;
}

} // namespace

// A writer per table the step wrote, on the tables' own connection, for the length of a replay.
class StepReplay::Writers {
public:
    explicit Writers(vok::Store& store) : store_(store) {}
    ~Writers() {
        for (auto& [table, entry] : entries_) {
            entry.writer.reset();
            store_.release(entry.ref);
        }
    }
    Writers(const Writers&) = delete;
    Writers& operator=(const Writers&) = delete;

    vok::RowWriter& of(const vok::Table& table) {
        auto it = entries_.find(&table);
        if (it != entries_.end())
            return *it->second.writer;
        Entry entry;
        entry.ref = store_.resolve(table.tableName());
        QStringList columns;
        QList<bool> autoInc;
        for (int i = 0; i < table.fieldCount(); ++i) {
            const vok::Field& f = table.field(i);
            if (f.isCalculated())
                continue;
            columns << f.name();
            autoInc << (f.type() == vok::FieldType::AutoInc);
        }
        entry.writer = std::make_unique<vok::RowWriter>(store_, entry.ref, columns, autoInc);
        return *entries_.emplace(&table, std::move(entry)).first->second.writer;
    }

private:
    struct Entry {
        vok::TableRef ref;
        std::unique_ptr<vok::RowWriter> writer;
    };
    vok::Store& store_;
    std::map<const vok::Table*, Entry> entries_;
};

StepReplay::StepReplay(ProjectData& dm, Caption caption)
    : store_(*dm.store), hierarchy_(dm), caption_(std::move(caption)) {}

QString StepReplay::undo(const ChangeStep& step) {
    return replay(step, true);
}

QString StepReplay::redo(const ChangeStep& step) {
    return replay(step, false);
}

QString StepReplay::replay(const ChangeStep& step, bool undo) {
    using Kind = vok::RowWrite::Kind;
    // Declared before the unit: a unit undone drops what the writers hold back first.
    Writers writers(store_);
    vok::Transaction work(store_);
    try {
        // Undone backwards: the children a deletion removed first come back after their parent.
        const qsizetype count = step.rows.size();
        for (qsizetype k = 0; k < count; ++k) {
            const ChangeStep::Row& row = step.rows[undo ? count - 1 - k : k];
            const vok::RowWrite& w = row.write;
            switch (w.kind) {
            case Kind::Insert:
                if (undo)
                    remove(writers, row, w.after);
                else
                    restore(writers, row, w.after);
                break;
            case Kind::Remove:
                if (undo)
                    restore(writers, row, w.before);
                else
                    remove(writers, row, w.before);
                break;
            case Kind::Update:
                if (undo)
                    update(writers, row, w.after, w.before);
                else
                    update(writers, row, w.before, w.after);
                break;
            }
        }
        work.commit();
    } catch (const Refused& refused) {
        work.rollback();
        return refused.why;
    }
    return {};
}

QVector<QVariant> StepReplay::current(Writers& writers, const ChangeStep::Row& row) {
    QVector<QVariant> now;
    if (!writers.of(*row.table).read(row.write.rowid, now))
        throw Refused{
            QStringLiteral("another installation deleted %1 since").arg(ChangeStep::describe(row))};
    return now;
}

void StepReplay::refuseChanged(const ChangeStep::Row& row, int field, const QVariant& now) {
    const vok::Field& f = row.table->field(field);
    QString name = row.subject == ChangeStep::Subject::Record && caption_
                       ? caption_(row.level, f.name())
                       : QString();
    if (name.isEmpty())
        name = f.name();
    throw Refused{
        QStringLiteral("another installation changed %1 since: %2 now holds “%3”")
            .arg(ChangeStep::describe(row), name, vok::ShownText::escaped(f.displayTextOf(now)))};
}

void StepReplay::restore(Writers& writers, const ChangeStep::Row& row,
                         const QVector<QVariant>& values) {
    vok::RowWriter& rows = writers.of(*row.table);
    QVector<QVariant> taken;
    if (rows.read(row.write.rowid, taken))
        throw Refused{QStringLiteral("%1 cannot come back under its number: another record holds "
                                     "it")
                          .arg(ChangeStep::describe(row))};
    // What it belongs to must be there: a record comes back only under its parent.
    if (const auto place = hierarchy_.placeOf(*row.table)) {
        const int owners = place->records ? place->level : place->level + 1;
        if (owners > 0) {
            const vok::Table& owner = *hierarchy_.level(owners - 1).records;
            if (!holdsAny(owner, ProjectHierarchy::ownerFields(owner, owners),
                          keyOf(*row.table, values, owners)))
                throw Refused{QStringLiteral("%1 cannot come back: another installation deleted "
                                             "what it belongs to")
                                  .arg(ChangeStep::describe(row))};
        }
    }
    rows.restore(row.write.rowid, values);
}

void StepReplay::remove(Writers& writers, const ChangeStep::Row& row,
                        const QVector<QVariant>& expected) {
    const QVector<QVariant> now = current(writers, row);
    for (int i = 0; i < now.size() && i < expected.size(); ++i) {
        if (!same(now[i], expected[i]))
            refuseChanged(row, i, now[i]);
    }
    // A record goes only with what the step itself removes from under it: whatever else hangs
    // off it (another installation's note, a time sheet row) would be left without an owner.
    if (const auto place = hierarchy_.placeOf(*row.table); place && place->records) {
        const int parts = place->level + 1;
        const QVariantList key = keyOf(*row.table, now, parts);
        for (const vok::Table* t : hierarchy_.hangingOff(place->level)) {
            if (holdsAny(*t, ProjectHierarchy::ownerFields(*t, parts), key))
                throw Refused{QStringLiteral("another installation added to %1 since")
                                  .arg(ChangeStep::describe(row))};
        }
    }
    if (!writers.of(*row.table).remove(row.write.rowid, now))
        throw vok::DatabaseError::changedByAnotherUser();
}

void StepReplay::update(Writers& writers, const ChangeStep::Row& row, const QVector<QVariant>& from,
                        const QVector<QVariant>& to) {
    const QVector<QVariant> now = current(writers, row);
    QVector<QVariant> values = now;
    QBitArray changed(now.size());
    for (int i = 0; i < now.size() && i < row.write.changed.size(); ++i) {
        if (!row.write.changed.testBit(i) || same(now[i], to[i]))
            continue; // not the step's, or already as it is to be
        if (!same(now[i], from[i]))
            refuseChanged(row, i, now[i]);
        values[i] = to[i];
        changed.setBit(i);
    }
    if (changed.count(true) > 0 &&
        !writers.of(*row.table).update(row.write.rowid, now, values, changed))
        throw vok::DatabaseError::changedByAnotherUser();
}

bool StepReplay::holdsAny(const vok::Table& table, const QStringList& fields,
                          const QVariantList& values) {
    const vok::TableRef ref = store_.resolve(table.tableName());
    bool found = false;
    try {
        QStringList terms;
        for (const QString& f : fields)
            terms << vok::quotedName(f) + QStringLiteral(" = ?");
        const auto q = store_.statement(QStringLiteral("SELECT 1 FROM %1 WHERE %2 LIMIT 1")
                                            .arg(ref.sql(), terms.join(QStringLiteral(" AND "))),
                                        ref);
        for (int i = 0; i < values.size(); ++i)
            q->bind(i, values[i]);
        found = q->step();
        q->reset();
    } catch (...) {
        store_.release(ref);
        throw;
    }
    store_.release(ref);
    return found;
}

QVariantList StepReplay::keyOf(const vok::Table& table, const QVector<QVariant>& values,
                               int parts) {
    QVariantList key;
    for (const QString& f : ProjectHierarchy::ownerFields(table, parts))
        key << values.value(table.fieldByName(f).index());
    return key;
}
