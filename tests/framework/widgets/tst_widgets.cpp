// The data-aware controls, driven offscreen against a real SQLite data folder.
#include "framework/dataset/store.h"
#include "framework/dataset/table.h"
#include "framework/ui/messages.h"
#include "framework/widgets/dbcheckbox.h"
#include "framework/widgets/dbcombobox.h"
#include "framework/widgets/dbctrlgrid.h"
#include "framework/widgets/dbdateedit.h"
#include "framework/widgets/dbedit.h"
#include "framework/widgets/dbgrid.h"
#include "framework/widgets/dblookupcombobox.h"
#include "framework/widgets/dbmemo.h"
#include "framework/widgets/dbnavigator.h"
#include "support/testenvironment.h"

#include <QAccessible>
#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QToolButton>
#include <QTranslator>
#include <QVBoxLayout>
#include <QtTest>

using namespace vok;

namespace {

FieldDef def(const char* name, FieldType type, int size = 0) {
    return FieldDef{QLatin1String(name), type, size};
}

const TableDef peopleDef{QStringLiteral("people"),
                         {def("P_id", FieldType::AutoInc), def("P_name", FieldType::String, 20),
                          def("P_born", FieldType::Date), def("P_active", FieldType::Boolean),
                          def("P_note", FieldType::Memo, 10), def("P_pay", FieldType::Currency),
                          def("P_count", FieldType::Integer), def("P_boss", FieldType::String, 20),
                          def("P_flag", FieldType::String, 1)},
                         {}};
const TableDef tasksDef{
    QStringLiteral("tasks"),
    {def("T_person", FieldType::Integer), def("T_id", FieldType::AutoInc),
     def("T_title", FieldType::String, 30), def("T_owner", FieldType::String, 20),
     def("T_note", FieldType::Memo, 10)},
    {{QStringLiteral("tasks_key"), {QStringLiteral("T_person"), QStringLiteral("T_id")}, false}}};
const TableDef staffDef{QStringLiteral("staff"),
                        {def("S_id", FieldType::AutoInc), def("S_name", FieldType::String, 20)},
                        {}};
const TableDef entriesDef{QStringLiteral("entries"),
                          {def("E_id", FieldType::AutoInc), def("E_person", FieldType::String, 20),
                           def("E_task", FieldType::String, 30)},
                          {}};

} // namespace

class TestWidgets : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    std::unique_ptr<Store> store;
    std::unique_ptr<Table> people;
    std::unique_ptr<Table> tasks;
    std::unique_ptr<Table> staff;
    std::unique_ptr<Table> entries;
    std::unique_ptr<QWidget> window;
    QLineEdit* other = nullptr; // a plain control to move the focus to
    QList<Messages::Request> shown;
    QList<QMessageBox::StandardButton> answers;

    std::unique_ptr<Table> makeTable(const TableDef& d, const QStringList& index = {}) {
        auto t = std::make_unique<Table>(store.get(), d.name);
        t->setTableName(d.name + QStringLiteral(".DB"));
        t->setFieldDefs(d.fields);
        t->setIndexFieldNames(index);
        return t;
    }

    QString sql(const QString& query) {
        QSqlQuery q = store->exec(query);
        return q.next() ? q.value(0).toString() : QStringLiteral("<none>");
    }

    template <typename W> W* add(W* w) {
        window->layout()->addWidget(w);
        return w;
    }

    void showWindow() {
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }

    void focus(QWidget* w) {
        w->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(w->hasFocus() || w->isAncestorOf(QApplication::focusWidget()));
    }

    void leaveTo(QWidget* w = nullptr) { focus(w ? w : other); }

    // A cell editor commits after the key has been handled.
    void pressReturn(QWidget* editor) {
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();
    }

    Field& f(Table* t, const char* name) { return t->fieldByName(QLatin1String(name)); }

