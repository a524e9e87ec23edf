// Journeys through "Week Entry": a member's week typed cell by cell, stored, read again, changed,
// merged; the questions on the way. Only clicks and keys; what was stored is read back from the
// member's file and the data folder with plain SQL.
#include "framework/dataset/sheetclaim.h"
#include "framework/dataset/store.h"
#include "journeyfixture.h"
#include "timesheets/weekgrid.h"
#include "timesheets/weekmodel.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QListWidget>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

namespace {
const QString member = QStringLiteral("Ben Okafor");
} // namespace

class TestWeekJourneys : public JourneyFixture {
    Q_OBJECT

    // What to do in the week window once it shows; it is closed as by Escape afterwards.
    std::function<void(QDialog*)> inWeek;
    QStringList shownWeek; // what the week window showed, row by row, when inWeek ended

    QWidget* in(QDialog* dialog, const char* name) {
        return dialog->findChild<QWidget*>(QLatin1String(name));
    }
    WeekGrid* grid(QDialog* week) { return week->findChild<WeekGrid*>(u"WeekGrid"_qs); }

    // Opens "Time Sheets" > "Week Entry" for the member, then runs inWeek.
    void openWeek() {
        onModal = [this](QDialog* d) {
            if (d->objectName() == u"Form11"_qs) {
                auto* names = d->findChild<QComboBox*>(u"MemberName"_qs);
                click(names);
                QAbstractItemView* list = names->view();
                QTRY_VERIFY(list->isVisible());
                // The list takes no click within a double click's time of opening.
                QTest::qWait(QApplication::doubleClickInterval() + 50);
                click(list->viewport(),
                      list->visualRect(list->model()->index(names->findText(member), 0)).center());
                click(in(d, "Button1"));
            } else if (d->objectName() == u"WeekEntryForm"_qs) {
                if (inWeek)
                    inWeek(d);
                shownWeek = rows(grid(d));
            } else if (d->objectName() == u"Form12"_qs) {
                auto* members = d->findChild<QListWidget*>(u"ListBox1"_qs);
                const QList<QListWidgetItem*> found = members->findItems(member, Qt::MatchExactly);
                QCOMPARE(found.size(), 1);
                click(members->viewport(), members->visualItemRect(found[0]).center());
                click(in(d, "Button1"));
            }
        };
        mainMenu(u"Timesheetentry1"_qs, u"WeekEntry1"_qs);
    }

    // A cell's centre, clicked.
    void clickCell(WeekGrid* g, int row, int column) {
        g->scrollTo(g->model()->index(row, column));
        click(g->viewport(), g->visualRect(g->model()->index(row, column)).center());
    }
    // Types into the cell in front: the first key opens its editor, the rest go there.
    void typeInCell(const QString& text) {
        type(text.left(1));
        type(text.mid(1));
    }
    // Types cell after cell, a Tab after each.
    void typeRow(const QStringList& cells) {
        for (const QString& cell : cells) {
            if (!cell.isEmpty())
                type(cell);
            tab();
        }
    }

    // The grid's rows as shown: cells joined by "|".
    static QStringList rows(WeekGrid* g) {
        QStringList out;
        QAbstractItemModel* m = g->model();
        for (int r = 0; r < m->rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < m->columnCount(); ++c)
                cells << m->index(r, c).data().toString();
            out << cells.join(QLatin1Char('|'));
        }
        return out;
    }

    // The member's file, "project|major|action|from|to|hours" in the order of entry.
    QStringList fileLines() {
        const QString path = QDir(folder).filePath(member + u".db"_qs);
        QStringList out;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_qs, u"memberfile"_qs);
            db.setDatabaseName(path);
            if (!db.open())
                return {u"cannot open "_qs + path};
            QSqlQuery q(db);
            q.exec(u"SELECT MemberTS_project, MemberTS_Major, MemberTS_Action, MemberTS_Date_from,"
                   " MemberTS_Date_to, MemberTS_Hours FROM memberts ORDER BY MemberTS_id"_qs);
            while (q.next()) {
                QStringList cells;
                for (int c = 0; c < 6; ++c)
                    cells << (c >= 3 && c < 5 ? q.value(c).toString().left(10)
                                              : q.value(c).toString());
                out << cells.join(QLatin1Char('|'));
            }
        }
        QSqlDatabase::removeDatabase(u"memberfile"_qs);
        return out;
    }

    // Monday the 26th to Sunday 3 March 2024, the fixed clock's week.
    const QStringList typedWeek{
        u"Website Relaunch|Design|Wireframes|2024-02-26|2024-02-26|8"_qs,
        u"Website Relaunch|Design|Wireframes|2024-02-27|2024-02-27|7.5"_qs,
        u"Website Relaunch|Design|Wireframes|2024-02-29|2024-02-29|6"_qs,
        u"Riverside Library Renovation|Demolition|Strip interior|2024-02-26|2024-02-26|1.25"_qs,
        u"Riverside Library Renovation|Demolition|Strip interior|2024-02-28|2024-02-28|4"_qs};

    // Types the two rows of typedWeek, from a click in the first cell.
    void typeTwoRows(QDialog* week) {
        clickCell(grid(week), 0, WeekModel::ProjectColumn);
        typeInCell(u"Web"_qs); // completed to "Website Relaunch"
        tab();
        typeRow({u"Des"_qs, u"Wire"_qs, u"8"_qs, u"7:30"_qs, {}, u"6"_qs, {}, {}, {}});
        typeRow({u"riv"_qs, u"Dem"_qs, u"Str"_qs, u"1:15"_qs, {}, u"4"_qs});
    }

