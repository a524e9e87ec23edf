#include "editmenu.h"

#include "data/changehistory.h"
#include "detailpage.h"
#include "framework/io/showntext.h"
#include "framework/ui/guard.h"
#include "framework/ui/messages.h"
#include "framework/widgets/datalink.h"
#include "recordtab.h"
#include "treecontroller.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace {

using Kind = ChangeStep::Kind;
using Subject = ChangeStep::Subject;

// How a step is named, by what it did to what; a level of -1 names every level alike. Each text is
// a row of the caption table (window Form1), found by its English words.
struct Pattern {
    Kind kind;
    Subject subject;
    int level;
    const char* text;
};
const Pattern patterns[] = {
    {Kind::Add, Subject::Record, 0, QT_TRANSLATE_NOOP("Form1", "add of project '%1'")},
    {Kind::Add, Subject::Record, 1, QT_TRANSLATE_NOOP("Form1", "add of major activity '%1'")},
    {Kind::Add, Subject::Record, 2, QT_TRANSLATE_NOOP("Form1", "add of action '%1'")},
    {Kind::Delete, Subject::Record, 0, QT_TRANSLATE_NOOP("Form1", "delete of project '%1'")},
    {Kind::Delete, Subject::Record, 1, QT_TRANSLATE_NOOP("Form1", "delete of major activity '%1'")},
    {Kind::Delete, Subject::Record, 2, QT_TRANSLATE_NOOP("Form1", "delete of action '%1'")},
    {Kind::Copy, Subject::Record, -1, QT_TRANSLATE_NOOP("Form1", "copy of project '%1'")},
    {Kind::Add, Subject::Note, -1, QT_TRANSLATE_NOOP("Form1", "add of a note")},
    {Kind::Edit, Subject::Note, -1, QT_TRANSLATE_NOOP("Form1", "typing in a note")},
    {Kind::Delete, Subject::Note, -1, QT_TRANSLATE_NOOP("Form1", "delete of a note")},
    {Kind::Add, Subject::TeamMember, -1, QT_TRANSLATE_NOOP("Form1", "add of team member '%1'")},
    {Kind::Edit, Subject::TeamMember, -1, QT_TRANSLATE_NOOP("Form1", "change of team member '%1'")},
    {Kind::Delete, Subject::TeamMember, -1,
     QT_TRANSLATE_NOOP("Form1", "delete of team member '%1'")},
    {Kind::Add, Subject::Contact, -1, QT_TRANSLATE_NOOP("Form1", "add of contact '%1'")},
    {Kind::Edit, Subject::Contact, -1, QT_TRANSLATE_NOOP("Form1", "change of contact '%1'")},
    {Kind::Delete, Subject::Contact, -1, QT_TRANSLATE_NOOP("Form1", "delete of contact '%1'")},
};
// An edit of a record's field: typed (a line, a text, a date, a number) or chosen.
const char* const typingIn = QT_TRANSLATE_NOOP("Form1", "typing in %1");
const char* const changeOf = QT_TRANSLATE_NOOP("Form1", "change of %1");
const char* const undoNothing = QT_TRANSLATE_NOOP("Form1", "Undo");
const char* const redoNothing = QT_TRANSLATE_NOOP("Form1", "Redo");
const char* const undoStep = QT_TRANSLATE_NOOP("Form1", "Undo %1");
const char* const redoStep = QT_TRANSLATE_NOOP("Form1", "Redo %1");

// A name as a menu item can hold it: escaped, not too long.
QString shortName(const QString& name) {
    constexpr int Longest = 40;
    const QString shown = vok::ShownText::escaped(name);
    return shown.size() <= Longest ? shown : shown.left(Longest - 1) + QChar(0x2026);
}

QKeySequence redoShiftZ() {
    return QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z);
}

} // namespace