private Q_SLOTS:
    void init() {
        env = std::make_unique<TestEnvironment>();
        const QString folder = QDir(env->root()).filePath(QStringLiteral("data"));
        Store::createDatabase(folder, {peopleDef, tasksDef, staffDef, entriesDef}, {});
        store = std::make_unique<Store>();
        store->setParams({QStringLiteral("path=") + folder});
        store->exec(QStringLiteral(
            "INSERT INTO people (P_name, P_born, P_active, P_note, P_pay, P_count, P_boss, P_flag) "
            "VALUES ('Ann', '1980-05-04', 1, 'first note', 1234.5, 3, 'Carl', 'Y'),"
            " ('Bob', '1975-01-31', 0, 'second note', 10, 7, 'Zoe', 'N'),"
            " ('Cid', NULL, NULL, NULL, NULL, NULL, NULL, NULL)"));
        store->exec(QStringLiteral("INSERT INTO tasks (T_person, T_title, T_owner, T_note) VALUES "
                                   "(1, 'Plan', 'Carl', 'plan note'), (1, 'Build', 'Dora', NULL),"
                                   " (2, 'Test', 'Eve', 'test note')"));
        store->exec(
            QStringLiteral("INSERT INTO staff (S_name) VALUES ('Carl'), ('Dora'), ('Eve')"));
        store->exec(QStringLiteral("INSERT INTO entries (E_person, E_task) VALUES "
                                   "('Ann', 'Build'), ('Bob', 'Test'), ('Nobody', 'Nothing')"));
        people = makeTable(peopleDef, {QStringLiteral("P_id")});
        tasks = makeTable(tasksDef, {QStringLiteral("T_person"), QStringLiteral("T_id")});
        tasks->setMaster(people.get(), {QStringLiteral("P_id")});
        staff = makeTable(staffDef);
        entries = makeTable(entriesDef);
        for (Table* t : {people.get(), tasks.get(), staff.get(), entries.get()})
            t->open();

        window = std::make_unique<QWidget>();
        window->resize(600, 700);
        new QVBoxLayout(window.get());
        other = add(new QLineEdit);
        other->setObjectName(QStringLiteral("other"));

        shown.clear();
        answers.clear();
        Messages::setHandler([this](const Messages::Request& r) {
            shown << r;
            return answers.isEmpty() ? QMessageBox::Ok : answers.takeFirst();
        });
    }

    void cleanup() {
        Messages::setHandler({});
        window.reset();
        entries.reset();
        staff.reset();
        tasks.reset();
        people.reset();
        store.reset();
        env.reset();
    }

    // ------------------------------------------------------------ one-line edits

    // Typed, or set through the accessibility interface as dictation tools and screen readers do
    // (AT-SPI's editable text arrives as a replaced text or a new value).
    void editWritesWhatIsTyped_data() {
        QTest::addColumn<QString>("way");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        const struct {
            const char* name;
            const char* field;
            QString typed;
            QString stored;
        } rows[] = {
            {"text", "P_name", "Zed", "Zed"},
            {"text longer than the field", "P_name", "ABCDEFGHIJKLMNOPQRSTUVWXYZ",
             "ABCDEFGHIJKLMNOPQRST"},
            {"integer", "P_count", "42", "42"},
            {"date in the short format", "P_born", "12/31/1999", "1999-12-31"},
            {"currency", "P_pay", "99.5", "99.5"},
            {"emptied", "P_name", "", "<null>"},
        };
        for (const char* way : {"keys", "accessible text", "accessible value"}) {
            for (const auto& r : rows)
                QTest::addRow("%s, %s", r.name, way)
                    << way << QString::fromLatin1(r.field) << r.typed << r.stored;
        }
    }
    void editWritesWhatIsTyped() {
        QFETCH(QString, way);
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        auto* edit = add(new DBEdit);
        edit->setDataSource(people.get(), field);
        showWindow();
        focus(edit);
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(edit);
        if (way == QLatin1String("keys")) {
            edit->selectAll();
            QTest::keyClick(edit, Qt::Key_Backspace);
            QTest::keyClicks(edit, typed);
        } else if (way == QLatin1String("accessible text")) {
            accessible->editableTextInterface()->replaceText(
                0, accessible->textInterface()->characterCount(), typed);
        } else {
            accessible->setText(QAccessible::Value, typed);
        }
        QCOMPARE(people->state(), Table::State::Edit);
        QSignalSpy exited(edit->dataLink(), &DataLink::exited);
        leaveTo();
        QCOMPARE(exited.count(), 1);
        people->post();
        const QString inStore = sql(
            QStringLiteral("SELECT COALESCE(%1, '<null>') FROM people WHERE P_id = 1").arg(field));
        QCOMPARE(inStore, stored);
    }

    void editFollowsChangesMadeElsewhere_data() {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("shown");
        QTest::newRow("another record") << "move"
                                        << "Bob";
        QTest::newRow("field set by code") << "set"
                                           << "Set";
        QTest::newRow("rows read again after another user's change") << "refresh"
                                                                     << "Other";
        QTest::newRow("record-set closed") << "close"
                                           << "";
        QTest::newRow("new record") << "insert"
                                    << "";
    }
    void editFollowsChangesMadeElsewhere() {
        QFETCH(QString, change);
        QFETCH(QString, shown);
        auto* edit = add(new DBEdit);
        edit->setDataSource(people.get(), QStringLiteral("P_name"));
        showWindow();
        QCOMPARE(edit->text(), QStringLiteral("Ann"));
        if (change == QLatin1String("move")) {
            people->next();
        } else if (change == QLatin1String("set")) {
            people->edit();
            f(people.get(), "P_name").setAsString(QStringLiteral("Set"));
        } else if (change == QLatin1String("refresh")) {
            store->exec(QStringLiteral("UPDATE people SET P_name = 'Other' WHERE P_id = 1"));
            people->refresh();
        } else if (change == QLatin1String("close")) {
            people->close();
        } else {
            people->insert();
        }
        QCOMPARE(edit->text(), shown);
    }

    void editShowsDisplayTextAndTypingText() {
        auto* edit = add(new DBEdit);
        edit->setDataSource(people.get(), QStringLiteral("P_pay"));
        showWindow();
        QCOMPARE(edit->text(), QStringLiteral("$1,234.50"));
        focus(edit);
        QCOMPARE(edit->text(), QStringLiteral("1234.5"));
        leaveTo();
        QCOMPARE(edit->text(), QStringLiteral("$1,234.50"));
        QCOMPARE(people->state(), Table::State::Browse);
    }

    void refusedTextIsReportedAndNothingIsLost_data() {
        QTest::addColumn<bool>("dateEdit");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("corrected");
        QTest::addColumn<QString>("stored");
        QTest::newRow("day that does not exist")
            << true << "P_born"
            << "02/30/2024"
            << "'02/30/2024' is not a valid date; type it as MM/dd/yyyy."
            << "02/29/2024"
            << "2024-02-29";
        QTest::newRow("words for a date") << true << "P_born"
                                          << "soon"
                                          << "'soon' is not a valid date; type it as MM/dd/yyyy."
                                          << "7/4/24"
                                          << "2024-07-04";
        QTest::newRow("letters after digits") << false << "P_count"
                                              << "12x"
                                              << "'12x' is not a valid integer value."
                                              << "12"
                                              << "12";
    }
    void refusedTextIsReportedAndNothingIsLost() {
        QFETCH(bool, dateEdit);
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QString, message);
        QFETCH(QString, corrected);
        QFETCH(QString, stored);
        auto* name = add(new DBEdit);
        name->setDataSource(people.get(), QStringLiteral("P_name"));
        DBEdit* edit = dateEdit ? add(new DBDateEdit) : add(new DBEdit);
        edit->setDataSource(people.get(), field);
        showWindow();
        const QString before = f(people.get(), field.toLatin1().constData()).asString();

        focus(name);
        name->end(false);
        QTest::keyClicks(name, QStringLiteral("ie"));
        focus(edit);
        edit->selectAll();
        QTest::keyClicks(edit, typed);
        QSignalSpy exited(edit->dataLink(), &DataLink::exited);
        leaveTo();
        QTRY_COMPARE(shown.size(), 1);
        QCOMPARE(shown[0].text, message);
        QCOMPARE(shown[0].icon, Messages::Icon::Error);
        QCOMPARE(exited.count(), 0);
        // The record stays editable with everything typed so far; the control keeps the text.
        QCOMPARE(people->state(), Table::State::Edit);
        QCOMPARE(f(people.get(), "P_name").asString(), QStringLiteral("Annie"));
        QCOMPARE(f(people.get(), field.toLatin1().constData()).asString(), before);
        QCOMPARE(edit->text(), typed);
        QVERIFY(edit->hasInvalidText());
        QTRY_VERIFY(edit->hasFocus());

        // Corrected, it is stored.
        edit->selectAll();
        QTest::keyClicks(edit, corrected);
        leaveTo();
        QCOMPARE(exited.count(), 1);
        QVERIFY(!edit->hasInvalidText());
        people->post();
        QCOMPARE(sql(QStringLiteral("SELECT P_name FROM people WHERE P_id = 1")),
                 QStringLiteral("Annie"));
        QCOMPARE(sql(QStringLiteral("SELECT %1 FROM people WHERE P_id = 1").arg(field)), stored);
    }

    // Only another record replaces a refused text: the same record read again (what another
    // installation stored shows in its other fields) leaves it as typed.
    void refusedTextOutlivesAReadOfItsRecordNotAMove() {
        DBEdit* edit = add(new DBEdit);
        edit->setDataSource(people.get(), QStringLiteral("P_count"));
        auto* name = add(new DBEdit);
        name->setDataSource(people.get(), QStringLiteral("P_name"));
        showWindow();
        focus(edit);
        edit->selectAll();
        QTest::keyClicks(edit, QStringLiteral("12x"));
        store->exec(
            QStringLiteral("UPDATE people SET P_name = 'Anna', P_count = 5 WHERE P_id = 1"));
        people->refresh();
        QCOMPARE(name->text(), QStringLiteral("Anna"));
        QCOMPARE(edit->text(), QStringLiteral("12x"));
        QVERIFY(edit->hasInvalidText());
        // Put right, it is what was typed that is stored, over the value read meanwhile.
        edit->selectAll();
        QTest::keyClicks(edit, QStringLiteral("12"));
        people->post();
        QCOMPARE(sql(QStringLiteral("SELECT P_count FROM people WHERE P_id = 1")), u"12"_qs);
        edit->selectAll();
        QTest::keyClicks(edit, QStringLiteral("7y"));
        people->cancel();
        people->next();
        QCOMPARE(edit->text(), QStringLiteral("7"));
        QVERIFY(!edit->hasInvalidText());
    }

    void hiddenControlCatchesUpWhenShown() {
        auto* page = add(new QWidget);
        auto* edit = new DBEdit(page);
        edit->setDataSource(tasks.get(), QStringLiteral("T_title"));
        showWindow();
        page->hide();
        people->next();
        QCOMPARE(edit->text(), QStringLiteral("Plan")); // hidden: nothing read yet
        page->show();
        QCOMPARE(edit->text(), QStringLiteral("Test"));
    }

    // ------------------------------------------------------------ memo, check box

    void memoWritesAndFollowsWithoutEditing() {
        auto* memo = add(new DBMemo);
        memo->setDataSource(people.get(), QStringLiteral("P_note"));
        showWindow();
        QCOMPARE(memo->toPlainText(), QStringLiteral("first note"));
        people->next();
        QCOMPARE(memo->toPlainText(), QStringLiteral("second note"));
        people->next();
        QCOMPARE(memo->toPlainText(), QString());
        QCOMPARE(people->state(), Table::State::Browse); // showing a record changes nothing
        focus(memo);
        QTest::keyClicks(memo, QStringLiteral("line"));
        QTest::keyClick(memo, Qt::Key_Return);
        QTest::keyClicks(memo, QStringLiteral("two"));
        QCOMPARE(people->state(), Table::State::Edit);
        people->post();
        QCOMPARE(sql(QStringLiteral("SELECT P_note FROM people WHERE P_id = 3")),
                 QStringLiteral("line\ntwo"));
    }

    void checkBoxReadsAndWrites_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("storedAfterClick");
        QTest::newRow("Boolean field") << "P_active"
                                       << "0";
        QTest::newRow("text field with checked and unchecked values") << "P_flag"
                                                                      << "N";
    }
    void checkBoxReadsAndWrites() {
        QFETCH(QString, field);
        QFETCH(QString, storedAfterClick);
        auto* box = add(new DBCheckBox(QStringLiteral("Active")));
        box->setValueChecked(QStringLiteral("Y;Yes"));
        box->setValueUnchecked(QStringLiteral("N;No"));
        box->setDataSource(people.get(), field);
        showWindow();
        QVERIFY(box->isChecked()); // Ann
        people->next();
        QVERIFY(!box->isChecked()); // Bob
        people->next();
        QVERIFY(!box->isChecked()); // Cid: empty
        people->first();
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
        QCOMPARE(people->state(), Table::State::Edit);
        people->post();
        QCOMPARE(sql(QStringLiteral("SELECT %1 FROM people WHERE P_id = 1").arg(field)),
                 storedAfterClick);
    }

    // ------------------------------------------------------------ drop-down lists

    void dropDownOffersAnotherRecordSetsValues_data() {
        QTest::addColumn<QString>("step");
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("placeholder");
        const QStringList three{QStringLiteral("Carl"), QStringLiteral("Dora"),
                                QStringLiteral("Eve")};
        QTest::newRow("value in the list") << "none" << three << 0 << "";
        QTest::newRow("value outside the list still shows") << "Bob" << three << -1 << "Zoe";
        QTest::newRow("empty value") << "Cid" << three << -1 << "";
        QTest::newRow("a name added elsewhere shows at once")
            << "add" << (three + QStringList{QStringLiteral("Finn")}) << 0 << "";
        QTest::newRow("a name renamed elsewhere shows at once")
            << "rename"
            << QStringList{QStringLiteral("Carla"), QStringLiteral("Dora"), QStringLiteral("Eve")}
            << -1 << "Carl";
    }
    void dropDownOffersAnotherRecordSetsValues() {
        QFETCH(QString, step);
        QFETCH(QStringList, items);
        QFETCH(int, index);
        QFETCH(QString, placeholder);
        auto* box = add(new DBComboBox);
        box->setListSource(staff.get(), QStringLiteral("S_name"));
        box->setDataSource(people.get(), QStringLiteral("P_boss"));
        showWindow();
        staff->last();
        if (step == QLatin1String("Bob")) {
            people->next();
        } else if (step == QLatin1String("Cid")) {
            people->last();
        } else if (step == QLatin1String("add")) {
            staff->append();
            f(staff.get(), "S_name").setAsString(QStringLiteral("Finn"));
            staff->post();
        } else if (step == QLatin1String("rename")) {
            staff->first();
            staff->edit();
            f(staff.get(), "S_name").setAsString(QStringLiteral("Carla"));
            staff->post();
        }
        QCOMPARE(box->items(), items);
        QCOMPARE(box->currentIndex(), index);
        QCOMPARE(box->placeholderText(), placeholder);
        if (step == QLatin1String("none"))
            QCOMPARE(staff->recNo(), 2); // the list is read without moving it
    }

    void dropDownStoresTheChoice() {
        auto* box = add(new DBComboBox);
        box->setListSource(staff.get(), QStringLiteral("S_name"));
        box->setDataSource(people.get(), QStringLiteral("P_boss"));
        showWindow();
        focus(box);
        QTest::keyClick(box, Qt::Key_Down);
        QCOMPARE(box->currentText(), QStringLiteral("Dora"));
        QCOMPARE(people->state(), Table::State::Edit);
        people->post();
        QCOMPARE(sql(QStringLiteral("SELECT P_boss FROM people WHERE P_id = 1")),
                 QStringLiteral("Dora"));
    }

    // ------------------------------------------------------------ lookup lists

    void lookupListPositionsItsRecordSet_data() {
        QTest::addColumn<QString>("step");
        QTest::addColumn<QString>("person"); // current record of people afterwards
        QTest::addColumn<QString>("task");   // current record of tasks afterwards
        QTest::addColumn<QString>("shownPerson");
        QTest::addColumn<QString>("shownTask");
        QTest::newRow("opening on a line") << "open"
                                           << "Ann"
                                           << "Build"
                                           << "Ann"
                                           << "Build";
        QTest::newRow("choosing a person") << "choose"
                                           << "Bob"
                                           << "Test"
                                           << "Bob"
                                           << "";
        QTest::newRow("the line changes") << "next"
                                          << "Bob"
                                          << "Test"
                                          << "Bob"
                                          << "Test";
        QTest::newRow("names that are not there") << "last"
                                                  << "Ann"
                                                  << "Build"
                                                  << ""
                                                  << "";
        QTest::newRow("a hidden list moves nothing") << "hidden"
                                                     << "Ann"
                                                     << "Plan"
                                                     << "Ann"
                                                     << "Build";
    }
    void lookupListPositionsItsRecordSet() {
        QFETCH(QString, step);
        QFETCH(QString, person);
        QFETCH(QString, task);
        QFETCH(QString, shownPerson);
        QFETCH(QString, shownTask);
        entries->close();
        auto* personList = add(new DBLookupComboBox);
        personList->setListSource(people.get(), QStringLiteral("P_name"));
        personList->setDataSource(entries.get(), QStringLiteral("E_person"));
        auto* taskList = add(new DBLookupComboBox);
        taskList->setListSource(tasks.get(), QStringLiteral("T_title"));
        taskList->setDataSource(entries.get(), QStringLiteral("E_task"));
        showWindow();
        entries->open();
        if (step == QLatin1String("choose")) {
            focus(personList);
            QTest::keyClick(personList, Qt::Key_Down); // Ann -> Bob
            QCOMPARE(taskList->items(), QStringList{QStringLiteral("Test")});
            QCOMPARE(f(entries.get(), "E_person").asString(), QStringLiteral("Bob"));
        } else if (step == QLatin1String("next")) {
            entries->next();
        } else if (step == QLatin1String("last")) {
            entries->last();
        } else if (step == QLatin1String("hidden")) {
            window->hide();
            tasks->first();
            entries->next();
            QCOMPARE(f(people.get(), "P_name").asString(), person);
            QCOMPARE(f(tasks.get(), "T_title").asString(), task);
            return;
        }
        QCOMPARE(f(people.get(), "P_name").asString(), person);
        QCOMPARE(f(tasks.get(), "T_title").asString(), task);
        QCOMPARE(personList->currentText(), shownPerson);
        QCOMPARE(taskList->currentText(), shownTask);
    }

    // ------------------------------------------------------------ grid

    DBGrid* taskGrid() {
        auto* grid = add(new DBGrid);
        grid->addColumn(QStringLiteral("T_title"), QStringLiteral("Title"), 120);
        grid->addColumn(QStringLiteral("T_owner"), QStringLiteral("Owner"), 100);
        grid->setDataSource(tasks.get());
        return grid;
    }
    QString cell(DBGrid* grid, int row, int column) {
        return grid->model()->index(row, column).data().toString();
    }

    void gridShowsTheRangeAndFollowsTheCursor() {
        DBGrid* grid = taskGrid();
        showWindow();
        QCOMPARE(grid->model()->rowCount(), 2);
        QCOMPARE(cell(grid, 1, 0), QStringLiteral("Build"));
        QCOMPARE(grid->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Owner"));
        tasks->last();
        QCOMPARE(grid->currentIndex().row(), 1);
        people->next();
        QCOMPARE(grid->model()->rowCount(), 1);
        QCOMPARE(cell(grid, 0, 1), QStringLiteral("Eve"));
        QCOMPARE(grid->horizontalHeader()->sectionResizeMode(0), QHeaderView::Interactive);
    }

    void gridEditsInPlace_data() {
        QTest::addColumn<QString>("then");
        QTest::addColumn<QString>("stored");
        QTest::newRow("moving to another row stores the row") << "down"
                                                              << "Planned";
        QTest::newRow("leaving the grid stores the row") << "leave"
                                                         << "Planned";
        QTest::newRow("Escape drops the change") << "escape"
                                                 << "Plan";
    }
    void gridEditsInPlace() {
        QFETCH(QString, then);
        QFETCH(QString, stored);
        DBGrid* grid = taskGrid();
        showWindow();
        focus(grid);
        grid->setCurrentIndex(grid->model()->index(0, 0));
        QTest::keyClick(grid, Qt::Key_F2);
        QWidget* editor = QApplication::focusWidget();
        QVERIFY(qobject_cast<QLineEdit*>(editor));
        QTest::keyClick(editor, Qt::Key_End);
        QTest::keyClicks(editor, QStringLiteral("ned"));
        pressReturn(editor);
        QCOMPARE(tasks->state(), Table::State::Edit);
        QCOMPARE(cell(grid, 0, 0), QStringLiteral("Planned"));
        if (then == QLatin1String("down"))
            QTest::keyClick(grid, Qt::Key_Down);
        else if (then == QLatin1String("leave"))
            leaveTo();
        else
            QTest::keyClick(grid, Qt::Key_Escape);
        QCOMPARE(tasks->state(), Table::State::Browse);
        QCOMPARE(sql(QStringLiteral("SELECT T_title FROM tasks WHERE T_id = 1")), stored);
    }

    void gridNewRows_data() {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<bool>("typeIntoNewRow");
        QTest::addColumn<int>("gridRows");
        QTest::addColumn<int>("storedRows");
        QTest::newRow("down past the last row adds one") << "down" << false << 3 << 3;
        QTest::newRow("tab past the last cell adds one") << "tab" << false << 3 << 3;
        QTest::newRow("down again on an untouched new row adds no second")
            << "down,down" << false << 3 << 3;
        QTest::newRow("an untouched new row is dropped on leaving")
            << "down,leave" << false << 2 << 3;
        QTest::newRow("a typed new row is stored on leaving") << "down,leave" << true << 3 << 4;
        QTest::newRow("a typed new row is stored on moving up") << "down,up" << true << 3 << 4;
        QTest::newRow("an untouched new row is dropped on moving up")
            << "down,up" << false << 2 << 3;
    }
    void gridNewRows() {
        QFETCH(QString, keys);
        QFETCH(bool, typeIntoNewRow);
        QFETCH(int, gridRows);
        QFETCH(int, storedRows);
        DBGrid* grid = taskGrid();
        showWindow();
        focus(grid);
        grid->setCurrentIndex(grid->model()->index(1, 1));
        const QStringList steps = keys.split(QLatin1Char(','));
        for (int i = 0; i < steps.size(); ++i) {
            const QString& k = steps[i];
            if (k == QLatin1String("down"))
                QTest::keyClick(grid, Qt::Key_Down);
            else if (k == QLatin1String("up"))
                QTest::keyClick(grid, Qt::Key_Up);
            else if (k == QLatin1String("tab"))
                QTest::keyClick(grid, Qt::Key_Tab);
            else
                leaveTo();
            if (i == 0 && typeIntoNewRow) {
                QCOMPARE(tasks->state(), Table::State::Insert);
                QTest::keyClick(grid, 'S'); // opens the cell editor
                QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("hip"));
                pressReturn(QApplication::focusWidget());
            }
        }
        QCOMPARE(grid->model()->rowCount(), gridRows);
        QCOMPARE(sql(QStringLiteral("SELECT COUNT(*) FROM tasks")).toInt(), storedRows);
        if (typeIntoNewRow)
            QCOMPARE(sql(QStringLiteral("SELECT T_person FROM tasks WHERE T_id = 4")),
                     QStringLiteral("1"));
    }

    // Rows after the new record show, and lead to, the records one place up in the range.
    void gridRowsAfterTheInsertRowShowTheirRecords_data() {
        QTest::addColumn<QString>("insertAt");
        QTest::addColumn<QString>("rows");
        QTest::addColumn<int>("clicked");
        QTest::newRow("inserted before the first") << "Ann"
                                                   << "|Ann|Bob|Cid" << 3;
        QTest::newRow("inserted in the middle") << "Bob"
                                                << "Ann||Bob|Cid" << 2;
        QTest::newRow("inserted before the last") << "Cid"
                                                  << "Ann|Bob||Cid" << 3;
    }
    void gridRowsAfterTheInsertRowShowTheirRecords() {
        QFETCH(QString, insertAt);
        QFETCH(QString, rows);
        QFETCH(int, clicked);
        auto* grid = add(new DBGrid);
        grid->addColumn(QStringLiteral("P_name"), QStringLiteral("Name"), 120);
        grid->setDataSource(people.get());
        showWindow();
        QVERIFY(people->locate(QStringLiteral("P_name"), insertAt));
        people->insert();
        QStringList shown;
        for (int row = 0; row < grid->model()->rowCount(); ++row)
            shown << cell(grid, row, 0);
        QCOMPARE(shown.join(QLatin1Char('|')), rows);
        const QString expected = rows.split(QLatin1Char('|'))[clicked];
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->visualRect(grid->model()->index(clicked, 0)).center());
        // The untouched new record is dropped; the cursor is on the record clicked.
        QCOMPARE(people->state(), Table::State::Browse);
        QCOMPARE(f(people.get(), "P_name").asString(), expected);
    }

    void gridEmptyShowsABlankRowToTypeInto() {
        DBGrid* grid = taskGrid();
        people->last(); // Cid: no tasks
        showWindow();
        QCOMPARE(grid->model()->rowCount(), 1);
        focus(grid);
        grid->setCurrentIndex(grid->model()->index(0, 0));
        QTest::keyClick(grid, 'F'); // opens the cell editor
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("irst"));
        pressReturn(QApplication::focusWidget());
        QCOMPARE(tasks->state(), Table::State::Insert);
        leaveTo();
        QCOMPARE(sql(QStringLiteral("SELECT T_title FROM tasks WHERE T_person = 3")),
                 QStringLiteral("First"));
        QCOMPARE(grid->model()->rowCount(), 1);
        QCOMPARE(cell(grid, 0, 0), QStringLiteral("First"));
    }

    void gridCtrlDelDeletes_data() {
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("questions");
        QTest::addColumn<int>("storedRows");
        QTest::newRow("team grid: without asking") << false << int(QMessageBox::No) << 0 << 2;
        QTest::newRow("asking, answered No") << true << int(QMessageBox::No) << 1 << 3;
        QTest::newRow("asking, answered Yes") << true << int(QMessageBox::Yes) << 1 << 2;
    }
    void gridCtrlDelDeletes() {
        QFETCH(bool, confirm);
        QFETCH(int, answer);
        QFETCH(int, questions);
        QFETCH(int, storedRows);
        DBGrid* grid = taskGrid();
        grid->setConfirmDelete(confirm);
        showWindow();
        focus(grid);
        answers << QMessageBox::StandardButton(answer);
        QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(shown.size(), questions);
        if (questions)
            QCOMPARE(shown[0].text, QStringLiteral("Delete record?"));
        QCOMPARE(sql(QStringLiteral("SELECT COUNT(*) FROM tasks")).toInt(), storedRows);
        QCOMPARE(grid->model()->rowCount(), storedRows - 1);
    }

    void gridPickListOffersItsTexts() {
        DBGrid* grid = taskGrid();
        grid->setPickList(1,
                          {QStringLiteral("Carl"), QStringLiteral("Dora"), QStringLiteral("Eve")});
        showWindow();
        focus(grid);
        grid->setCurrentIndex(grid->model()->index(0, 1));
        QTest::keyClick(grid, Qt::Key_F2);
        auto* box = qobject_cast<QComboBox*>(QApplication::focusWidget()->parentWidget())
                        ? qobject_cast<QComboBox*>(QApplication::focusWidget()->parentWidget())
                        : qobject_cast<QComboBox*>(QApplication::focusWidget());
        QVERIFY(box);
        QCOMPARE(box->count(), 3);
        QCOMPARE(box->currentText(), QStringLiteral("Carl"));
        box->setCurrentIndex(2);
        pressReturn(QApplication::focusWidget());
        QTest::keyClick(grid, Qt::Key_Down);
        QCOMPARE(sql(QStringLiteral("SELECT T_owner FROM tasks WHERE T_id = 1")),
                 QStringLiteral("Eve"));
    }

    // Up and Down in a cell editor move between rows, storing the cell; a pick list's closed
    // drop-down never turns them into another choice.
    void gridArrowsInACellEditorMoveBetweenRows_data() {
        QTest::addColumn<int>("column");
        QTest::newRow("pick list") << 1;
        QTest::newRow("plain text") << 0;
    }
    void gridArrowsInACellEditorMoveBetweenRows() {
        QFETCH(int, column);
        DBGrid* grid = taskGrid();
        grid->setPickList(1,
                          {QStringLiteral("Carl"), QStringLiteral("Dora"), QStringLiteral("Eve")});
        showWindow();
        focus(grid);
        grid->setCurrentIndex(grid->model()->index(0, column));
        QTest::keyClick(grid, Qt::Key_F2);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_End);
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("!"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QCoreApplication::processEvents();
        QCOMPARE(grid->currentIndex().row(), 1);
        QCOMPARE(tasks->recNo(), 1);
        QCOMPARE(sql(QStringLiteral("SELECT T_title || '/' || T_owner FROM tasks WHERE T_id = 1")),
                 column == 1 ? u"Plan/Carl!"_qs : u"Plan!/Carl"_qs);
        QCOMPARE(sql(QStringLiteral("SELECT T_owner FROM tasks WHERE T_id = 2")), u"Dora"_qs);
        QTest::keyClick(grid, Qt::Key_F2);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
        QCoreApplication::processEvents();
        QCOMPARE(grid->currentIndex().row(), 0);
        QCOMPARE(sql(QStringLiteral("SELECT T_owner FROM tasks WHERE T_id = 2")), u"Dora"_qs);
    }

    void gridTitleRowIsWhiteOnTeal() {
        DBGrid* grid = taskGrid();
        showWindow();
        QHeaderView* header = grid->horizontalHeader();
        const QImage image = header->grab().toImage();
        const QColor background = image.pixelColor(header->sectionViewportPosition(0) + 3, 3);
        QCOMPARE(background, QColor(0x00, 0x80, 0x80));
        // Some of the title's pixels are white text.
        bool white = false;
        for (int x = 0; x < header->sectionSize(0) && !white; ++x)
            for (int y = 0; y < image.height() && !white; ++y)
                white = image.pixelColor(x, y) == QColor(Qt::white);
        QVERIFY(white);
    }

    // ------------------------------------------------------------ control grid

    DBCtrlGrid* noteList() {
        auto* grid = add(new DBCtrlGrid);
        CtrlGridDesign d;
        d.memoField = QStringLiteral("T_note");
        grid->setDesign(d);
        grid->setPanelGrid(1, 3);
        grid->setEditable(true);
        grid->setDataSource(tasks.get());
        return grid;
    }

    void ctrlGridShowsOnePanelPerRecord_data() {
        QTest::addColumn<int>("columns");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("records");
        QTest::addColumn<int>("visible");
        QTest::newRow("notes: three down, two records") << 1 << 3 << 2 << 2;
        QTest::newRow("time sheets: four down, six records") << 1 << 4 << 6 << 4;
        QTest::newRow("cards: two across, four down, nine records") << 2 << 4 << 9 << 8;
        QTest::newRow("no records") << 2 << 4 << 0 << 0;
    }
    void ctrlGridShowsOnePanelPerRecord() {
        QFETCH(int, columns);
        QFETCH(int, rows);
        QFETCH(int, records);
        QFETCH(int, visible);
        store->exec(QStringLiteral("DELETE FROM tasks"));
        for (int i = 0; i < records; ++i)
            store->exec(
                QStringLiteral("INSERT INTO tasks (T_person, T_title, T_note) VALUES (1, ?, ?)"),
                {QStringLiteral("Task %1").arg(i), QStringLiteral("note %1").arg(i)});
        tasks->refresh();
        auto* grid = add(new DBCtrlGrid);
        CtrlGridDesign d;
        d.lines = {{QStringLiteral("T_title"), QStringLiteral("Title"), true, {}},
                   {QStringLiteral("T_owner"), QString(), false, {}}};
        d.memoField = QStringLiteral("T_note");
        d.memoPlace = CtrlGridDesign::MemoPlace::Right;
        grid->setDesign(d);
        grid->setPanelGrid(columns, rows);
        grid->setDataSource(tasks.get());
        showWindow();
        int seen = 0;
        for (int i = 0; i < grid->panelCount(); ++i)
            seen += grid->panel(i)->isVisible() ? 1 : 0;
        QCOMPARE(grid->panelCount(), columns * rows);
        QCOMPARE(seen, visible);
        if (records > 0) {
            QCOMPARE(grid->panel(0)->value(0)->text(), QStringLiteral("Task 0"));
            QVERIFY(grid->panel(0)->value(0)->font().bold());
            QVERIFY(grid->panel(0)->memo()->isReadOnly());
            // The last record brought into view.
            tasks->last();
            QVERIFY(grid->currentPanel());
            QCOMPARE(grid->currentPanel()->memo()->toPlainText(),
                     QStringLiteral("note %1").arg(records - 1));
        }
    }

    void ctrlGridEditsNotes_data() {
        QTest::addColumn<QString>("person");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<int>("storedNotes"); // notes of the person afterwards
        QTest::addColumn<QString>("lastNote");
        QTest::newRow("typing into a note stores it on leaving") << "Ann"
                                                                 << "type,leave" << 2 << "<null>";
        QTest::newRow("tab past the last note starts one, typed and kept")
            << "Ann"
            << "tab,tab,type,leave" << 3 << "typed";
        QTest::newRow("a new note left untouched is dropped") << "Ann"
                                                              << "tab,tab,leave" << 2 << "<null>";
        QTest::newRow("the first note of an empty list") << "Cid"
                                                         << "type,leave" << 1 << "typed";
        QTest::newRow("ctrl+del deletes the current note") << "Ann"
                                                           << "del" << 1 << "<null>";
    }
    void ctrlGridEditsNotes() {
        QFETCH(QString, person);
        QFETCH(QString, keys);
        QFETCH(int, storedNotes);
        QFETCH(QString, lastNote);
        people->locate(QStringLiteral("P_name"), person);
        DBCtrlGrid* grid = noteList();
        showWindow();
        QVERIFY(grid->panel(0)->isVisible());
        QPlainTextEdit* first = grid->panel(0)->memo();
        focus(first);
        for (const QString& k : keys.split(QLatin1Char(','))) {
            QWidget* w = QApplication::focusWidget();
            if (k == QLatin1String("type"))
                QTest::keyClicks(w, QStringLiteral("typed"));
            else if (k == QLatin1String("tab"))
                QTest::keyClick(w, Qt::Key_Tab);
            else if (k == QLatin1String("del"))
                QTest::keyClick(w, Qt::Key_Delete, Qt::ControlModifier);
            else
                leaveTo();
        }
        const QString id = f(people.get(), "P_id").asString();
        QCOMPARE(
            sql(QStringLiteral("SELECT COUNT(*) FROM tasks WHERE T_person = %1").arg(id)).toInt(),
            storedNotes);
        QCOMPARE(
            sql(QStringLiteral("SELECT COALESCE(T_note, '<null>') FROM tasks WHERE T_person = %1 "
                               "ORDER BY T_id DESC LIMIT 1")
                    .arg(id)),
            lastNote);
        if (keys == QLatin1String("type,leave") && person == QLatin1String("Ann"))
            QCOMPARE(sql(QStringLiteral("SELECT T_note FROM tasks WHERE T_id = 1")),
                     QStringLiteral("typedplan note"));
    }

    void ctrlGridReadOnlyListChangesNothing() {
        auto* grid = add(new DBCtrlGrid);
        CtrlGridDesign d;
        d.memoField = QStringLiteral("T_note");
        grid->setDesign(d);
        grid->setPanelGrid(1, 4);
        grid->setDataSource(tasks.get());
        showWindow();
        focus(grid);
        QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
        QTest::mouseClick(grid->panel(1), Qt::LeftButton);
        QCOMPARE(tasks->recNo(), 1); // a click makes the record current
        QTest::keyClicks(grid->panel(1)->memo(), QStringLiteral("x"));
        QCOMPARE(tasks->state(), Table::State::Browse);
        QCOMPARE(sql(QStringLiteral("SELECT COUNT(*) FROM tasks")).toInt(), 3);
    }

    // ------------------------------------------------------------ navigator

    void navigatorActsThenTells_data() {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("recNo");
        QTest::addColumn<bool>("bof");
        QTest::addColumn<int>("state");
        QTest::addColumn<int>("storedRows");
        using B = DBNavigator::Button;
        using S = Table::State;
        const int no = QMessageBox::No;
        const int yes = QMessageBox::Yes;
        QTest::newRow("First") << 2 << int(B::First) << no << 0 << true << int(S::Browse) << 3;
        QTest::newRow("Prior onto the first")
            << 1 << int(B::Prior) << no << 0 << false << int(S::Browse) << 3;
        QTest::newRow("Prior") << 2 << int(B::Prior) << no << 1 << false << int(S::Browse) << 3;
        QTest::newRow("Next") << 0 << int(B::Next) << no << 1 << false << int(S::Browse) << 3;
        QTest::newRow("Last") << 0 << int(B::Last) << no << 2 << false << int(S::Browse) << 3;
        QTest::newRow("Insert") << 1 << int(B::Insert) << no << 1 << false << int(S::Insert) << 3;
        QTest::newRow("Edit") << 1 << int(B::Edit) << no << 1 << false << int(S::Edit) << 3;
        QTest::newRow("Delete answered No")
            << 1 << int(B::Delete) << no << 1 << false << int(S::Browse) << 3;
        QTest::newRow("Delete answered Yes")
            << 1 << int(B::Delete) << yes << 1 << false << int(S::Browse) << 2;
    }
    void navigatorActsThenTells() {
        QFETCH(int, start);
        QFETCH(int, button);
        QFETCH(int, answer);
        QFETCH(int, recNo);
        QFETCH(bool, bof);
        QFETCH(int, state);
        QFETCH(int, storedRows);
        auto* nav = add(new DBNavigator);
        nav->setDataSource(people.get());
        showWindow();
        people->moveTo(start);
        answers << QMessageBox::StandardButton(answer);
        QList<std::pair<DBNavigator::Button, Table::State>> told;
        connect(nav, &DBNavigator::clicked, this,
                [&](DBNavigator::Button b) { told << std::make_pair(b, people->state()); });
        QTest::mouseClick(nav->button(DBNavigator::Button(button)), Qt::LeftButton);
        QCOMPARE(told.size(), 1);
        QCOMPARE(told[0].first, DBNavigator::Button(button));
        QCOMPARE(int(told[0].second), state); // told after the button acted
        QCOMPARE(people->recNo(), recNo);
        QCOMPARE(people->bof(), bof);
        QCOMPARE(sql(QStringLiteral("SELECT COUNT(*) FROM people")).toInt(), storedRows);
        if (DBNavigator::Button(button) == DBNavigator::Button::Delete)
            QCOMPARE(shown.value(0).text, QStringLiteral("Delete record?"));
    }

    void navigatorPostAndCancel_data() {
        QTest::addColumn<int>("button");
        QTest::addColumn<QString>("stored");
        QTest::newRow("Post stores") << int(DBNavigator::Button::Post) << "Anna";
        QTest::newRow("Cancel drops") << int(DBNavigator::Button::Cancel) << "Ann";
    }
    // Each button is named in words, for a screen reader, in the interface language.
    void navigatorButtonsAreNamedInWords() {
        auto* navigator = add(new DBNavigator);
        showWindow();
        const auto name = [&](DBNavigator::Button b) {
            return QAccessible::queryAccessibleInterface(navigator->button(b))
                ->text(QAccessible::Name);
        };
        QCOMPARE(name(DBNavigator::Button::First), QStringLiteral("First record"));
        QCOMPARE(name(DBNavigator::Button::Insert), QStringLiteral("Insert record"));
        QCOMPARE(name(DBNavigator::Button::Cancel), QStringLiteral("Cancel edit"));
        // Another language's words, as soon as its texts are installed.
        struct Words : QTranslator {
            bool isEmpty() const override { return false; }
            QString translate(const char* context, const char* text, const char*,
                              int) const override {
                return QLatin1String(context) == u"Navigator"_qs
                           ? QStringLiteral("<%1>").arg(QLatin1String(text))
                           : QString();
            }
        } words;
        QCoreApplication::installTranslator(&words);
        QTRY_COMPARE(name(DBNavigator::Button::Post), QStringLiteral("<Post edit>"));
        QCOMPARE(navigator->button(DBNavigator::Button::Post)->toolTip(),
                 QStringLiteral("<Post edit>"));
        QCoreApplication::removeTranslator(&words);
        QTRY_COMPARE(name(DBNavigator::Button::Post), QStringLiteral("Post edit"));
    }

    void navigatorPostAndCancel() {
        QFETCH(int, button);
        QFETCH(QString, stored);
        auto* nav = add(new DBNavigator);
        nav->setDataSource(people.get());
        showWindow();
        QVERIFY(!nav->button(DBNavigator::Button::Post)->isEnabled());
        QVERIFY(!nav->button(DBNavigator::Button::First)->isEnabled()); // on the first record
        QTest::mouseClick(nav->button(DBNavigator::Button::Edit), Qt::LeftButton);
        QVERIFY(nav->button(DBNavigator::Button::Post)->isEnabled());
        QVERIFY(!nav->button(DBNavigator::Button::Edit)->isEnabled());
        f(people.get(), "P_name").setAsString(QStringLiteral("Anna"));
        QTest::mouseClick(nav->button(DBNavigator::Button(button)), Qt::LeftButton);
        QCOMPARE(people->state(), Table::State::Browse);
        QCOMPARE(sql(QStringLiteral("SELECT P_name FROM people WHERE P_id = 1")), stored);
    }

    void navigatorErrorIsShownAndNotTold() {
        auto* nav = add(new DBNavigator);
        nav->setDataSource(tasks.get());
        showWindow();
        people->last(); // Cid: no tasks
        QSignalSpy told(nav, &DBNavigator::clicked);
        answers << QMessageBox::Yes;
        nav->click(DBNavigator::Button::Delete);
        QCOMPARE(told.count(), 0);
        QCOMPARE(shown.last().text,
                 QStringLiteral("Cannot perform this operation on an empty dataset."));
    }
};

QTEST_MAIN(TestWidgets)
#include "tst_widgets.moc"