private Q_SLOTS:
    void init() {
        setUp();
        inWeek = {};
        shownWeek.clear();
    }
    void cleanup() { tearDown(); }

    void aWeekTypedAndClosedIsOneLinePerDayAndShowsAgain() {
        inWeek = [this](QDialog* week) {
            typeTwoRows(week);
            click(in(week, "Button1")); // Close
        };
        openWeek();
        QCOMPARE(modals, (QStringList{u"Form11"_qs, u"WeekEntryForm"_qs}));
        QCOMPARE(shown.size(), 0);
        QCOMPARE(fileLines(), typedWeek);

        inWeek = {};
        openWeek();
        QCOMPARE(shownWeek.value(0), u"Website Relaunch|Design|Wireframes|8|7.5||6||||21.5"_qs);
        QCOMPARE(shownWeek.value(1),
                 u"Riverside Library Renovation|Demolition|Strip interior|1.25||4|||||5.25"_qs);
        QCOMPARE(shownWeek.value(2), u"||||||||||"_qs); // the new row
        QCOMPARE(shownWeek.value(3), u"Total|||9.25|7.5|4|6||||26.75"_qs);
    }

    void aChangedCellUpdatesItsLineAndAClearedOneDeletesIt() {
        inWeek = [this](QDialog* week) {
            typeTwoRows(week);
            click(in(week, "Button1"));
        };
        openWeek();
        inWeek = [this](QDialog* week) {
            clickCell(grid(week), 0, WeekModel::FirstDay + 1); // Tuesday 7.5
            typeInCell(u"6.5"_qs);
            tab();
            clickCell(grid(week), 1, WeekModel::FirstDay); // Monday 1.25
            key(Qt::Key_Delete);
            click(in(week, "Button1"));
        };
        openWeek();
        QStringList expected = typedWeek;
        expected[1].replace(u"|7.5"_qs, u"|6.5"_qs);
        expected.removeAt(3);
        QCOMPARE(fileLines(), expected);
    }

    void escapeAsksWhatToDoWithHoursNotStored_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("lines");
        QTest::newRow("save") << int(QMessageBox::Save) << 1;
        QTest::newRow("discard") << int(QMessageBox::Discard) << 0;
        QTest::newRow("cancel, then close") << int(QMessageBox::Cancel) << 1;
    }
    void escapeAsksWhatToDoWithHoursNotStored() {
        QFETCH(int, answer);
        QFETCH(int, lines);
        answers << QMessageBox::StandardButton(answer);
        bool stayed = false;
        inWeek = [&](QDialog* week) {
            clickCell(grid(week), 0, WeekModel::FirstDay + 2);
            typeInCell(u"3"_qs);
            tab();
            key(Qt::Key_Escape); // leaves the next cell
            key(Qt::Key_Escape); // leaves the window, or asks
            stayed = week->isVisible();
            if (stayed)
                click(in(week, "Button1"));
        };
        openWeek();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].buttons, QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
        QCOMPARE(stayed, answer == QMessageBox::Cancel);
        QCOMPARE(fileLines().size(), lines);
    }

    void aRowWithoutHoursIsNotLeftOutUnasked_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("left out") << int(QMessageBox::Yes) << QStringList{};
        QTest::newRow("kept, then given hours")
            << int(QMessageBox::No)
            << QStringList{u"Website Relaunch|Design||2024-02-26|2024-02-26|2"_qs};
    }
    void aRowWithoutHoursIsNotLeftOutUnasked() {
        QFETCH(int, answer);
        QFETCH(QStringList, lines);
        answers << QMessageBox::StandardButton(answer);
        inWeek = [&](QDialog* week) {
            clickCell(grid(week), 0, WeekModel::ProjectColumn);
            typeInCell(u"Web"_qs);
            tab();
            type(u"Des"_qs);
            tab();
            click(in(week, "Button1"));
            QCOMPARE(shown.size(), 1);
            QVERIFY2(shown[0].text.contains(u"Website Relaunch / Design"_qs),
                     qPrintable(shown[0].text));
            if (week->isVisible()) {
                clickCell(grid(week), 0, WeekModel::FirstDay);
                typeInCell(u"2"_qs);
                click(in(week, "Button1"));
            }
        };
        openWeek();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(fileLines(), lines);
    }

    void aWeekLeftForAnotherIsStoredFirst() {
        inWeek = [this](QDialog* week) {
            clickCell(grid(week), 0, WeekModel::ProjectColumn);
            typeInCell(u"Web"_qs);
            tab();
            typeRow({{}, {}, {}, {}, {}, {}, u"2"_qs});
            click(in(week, "NextWeekButton"));
            QCOMPARE(fileLines(), QStringList{u"Website Relaunch|||2024-03-01|2024-03-01|2"_qs});
            QCOMPARE(rows(grid(week)).value(0), u"||||||||||"_qs);
            click(in(week, "PriorWeekButton"));
        };
        openWeek();
        QCOMPARE(shownWeek.value(0), u"Website Relaunch|||||||2|||2"_qs);
        QCOMPARE(shown.size(), 0); // nothing was left unstored to ask about
    }

    void refusedHoursStayInTheCellAndUnknownNamesShowInTheWarningColour() {
        QColor nameColour;
        inWeek = [&](QDialog* week) {
            clickCell(grid(week), 0, WeekModel::ProjectColumn);
            typeInCell(u"Nowhere"_qs);
            tab();
            nameColour = grid(week)->model()->index(0, 0).data(Qt::ForegroundRole).value<QColor>();
            typeRow({{}, {}, u"25"_qs});
            QCOMPARE(shown.size(), 1);
            QVERIFY2(shown[0].text.contains(u"at most 24 hours"_qs), qPrintable(shown[0].text));
            retype(u"abc"_qs);
            click(in(week, "Button1")); // refused too: the window stays
            QCOMPARE(shown.size(), 2);
            QVERIFY(week->isVisible());
            retype(u"9"_qs);
            click(in(week, "Button1"));
        };
        openWeek();
        QCOMPARE(nameColour, WeekModel::warningColour());
        QCOMPARE(fileLines(), QStringList{u"Nowhere|||2024-02-26|2024-02-26|9"_qs});
    }

    void theLinesMergeIntoTheRightTotals() {
        const auto hours = [this](const QString& action) {
            return stored(
                       u"SELECT Action_hours FROM action WHERE Action_name = '%1'"_qs.arg(action))
                .toDouble();
        };
        const double wireframes = hours(u"Wireframes"_qs);
        const double strip = hours(u"Strip interior"_qs);
        inWeek = [this](QDialog* week) {
            typeTwoRows(week);
            click(in(week, "Button1"));
        };
        openWeek();
        mainMenu(u"Timesheetentry1"_qs, u"UpdateTimeSheets1"_qs);
        QCOMPARE(hours(u"Wireframes"_qs), wireframes + 21.5);
        QCOMPARE(hours(u"Strip interior"_qs), strip + 5.25);
        QCOMPARE(stored(u"SELECT COUNT(*) FROM ProjectTS WHERE ProjectTS_member = '%1' AND "
                        "ProjectTS_date_from = ProjectTS_date_to"_qs.arg(member)),
                 u"5"_qs);
        QCOMPARE(fileLines(), QStringList{});
        // Merged hours still show in the week, counted and not typed again.
        inWeek = {};
        openWeek();
        QCOMPARE(shownWeek.value(0).section(QLatin1Char('|'), -1), u"21.5"_qs);
        QCOMPARE(shownWeek.last(), u"Total|||9.25|7.5|4|6||||26.75"_qs);
    }

    void aSheetOpenInAnotherInstallationIsRefused() {
        vok::Store other;
        other.setParams({u"path="_qs + folder});
        const std::unique_ptr<vok::SheetClaim> claim =
            other.claimSheet(member + u".db"_qs, vok::SheetClaim::Kind::Alone);
        QVERIFY(claim);
        openWeek();
        QCOMPARE(modals, QStringList{u"Form11"_qs});
        QCOMPARE(shown.size(), 1);
        QVERIFY2(shown[0].text.contains(u"open in another time sheet window"_qs),
                 qPrintable(shown[0].text));
    }
};

QTEST_MAIN(TestWeekJourneys)
#include "tst_weekjourneys.moc"
