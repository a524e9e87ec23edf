// A journey nobody wrote: a seeded sequence of clicks, keys and typed texts over the tree, the
// tabs, the record fields, dialogs and F5, while a second connection changes and deletes records
// at random steps. After every step the page shows the node the tree highlights, every value the
// user stored is in the database on the record it was typed on (or was replaced later, or its
// record was deleted), and a text a field refused is still in its field.
//
// VOK_RANDOM_JOURNEY_SEED (one seed or several, comma-separated) and VOK_RANDOM_JOURNEY_STEPS
// replay or widen it; a failure prints its seed and the steps before it.
#include "framework/dataset/table.h"
#include "framework/widgets/dbdateedit.h"
#include "framework/widgets/dbedit.h"
#include "framework/widgets/dbmemo.h"
#include "journeyfixture.h"
#include "ui/main/detailpage.h"
#include "ui/main/mainwindow.h"
#include "ui/main/projecttree.h"
#include "ui/main/recordtab.h"
#include "ui/main/treecontroller.h"

#include <QApplication>
#include <QDialog>
#include <QMenu>
#include <QMenuBar>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTabBar>
#include <QTreeWidget>
#include <QtTest>
#include <optional>

namespace {

// The text fields of each level that the journey types into and the other connection writes.
struct Level {
    const char* table;
    const char* key;
    QList<const char*> fields; // name first
};
const Level levels[] = {
    {"projects", "Zel_Project_id", {"Zel_project", "Zel_description", "Zel_client"}},
    {"major", "Major_id", {"Major_item", "Major_description"}},
    {"action", "Action_id", {"Action_name", "Action_description"}},
};

// A field of a record: "major:7:Major_item".
QString target(int level, const QString& id, const char* field) {
    return QLatin1String(levels[level].table) + QLatin1Char(':') + id + QLatin1Char(':') +
           QLatin1String(field);
}

} // namespace

class TestRandomJourney : public JourneyFixture {
    Q_OBJECT

    QRandomGenerator rng;
    int seed = 0;
    int serial = 0;
    QStringList log;
    // Every marker written, user's ("u12") and the other connection's ("o13"), by serial: which
    // field of which record it went to.
    QHash<QString, QString> placed;
    // Per field, the serial of the last value the user stored there: the database holds it or
    // something written there after it.
    QHash<QString, int> mustHold;
    struct Typing {
        QString target;
        QString marker;
        int serial;
    };
    std::optional<Typing> pending; // typed, not stored yet
    struct Refusal {
        QString record; // the node identity string
        vok::DBEdit* edit;
        QString text;
    };
    std::optional<Refusal> refused;

    int pick(int n) { return n <= 1 ? 0 : static_cast<int>(rng.bounded(n)); }
    bool chance(int percent) { return pick(100) < percent; }
    QString marker(char who) { return QLatin1Char(who) + QString::number(++serial); }
    void note(const QString& step) { log << QStringLiteral("%1: %2").arg(log.size()).arg(step); }

    DetailPage* page() { return qobject_cast<DetailPage*>(visiblePage()); }
    int pageLevel() {
        DetailPage* p = page();
        return p ? static_cast<int>(p->recordId().count(QLatin1Char(','))) : -1;
    }
    // The key of a record in its own table, from its node identity string.
    static QString ownKey(const QString& id) { return id.section(QLatin1Char(','), -1); }

    // ---------------------------------------------------------------- acting

    QList<QTreeWidgetItem*> nodes() {
        QList<QTreeWidgetItem*> out;
        QTreeWidget* tree = form->tree->view();
        std::function<void(QTreeWidgetItem*)> walk = [&](QTreeWidgetItem* item) {
            out << item;
            for (int i = 0; i < item->childCount(); ++i)
                walk(item->child(i));
        };
        for (int i = 0; i < tree->topLevelItemCount(); ++i)
            walk(tree->topLevelItem(i));
        return out;
    }