EditMenu::EditMenu(QMainWindow* window, QAction* before) : QObject(window), window_(window) {
    menu = new QMenu(QStringLiteral("Edit"), window);
    menu->setObjectName(QStringLiteral("Edit1"));
    window->menuBar()->insertMenu(before, menu);
    const auto make = [this, window](const char* name, const QString& caption) {
        auto* a = new QAction(caption, window);
        a->setObjectName(QLatin1String(name));
        menu->addAction(a);
        return a;
    };
    undoAction = make("Undo1", QStringLiteral("Undo"));
    redoAction = make("Redo1", QStringLiteral("Redo"));
    menu->addSeparator();
    findAction = make("Find1", QStringLiteral("Find in the tree"));
    // The desktop's keys, wherever the focus is in the window; Ctrl+Shift+Z redoes on every
    // desktop.
    undoAction->setShortcuts(QKeySequence::Undo);
    QList<QKeySequence> redo = QKeySequence::keyBindings(QKeySequence::Redo);
    if (!redo.contains(redoShiftZ()))
        redo << redoShiftZ();
    redoAction->setShortcuts(redo);
    findAction->setShortcuts(QKeySequence::Find);
    for (QAction* a : {undoAction, redoAction, findAction})
        a->setShortcutContext(Qt::WindowShortcut);
    connect(undoAction, &QAction::triggered, this,
            [this] { vok::Guard::run([this] { replay(true); }); });
    connect(redoAction, &QAction::triggered, this,
            [this] { vok::Guard::run([this] { replay(false); }); });
    window->installEventFilter(this);
    qApp->installEventFilter(this);
    updateActions();
}

void EditMenu::setTree(TreeController* tree, const std::array<DetailPage*, 3>& pages) {
    tree_ = tree;
    pages_ = pages;
}

void EditMenu::setHistory(ChangeHistory* history) {
    history_ = history;
    if (history_) {
        connect(history_, &ChangeHistory::changed, this, &EditMenu::updateActions);
        // A refusal is a message, in English as every message of the system: the caption too.
        history_->setFieldCaption([this](int level, const QString& field) {
            bool typed = true;
            return fieldCaption(level, field, false, &typed);
        });
    }
    updateActions();
}

void EditMenu::setBusy(bool busy) {
    busy_ = busy;
    updateActions();
}

QString EditMenu::fieldCaption(int level, const QString& field, bool translated,
                               bool* typed) const {
    *typed = true;
    const DetailPage* page = pages_[static_cast<size_t>(level)];
    if (!page)
        return field;
    for (const RecordTab::Row& row : page->design().fields) {
        if (field.compare(QLatin1String(row.field), Qt::CaseInsensitive) != 0)
            continue;
        *typed = row.editor != RecordTab::Editor::Check && row.editor != RecordTab::Editor::Lookup;
        if (!translated)
            return QString::fromUtf8(row.caption);
        // As the page shows it now, in the language chosen.
        const char* shownBy = row.labelName ? row.labelName : row.editorName;
        if (const auto* label = page->findChild<QLabel*>(QLatin1String(shownBy)))
            return label->text();
        if (const auto* box = page->findChild<QCheckBox*>(QLatin1String(shownBy)))
            return box->text();
        return QString::fromUtf8(row.caption);
    }
    return field;
}

QString EditMenu::nameOf(const ChangeStep& step, bool translated) const {
    const auto text = [translated](const char* english) {
        return translated ? QCoreApplication::translate("Form1", english)
                          : QString::fromUtf8(english);
    };
    const ChangeStep::Row& main = step.mainRow();
    if (step.kind == Kind::Edit && main.subject == Subject::Record) {
        QStringList captions;
        bool typed = true;
        for (const QString& field : step.fields) {
            bool thisTyped = true;
            captions << fieldCaption(main.level, field, translated, &thisTyped);
            typed = typed && thisTyped;
        }
        return text(typed && captions.size() == 1 ? typingIn : changeOf)
            .arg(captions.join(QStringLiteral(", ")));
    }
    const QString name = shortName(
        step.kind == Kind::Copy && !step.sourceName.isEmpty() ? step.sourceName : main.name);
    for (const Pattern& p : patterns) {
        if (p.kind != step.kind || p.subject != main.subject ||
            (p.level >= 0 && p.level != main.level))
            continue;
        const QString named = text(p.text);
        return named.contains(QLatin1String("%1")) ? named.arg(name) : named;
    }
    return name;
}

