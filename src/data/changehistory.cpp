#include "changehistory.h"

#include "framework/dataset/store.h"
#include "framework/dataset/table.h"
#include "projectcopytables.h"
#include "projectdata.h"
#include "projecthierarchy.h"
#include "stepreplay.h"

#include <set>
#include <utility>

namespace {

using Subject = ChangeStep::Subject;

// What the rows of each working record-set are, and the field that names them.
struct RoleSource {
    vok::Table* ProjectData::*table;
    Subject subject;
    const char* nameField;
};
const RoleSource roleSources[] = {
    {&ProjectData::projects, Subject::Record, "Zel_project"},
    {&ProjectData::Major, Subject::Record, "Major_item"},
    {&ProjectData::Action, Subject::Record, "Action_name"},
    {&ProjectData::ProjectNotes, Subject::Note, nullptr},
    {&ProjectData::MajorNotes, Subject::Note, nullptr},
    {&ProjectData::ActionNotes, Subject::Note, nullptr},
    {&ProjectData::ProjectTeam, Subject::TeamMember, "ProjectTeam_member"},
    {&ProjectData::MajorTeam, Subject::TeamMember, "MajorTeam_member"},
    {&ProjectData::ActionTeam, Subject::TeamMember, "ActionTeam_member"},
    {&ProjectData::Contacts, Subject::Contact, "ProjectContact_name"},
    {&ProjectData::ProjectTS, Subject::TimeSheet, nullptr},
    {&ProjectData::ProjectCost, Subject::Cost, nullptr},
};

ChangeStep::Kind kindOf(vok::RowWrite::Kind write) {
    switch (write) {
    case vok::RowWrite::Kind::Insert:
        return ChangeStep::Kind::Add;
    case vok::RowWrite::Kind::Remove:
        return ChangeStep::Kind::Delete;
    case vok::RowWrite::Kind::Update:
        break;
    }
    return ChangeStep::Kind::Edit;
}

using RowKey = std::pair<const vok::Table*, qint64>;

void addKeys(const ChangeStep& step, std::set<RowKey>& keys) {
    for (const ChangeStep::Row& r : step.rows)
        keys.insert({r.table, r.write.rowid});
}

bool touches(const ChangeStep& step, const std::set<RowKey>& keys) {
    for (const ChangeStep::Row& r : step.rows) {
        if (keys.count({r.table, r.write.rowid}) > 0)
            return true;
    }
    return false;
}

} // namespace

ChangeHistory::ChangeHistory(ProjectData& dm, ProjectCopyTables* copies, QObject* parent)
    : QObject(parent), dm_(dm) {
    const ProjectHierarchy hierarchy(dm);
    for (const RoleSource& source : roleSources) {
        vok::Table* table = dm.*source.table;
        const auto place = hierarchy.placeOf(*table);
        roles_ << Role{table, source.subject, place ? place->level : 0,
                       source.nameField ? QLatin1String(source.nameField) : QString()};
        listened_ << table;
    }
    if (copies) {
        for (vok::Table* t : copies->tables())
            listened_ << t;
    }
    for (vok::Table* t : std::as_const(listened_))
        t->setJournal(this);
    // A command's unit undone: what it wrote is gone from the data, and from the history.
    connect(dm.store, &vok::Store::rolledBack, this, [this] {
        if (open_)
            open_->spoiled = true;
    });
}

ChangeHistory::~ChangeHistory() {
    for (const QPointer<vok::Table>& t : std::as_const(listened_)) {
        if (t && t->journal() == this)
            t->setJournal(nullptr);
    }
}

const ChangeHistory::Role* ChangeHistory::roleOf(const vok::Table& table) const {
    for (const Role& r : roles_) {
        if (r.table == &table)
            return &r;
    }
    // A copy's record-set: its rows are those of the working one over the same table.
    for (const Role& r : roles_) {
        if (r.table->tableName().compare(table.tableName(), Qt::CaseInsensitive) == 0)
            return &r;
    }
    return nullptr;
}

ChangeStep::Row ChangeHistory::rowOf(const Role& role, const vok::RowWrite& write) const {
    ChangeStep::Row row;
    row.table = role.table;
    row.subject = role.subject;
    row.level = role.level;
    row.write = write;
    const QVector<QVariant>& values =
        write.kind == vok::RowWrite::Kind::Remove ? write.before : write.after;
    if (!role.nameField.isEmpty())
        row.name = values.value(role.table->fieldByName(role.nameField).index()).toString();
    QStringList key;
    for (const QString& f : ProjectHierarchy::ownerFields(*role.table, role.level + 1))
        key << QString::number(values.value(role.table->fieldByName(f).index()).toLongLong());
    row.node = key.join(QLatin1Char(','));
    return row;
}