    // Clicks a node, opening its parents by their arrows first. Each is found again before its
    // click: what a click sets off may have read the tree again.
    void clickItem(const QString& id) {
        QTreeWidget* tree = form->tree->view();
        const QStringList parts = id.split(QLatin1Char(','));
        for (int depth = 1; depth <= parts.size(); ++depth) {
            QTreeWidgetItem* item =
                form->tree->findNode(parts.mid(0, depth).join(QLatin1Char(',')));
            if (!item) {
                note(u"  the node went meanwhile"_qs);
                return;
            }
            tree->scrollToItem(item);
            const QRect rect = tree->visualItemRect(item);
            if (depth < parts.size()) {
                if (!item->isExpanded())
                    click(tree->viewport(),
                          QPoint(rect.left() - tree->indentation() / 2, rect.center().y()));
            } else {
                click(tree->viewport(), QPoint(rect.left() + 8, rect.center().y()));
            }
        }
    }

    // The user types a marker into a text field of the record showing, and leaves it or not.
    void typeIntoRecord() {
        DetailPage* p = page();
        const int level = pageLevel();
        if (!p || level < 0 || p->isAdding())
            return;
        if (p->currentIndex() != 0)
            click(p->tabBar(), p->tabBar()->tabRect(0).center());
        const int f = pick(static_cast<int>(levels[level].fields.size()));
        QWidget* field = f == 0   ? static_cast<QWidget*>(p->record->name)
                         : f == 1 ? static_cast<QWidget*>(p->record->description)
                                  : static_cast<QWidget*>(p->record->client);
        click(field);
        if (focused() != field) {
            note(QStringLiteral("clicked %1, the focus went back").arg(field->objectName()));
            return; // a refused text took the user back to it
        }
        const QString text = marker('u');
        const QString where = target(level, ownKey(p->recordId()), levels[level].fields[f]);
        placed.insert(text, where);
        retype(text);
        pending = Typing{where, text, serial};
        const bool leave = chance(70);
        note(QStringLiteral("typed %1 into %2%3").arg(text, where, leave ? u", Tab"_qs : u""_qs));
        if (leave)
            tab();
    }

    void typeRefusedDate() {
        DetailPage* p = page();
        if (!p || p->isAdding() || refused)
            return;
        if (p->currentIndex() != 0)
            click(p->tabBar(), p->tabBar()->tabRect(0).center());
        vok::DBEdit* date = chance(50) ? p->record->from : p->record->to;
        click(date);
        if (focused() != date)
            return;
        retype(u"02/30/2027"_qs);
        tab();
        refused = Refusal{p->recordId(), date, u"02/30/2027"_qs};
        note(QStringLiteral("typed a date that is none into %1 of %2")
                 .arg(date->objectName(), p->recordId()));
    }

    void settleRefusal() {
        if (!refused || focused() != refused->edit)
            return;
        if (chance(50)) {
            retype(u"02/28/2027"_qs);
            tab();
            note(u"put the date right"_qs);
        } else {
            key(Qt::Key_Escape);
            note(u"Escape"_qs);
            dropPendingOf(refused->record);
        }
        refused.reset();
    }

    void dropPendingOf(const QString& record) {
        if (pending && pending->target.section(QLatin1Char(':'), 1, 1) == ownKey(record))
            pending.reset();
    }

    void otherConnectionWrites() {
        // Half the time the record the user is on, the field being typed into first of all:
        // where the two meet.
        const bool meet = page() && !page()->isAdding() && chance(50);
        const int level = meet ? pageLevel() : pick(3);
        const Level& l = levels[level];
        const QString id =
            meet ? ownKey(page()->recordId())
                 : stored(QStringLiteral("SELECT %1 FROM %2 ORDER BY (%1 * %3) % 101 LIMIT 1")
                              .arg(QLatin1String(l.key), QLatin1String(l.table))
                              .arg(1 + pick(100)));
        if (id == u"<none>"_qs)
            return;
        if (level > 0 && chance(25)) {
            if (level == 1)
                elsewhere(QStringLiteral("DELETE FROM action WHERE Action_major_id = %1").arg(id));
            elsewhere(QStringLiteral("DELETE FROM %1 WHERE %2 = %3")
                          .arg(QLatin1String(l.table), QLatin1String(l.key), id));
            note(QStringLiteral("the other connection deleted %1 %2").arg(l.table, id));
            return;
        }
        const char* field = l.fields[pick(static_cast<int>(l.fields.size()))];
        if (meet && pending && chance(50))
            field =
                l.fields[static_cast<int>(std::find_if(l.fields.begin(), l.fields.end(),
                                                       [&](const char* f) {
                                                           return pending->target.endsWith(
                                                               QLatin1Char(':') + QLatin1String(f));
                                                       }) -
                                          l.fields.begin()) %
                         l.fields.size()];
        const QString text = marker('o');
        placed.insert(text, target(level, id, field));
        elsewhere(
            QStringLiteral("UPDATE %1 SET %2 = '%3' WHERE %4 = %5")
                .arg(QLatin1String(l.table), QLatin1String(field), text, QLatin1String(l.key), id));
        note(QStringLiteral("the other connection wrote %1 into %2")
                 .arg(text, target(level, id, field)));
    }

