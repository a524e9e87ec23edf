#pragma once

#include "changestep.h"
#include "framework/dataset/rowjournal.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>

class ProjectCopyTables;
class ProjectData;
namespace vok {
class Table;
}

// The window's history of stored changes, kept as long as the window lives (never stored): what
// the working record-sets wrote, step by step, to be undone and done again.
//
// A row the record-sets write on their own (a record's post, a note, a team row, a contact) is a
// step; the rows a command writes in its unit of work (a node deleted with what hangs off it, a
// project copied) are one step when the command says so (Command). Rows written inside another
// unit (a merge's, an import's) are not kept: they are not undoable, and they clear nothing.
// Another installation's changes clear nothing either: a step is refused only when a row it
// touches no longer holds what the step left, and then it goes, with the steps that touched the
// same rows, since none of them could be undone safely any more.
class ChangeHistory : public QObject, private vok::RowJournal {
    Q_OBJECT
public:
    // The steps kept; older ones are forgotten.
    static constexpr int Depth = 200;

    // Listens to the working record-sets of `dm`, and to those of a project copy when given.
    explicit ChangeHistory(ProjectData& dm, ProjectCopyTables* copies = nullptr,
                           QObject* parent = nullptr);
    ~ChangeHistory() override;

    // The step an undo (a redo) takes back (does again); null when there is none.
    const ChangeStep* nextUndo() const { return undo_.isEmpty() ? nullptr : &undo_.last(); }
    const ChangeStep* nextRedo() const { return redo_.isEmpty() ? nullptr : &redo_.last(); }
    int undoCount() const { return static_cast<int>(undo_.size()); }
    int redoCount() const { return static_cast<int>(redo_.size()); }

    struct Outcome {
        // The step was undone (done again); otherwise `refusal` says why, and nothing changed.
        bool done = false;
        QString refusal;
        // The node to show now ("12,3"); empty: none.
        QString node;
        // Steps dropped with a refused one, since they touched the same rows.
        int dropped = 0;
    };
    // What the user typed is stored first, and becomes the step undone. Each runs in one unit of
    // work; an engine's failure is thrown and leaves the step where it was.
    Outcome undo();
    Outcome redo();
    void clear();
    // How a refusal names a record's field (by level and field name): its caption on the page.
    void setFieldCaption(std::function<QString(int level, const QString& field)> caption) {
        caption_ = std::move(caption);
    }

    // The rows a command writes in its unit of work, as one step. A command that does not end
    // (an error on the way, its unit undone) leaves nothing in the history.
    class Command {
    public:
        Command(ChangeHistory* history, ChangeStep::Kind kind, QString sourceName = {});
        ~Command();
        Command(const Command&) = delete;
        Command& operator=(const Command&) = delete;
        void done();

    private:
        ChangeHistory* history_;
    };

Q_SIGNALS:
    // A step came, went or moved between undo and redo.
    void changed();

private:
    struct Open {
        ChangeStep step;
        bool spoiled = false;
    };
    void wrote(const vok::Table& table, const vok::RowWrite& write) override;
    // A working record-set the history listens to, and what its rows are.
    struct Role {
        vok::Table* table = nullptr;
        ChangeStep::Subject subject = ChangeStep::Subject::Record;
        int level = 0;
        QString nameField; // empty: the rows have no name
    };
    // The role of a record-set, or of the working one over the same table (a copy's).
    const Role* roleOf(const vok::Table& table) const;
    ChangeStep::Row rowOf(const Role& role, const vok::RowWrite& write) const;
    // Names a step after its main row: the record of the highest level it wrote, else its first.
    static void settle(ChangeStep& step, ChangeStep::Kind kind);
    void push(ChangeStep step);
    // Drops the step at `at` of `from` and every step that shares a row with it, step by step.
    int dropEntangled(QList<ChangeStep>& from, qsizetype at);
    Outcome replay(bool undo);

    ProjectData& dm_;
    QList<Role> roles_;
    QList<QPointer<vok::Table>> listened_;
    QList<ChangeStep> undo_;
    QList<ChangeStep> redo_;
    std::unique_ptr<Open> open_;
    std::function<QString(int, const QString&)> caption_;
};
