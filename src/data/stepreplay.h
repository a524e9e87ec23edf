#pragma once

#include "changestep.h"
#include "projecthierarchy.h"

#include <QString>
#include <QStringList>
#include <QVariantList>
#include <functional>

class ProjectData;
namespace vok {
class Store;
class Table;
} // namespace vok

// Undoes a step of the history, or does it again, in one unit of work, through the same checked
// writes as an edit: a row is changed or removed only while it still holds what the step left
// (done again: what the step found), so nothing another installation stored since is overwritten
// or removed without a word. A removed row comes back under its own number, after the record it
// belongs to, so that what refers to it by number (time sheet and cost rows) finds it again; a
// record goes only when nothing the step does not know of hangs off it.
class StepReplay {
public:
    // `caption` names a record's field in a refusal as the user knows it (the field's own name
    // when it gives none).
    using Caption = std::function<QString(int level, const QString& field)>;
    explicit StepReplay(ProjectData& dm, Caption caption = {});

    // Empty when the step was undone (done again); otherwise why not, and nothing was changed.
    // A failure of the engine (a lock held too long) is thrown, and nothing was changed either.
    QString undo(const ChangeStep& step);
    QString redo(const ChangeStep& step);

private:
    class Writers;
    QString replay(const ChangeStep& step, bool undo);
    void restore(Writers& writers, const ChangeStep::Row& row, const QVector<QVariant>& values);
    void remove(Writers& writers, const ChangeStep::Row& row, const QVector<QVariant>& expected);
    void update(Writers& writers, const ChangeStep::Row& row, const QVector<QVariant>& from,
                const QVector<QVariant>& to);
    // The row as stored now; refused when another installation deleted it.
    QVector<QVariant> current(Writers& writers, const ChangeStep::Row& row);
    // Whether a table holds a row whose fields hold the values.
    bool holdsAny(const vok::Table& table, const QStringList& fields, const QVariantList& values);
    static QVariantList keyOf(const vok::Table& table, const QVector<QVariant>& values, int parts);
    [[noreturn]] void refuseChanged(const ChangeStep::Row& row, int field, const QVariant& now);

    vok::Store& store_;
    ProjectHierarchy hierarchy_;
    Caption caption_;
};