void EditMenu::updateActions() {
    const ChangeStep* undo = history_ ? history_->nextUndo() : nullptr;
    const ChangeStep* redo = history_ ? history_->nextRedo() : nullptr;
    const auto caption = [this](const ChangeStep* step, const char* nothing, const char* named) {
        if (!step)
            return QCoreApplication::translate("Form1", nothing);
        // An ampersand in a name is shown, not taken for the item's mnemonic.
        return QCoreApplication::translate("Form1", named)
            .arg(nameOf(*step).replace(QLatin1Char('&'), QStringLiteral("&&")));
    };
    undoAction->setText(caption(undo, undoNothing, undoStep));
    redoAction->setText(caption(redo, redoNothing, redoStep));
    undoAction->setEnabled(undo && !busy_);
    redoAction->setEnabled(redo && !busy_);
    findAction->setEnabled(!busy_);
}

void EditMenu::replay(bool undo) {
    if (!history_ || !tree_ || busy_)
        return;
    // What was typed on the page is stored first, as before any command; it may be the step.
    if (!tree_->leaveShownPage())
        return;
    const ChangeStep* step = undo ? history_->nextUndo() : history_->nextRedo();
    if (!step)
        return;
    const QString name = nameOf(*step, false);
    const ChangeHistory::Outcome out = undo ? history_->undo() : history_->redo();
    tree_->showAfterChange(out.node);
    // The page the focus was on may have gone with the step: the keys go on from the tree.
    if (!QApplication::focusWidget())
        tree_->view()->setFocus(Qt::OtherFocusReason);
    if (out.done || out.refusal.isEmpty())
        return;
    QString text =
        QStringLiteral("%1 %2 was refused: %3. Nothing was changed.")
            .arg(undo ? QStringLiteral("Undo") : QStringLiteral("Redo"), name, out.refusal);
    text += out.dropped == 0
                ? QStringLiteral("\n\nThat step has left the history.")
                : QStringLiteral("\n\nThat step has left the history, and so have %1 other "
                                 "steps on the same records.")
                      .arg(out.dropped);
    vok::Messages::show(
        {vok::Messages::Icon::Warning, vok::Messages::applicationTitle(), text, QMessageBox::Ok});
}

bool EditMenu::ownedByControl(QWidget* focus, bool undo) {
    bool available = false;
    if (const auto* line = qobject_cast<QLineEdit*>(focus))
        available = undo ? line->isUndoAvailable() : line->isRedoAvailable();
    else if (const auto* plain = qobject_cast<QPlainTextEdit*>(focus))
        available =
            undo ? plain->document()->isUndoAvailable() : plain->document()->isRedoAvailable();
    else if (const auto* rich = qobject_cast<QTextEdit*>(focus))
        available =
            undo ? rich->document()->isUndoAvailable() : rich->document()->isRedoAvailable();
    else
        return false; // the tree, a check box, a list, a button: the window's
    // The field of a record: its own while what was typed is not stored.
    for (QWidget* w = focus; w && !w->isWindow(); w = w->parentWidget()) {
        // A cell being typed into lies in its grid's view: not in the record yet.
        if (w != focus && qobject_cast<QAbstractItemView*>(w))
            return true;
        if (const auto* link =
                w->findChild<vok::DataLink*>(QString(), Qt::FindDirectChildrenOnly)) {
            const vok::Table* table = link->table();
            return available && table && table->isEditing() && table->isModified();
        }
    }
    return true; // a text of its own (the find field)
}

bool EditMenu::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_ && event->type() == QEvent::LanguageChange) {
        updateActions();
    } else if (event->type() == QEvent::ShortcutOverride) {
        QWidget* focus = QApplication::focusWidget();
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool undo = key->matches(QKeySequence::Undo);
        const bool redo =
            key->matches(QKeySequence::Redo) || QKeySequence(key->keyCombination()) == redoShiftZ();
        // Not given to the control: the window's shortcut takes the key.
        if ((undo || redo) && watched == focus && focus->window() == window_ &&
            (undo ? undoAction : redoAction)->isEnabled() && !ownedByControl(focus, undo))
            return true;
    }
    return QObject::eventFilter(watched, event);
}