    void addNode() {
        QTreeWidget* tree = form->tree->view();
        if (form->tree->selectedNode().isEmpty() || !tree->isEnabled() || refused)
            return;
        const int level = static_cast<int>(form->tree->selectedNode().count(QLatin1Char(',')));
        static const QStringList commands[] = {{u"AddMajor1"_qs, u"AddProject1"_qs},
                                               {u"AddMajor2"_qs, u"AddAction1"_qs},
                                               {u"AddAction2"_qs}};
        const QString command = commands[level][pick(static_cast<int>(commands[level].size()))];
        treeMenu(command);
        DetailPage* p = page();
        if (!p || !p->isAdding()) {
            note(QStringLiteral("%1 did not start adding").arg(command));
            return;
        }
        const int added = pageLevel() < 0 ? 0 : pageLevel();
        const QString text = marker('u');
        type(text);
        if (chance(80)) {
            click(p->record->ok);
            placed.insert(text, target(added, u"?"_qs, levels[added].fields[0]));
            mustHold.insert(target(added, u"?"_qs, levels[added].fields[0]), serial);
            note(QStringLiteral("%1 %2, Ok").arg(command, text));
        } else {
            if (chance(50))
                click(p->record->cancel);
            else
                key(Qt::Key_Escape);
            note(QStringLiteral("%1 %2, cancelled").arg(command, text));
        }
    }