void ChangeHistory::wrote(const vok::Table& table, const vok::RowWrite& write) {
    const Role* role = roleOf(table);
    if (!role)
        return;
    if (dm_.store->transactionDepth() > 0) {
        // Inside a unit: a command's rows, or not the window's to undo.
        if (open_)
            open_->step.rows << rowOf(*role, write);
        return;
    }
    ChangeStep step;
    step.rows << rowOf(*role, write);
    settle(step, kindOf(write.kind));
    push(std::move(step));
}

void ChangeHistory::settle(ChangeStep& step, ChangeStep::Kind kind) {
    step.kind = kind;
    step.main = 0;
    int level = ProjectHierarchy::LevelCount;
    for (qsizetype i = 0; i < step.rows.size(); ++i) {
        const ChangeStep::Row& r = step.rows[i];
        if (r.subject == Subject::Record && r.level < level) {
            level = r.level;
            step.main = static_cast<int>(i);
        }
    }
    if (kind != ChangeStep::Kind::Edit)
        return;
    const ChangeStep::Row& main = step.mainRow();
    for (int i = 0; i < main.write.changed.size(); ++i) {
        if (main.write.changed.testBit(i))
            step.fields << main.table->field(i).name();
    }
}

void ChangeHistory::push(ChangeStep step) {
    redo_.clear();
    undo_.append(std::move(step));
    while (undo_.size() > Depth)
        undo_.removeFirst();
    Q_EMIT changed();
}

void ChangeHistory::clear() {
    undo_.clear();
    redo_.clear();
    Q_EMIT changed();
}

ChangeHistory::Outcome ChangeHistory::undo() {
    return replay(true);
}

ChangeHistory::Outcome ChangeHistory::redo() {
    return replay(false);
}

ChangeHistory::Outcome ChangeHistory::replay(bool undo) {
    // What was typed is stored first: a change the user sees is the one undone, and the unit of
    // work below never takes it away.
    ProjectHierarchy(dm_).storePending();
    QList<ChangeStep>& from = undo ? undo_ : redo_;
    Outcome out;
    if (from.isEmpty())
        return out;
    const ChangeStep& step = from.last();
    StepReplay replay(dm_, caption_);
    out.refusal = undo ? replay.undo(step) : replay.redo(step);
    out.done = out.refusal.isEmpty();
    out.node = step.nodeAfter(out.done == undo);
    if (out.done)
        (undo ? redo_ : undo_).append(from.takeLast());
    else
        out.dropped = dropEntangled(from, from.size() - 1) - 1;
    dm_.refreshAll();
    Q_EMIT changed();
    return out;
}

int ChangeHistory::dropEntangled(QList<ChangeStep>& from, qsizetype at) {
    std::set<RowKey> keys;
    addKeys(from[at], keys);
    from.removeAt(at);
    int dropped = 1;
    for (bool grew = true; grew;) {
        grew = false;
        for (QList<ChangeStep>* list : {&undo_, &redo_}) {
            for (qsizetype i = list->size() - 1; i >= 0; --i) {
                if (!touches((*list)[i], keys))
                    continue;
                addKeys((*list)[i], keys);
                list->removeAt(i);
                ++dropped;
                grew = true;
            }
        }
    }
    return dropped;
}

// ---------------------------------------------------------------- commands

ChangeHistory::Command::Command(ChangeHistory* history, ChangeStep::Kind kind, QString sourceName)
    : history_(history && !history->open_ ? history : nullptr) {
    if (!history_)
        return;
    history_->open_ = std::make_unique<Open>();
    history_->open_->step.kind = kind;
    history_->open_->step.sourceName = std::move(sourceName);
}

ChangeHistory::Command::~Command() {
    if (history_)
        history_->open_.reset();
}

void ChangeHistory::Command::done() {
    if (!history_ || !history_->open_)
        return;
    std::unique_ptr<Open> open = std::move(history_->open_);
    if (open->spoiled || open->step.rows.isEmpty())
        return;
    settle(open->step, open->step.kind);
    history_->push(std::move(open->step));
}