    void openDialog() {
        const bool report = chance(50);
        const QString name = report ? u"Reports1"_qs : u"Timesheetentry1"_qs;
        QMenuBar* bar = form->menuBar();
        for (QAction* a : bar->actions()) {
            if (!a->menu() || a->menu()->objectName() != name)
                continue;
            click(bar, bar->actionGeometry(a).center());
            if (!a->menu()->isVisible()) {
                note(u"the menu did not open"_qs); // a refused text was said first
                return;
            }
            chooseFromMenu(a->menu(), report ? u"PrintPERT1"_qs : u"UpdateTimeSheets1"_qs);
        }
        // Closed by Escape; the window manager gives the main window its activation back.
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form));
        note(u"a dialog came and went"_qs);
    }

    void step() {
        // Put a refused text right now and then; until then the rest must keep it.
        if (refused && chance(35)) {
            settleRefusal();
            return;
        }
        const int r = pick(100);
        if (r < 22) {
            const QList<QTreeWidgetItem*> all = nodes();
            if (all.isEmpty())
                return;
            QTreeWidgetItem* item = all[pick(static_cast<int>(all.size()))];
            note(QStringLiteral("click node %1").arg(item->text(0)));
            clickItem(ProjectTree::idOf(item));
        } else if (r < 32) {
            if (QTabWidget* p = visiblePage()) {
                const int t = pick(p->count());
                note(QStringLiteral("click tab %1").arg(p->tabText(t)));
                click(p->tabBar(), p->tabBar()->tabRect(t).center());
            }
        } else if (r < 55) {
            typeIntoRecord();
        } else if (r < 60) {
            typeRefusedDate();
        } else if (r < 65) {
            note(u"F5"_qs);
            key(Qt::Key_F5);
        } else if (r < 68) {
            if (DetailPage* p = page(); p && focused() && p->isAncestorOf(focused())) {
                note(u"Escape"_qs);
                const QString record = p->recordId();
                key(Qt::Key_Escape);
                if (p->currentIndex() == 0) { // what was typed goes, by the user's choice
                    dropPendingOf(record);
                    if (refused && refused->record == record)
                        refused.reset();
                }
            }
        } else if (r < 86) {
            otherConnectionWrites();
        } else if (r < 93) {
            addNode();
        } else {
            openDialog();
        }
    }

    // ---------------------------------------------------------------- checking

    QString failure(const QString& what) {
        return QStringLiteral("seed %1, step %2: %3\n%4")
            .arg(seed)
            .arg(log.size() - 1)
            .arg(what, log.mid(std::max<qsizetype>(0, log.size() - 12)).join(QLatin1Char('\n')));
    }

    void check() {
        const QString selected = form->tree->selectedNode();
        DetailPage* p = page();
        if (!(p && p->isAdding())) {
            // The page shows the node the tree highlights, and nothing when none is.
            QVERIFY2(selected.isEmpty() == !p, qPrintable(failure(u"a page without a node"_qs)));
            if (p)
                QVERIFY2(p->recordId() == selected,
                         qPrintable(failure(QStringLiteral("the page shows %1, the tree %2")
                                                .arg(p->recordId(), selected))));
        }
        // A refused text stays in its field, on the page of its record, until put right or
        // dropped; a record deleted meanwhile takes it along (and says so).
        if (refused) {
            if (p && p->recordId() == refused->record) {
                QVERIFY2(refused->edit->text() == refused->text && refused->edit->hasInvalidText(),
                         qPrintable(failure(u"the refused date was dropped"_qs)));
            } else {
                QVERIFY2(std::any_of(shown.begin(), shown.end(),
                                     [](const vok::Messages::Request& m) {
                                         return m.text.contains(u"no longer stored"_qs);
                                     }),
                         qPrintable(failure(u"the refused date's page went silently"_qs)));
                refused.reset();
            }
        }
        // What was typed and is no longer pending was stored, or said to be lost.
        if (pending) {
            const int level =
                static_cast<int>(std::find_if(std::begin(levels), std::end(levels),
                                              [&](const Level& l) {
                                                  return pending->target.startsWith(
                                                      QLatin1String(l.table) + QLatin1Char(':'));
                                              }) -
                                 std::begin(levels));
            const bool stillTyped =
                p && pageLevel() == level && p->records()->isEditing() &&
                ownKey(p->recordId()) == pending->target.section(QLatin1Char(':'), 1, 1);
            if (!stillTyped) {
                mustHold.insert(pending->target, pending->serial);
                pending.reset();
            }
        }
        // Every marker in the database stands where it was written.
        const QRegularExpression isMarker(QStringLiteral("^[uo][0-9]+$"));
        for (int level = 0; level < 3; ++level) {
            const Level& l = levels[level];
            for (const char* field : l.fields) {
                QSqlQuery q = rows(
                    QStringLiteral("SELECT %1, %2 FROM %3")
                        .arg(QLatin1String(l.key), QLatin1String(field), QLatin1String(l.table)));
                while (q.next()) {
                    const QString value = q.value(1).toString();
                    if (!isMarker.match(value).hasMatch())
                        continue;
                    const QString here = target(level, q.value(0).toString(), field);
                    QString& there = placed[value];
                    if (there.contains(u":?:"_qs)) { // a new record: its key is known now
                        const QString fixed = here;
                        if (mustHold.contains(there))
                            mustHold.insert(fixed, mustHold.take(there));
                        there = fixed;
                    }
                    QVERIFY2(there == here,
                             qPrintable(failure(QStringLiteral("%1, written to %2, is in %3")
                                                    .arg(value, there, here))));
                }
            }
        }
        // And what the user stored is still there, unless written over since or deleted.
        for (auto it = mustHold.begin(); it != mustHold.end();) {
            const QStringList parts = it.key().split(QLatin1Char(':'));
            if (parts[1] == u"?"_qs) {
                ++it;
                continue;
            }
            const Level& l =
                *std::find_if(std::begin(levels), std::end(levels),
                              [&](const Level& x) { return parts[0] == QLatin1String(x.table); });
            const QString value =
                stored(QStringLiteral("SELECT %1 FROM %2 WHERE %3 = %4")
                           .arg(parts[2], parts[0], QLatin1String(l.key), parts[1]));
            if (value == u"<none>"_qs) { // deleted by the other connection
                it = mustHold.erase(it);
                continue;
            }
            const bool later = isMarker.match(value).hasMatch() &&
                               placed.value(value) == it.key() &&
                               value.mid(1).toInt() >= it.value();
            QVERIFY2(later, qPrintable(failure(QStringLiteral("%1 holds %2, not what was stored "
                                                              "there (u%3) or later")
                                                   .arg(it.key(), value)
                                                   .arg(it.value()))));
            ++it;
        }
    }

    QSqlQuery rows(const QString& query) { return storedRows(query); }
    void elsewhere(const QString& statement) { stored(statement); }

private Q_SLOTS:
    void init() { setUp(); }
    void cleanup() { tearDown(); }

    void aRandomJourneyKeepsEveryTypedValueOnItsRecord_data() {
        QTest::addColumn<int>("seed");
        QTest::addColumn<int>("steps");
        const QByteArray seeds = qgetenv("VOK_RANDOM_JOURNEY_SEED");
        const int steps = qEnvironmentVariableIsSet("VOK_RANDOM_JOURNEY_STEPS")
                              ? qEnvironmentVariableIntValue("VOK_RANDOM_JOURNEY_STEPS")
                              : 40;
        const QList<QByteArray> list =
            seeds.isEmpty() ? QList<QByteArray>{"1", "2", "3"} : seeds.split(',');
        for (const QByteArray& s : list)
            QTest::newRow(QByteArray("seed " + s.trimmed()).constData())
                << s.trimmed().toInt() << steps;
    }
    void aRandomJourneyKeepsEveryTypedValueOnItsRecord() {
        QFETCH(int, seed);
        QFETCH(int, steps);
        this->seed = seed;
        rng.seed(static_cast<quint32>(seed));
        serial = 0;
        log.clear();
        placed.clear();
        mustHold.clear();
        pending.reset();
        refused.reset();
        qInfo("random journey: seed %d, %d steps (VOK_RANDOM_JOURNEY_SEED, "
              "VOK_RANDOM_JOURNEY_STEPS replay it)",
              seed, steps);
        const auto printSeed = qScopeGuard([&] {
            if (QTest::currentTestFailed())
                qWarning("%s", qPrintable(failure(u"random journey failed"_qs)));
            else if (qEnvironmentVariableIsSet("VOK_RANDOM_JOURNEY_LOG"))
                qInfo("%s", qPrintable(log.join(QLatin1Char('\n'))));
        });
        for (int i = 0; i < steps; ++i) {
            shown.clear();
            answers.clear();
            for (int a = 0; a < 4; ++a) // a clash: keep mine or take theirs
                answers << (chance(50) ? QMessageBox::Yes : QMessageBox::No);
            const QList<QMessageBox::StandardButton> given = answers;
            step();
            if (QTest::currentTestFailed())
                return;
            for (const vok::Messages::Request& m : std::as_const(shown))
                note(u"  told: "_qs + m.text.section(QLatin1Char('\n'), 0, 1));
            // A popup left open by a step closes as a person would close it.
            if (QWidget* popup = QApplication::activePopupWidget())
                QTest::keyClick(popup, Qt::Key_Escape);
            // Which questions were answered how: a clash settled by taking theirs drops what
            // was typed, by the user's choice.
            for (qsizetype m = 0; m < shown.size(); ++m) {
                if (shown[m].text.contains(u"Keep what you typed?"_qs) &&
                    (m < given.size() ? given[m] : QMessageBox::Ok) == QMessageBox::No)
                    pending.reset();
            }
            settle();
            check();
            if (QTest::currentTestFailed())
                return;
        }
    }
};

QTEST_MAIN(TestRandomJourney)
#include "tst_randomjourney.moc"
