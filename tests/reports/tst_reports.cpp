// The time sheet, cost, detailed project, layout and contact list reports run through their
// dialogs (or their button) on real record-sets, checked on the laid-out pages; and vokctl's
// report kinds.
#include "costs/costreport.h"
#include "costs/costreportdialog.h"
#include "framework/dataset/store.h"
#include "framework/dataset/table.h"
#include "framework/report/report.h"
#include "framework/report/reportdocument.h"
#include "framework/report/reportelement.h"
#include "framework/report/reportlabel.h"
#include "framework/report/reportpreview.h"
#include "framework/report/reportprinter.h"
#include "framework/ui/modal.h"
#include "reports/contactlistreport.h"
#include "reports/csvwriter.h"
#include "reports/layoutreport.h"
#include "reports/layoutreportdialog.h"
#include "reports/projectreport.h"
#include "reports/projectreportdialog.h"
#include "reports/reportsession.h"
#include "reports/timelinedialog.h"
#include "reports/timelinereport.h"
#include "support/engines.h"
#include "support/pdffacts.h"
#include "support/programrun.h"
#include "support/testenvironment.h"
#include "timesheets/timesheetreport.h"
#include "timesheets/timesheetreportdialog.h"

#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QtTest>

using vok::ReportDocument;
using vok::ReportItem;

namespace {

const QDate march1(2024, 3, 1);

QString iso(const QDate& d) {
    return d.isValid() ? d.toString(Qt::ISODate) : QString();
}

// The texts of the items made from one element, on every page in printing order.
QStringList texts(const ReportDocument& doc, const QString& id) {
    QStringList out;
    for (const vok::ReportPage& page : doc.pages) {
        for (const ReportItem& item : page.itemsNamed(id))
            out << item.text;
    }
    return out;
}

QList<ReportItem> items(const ReportDocument& doc, const QString& id) {
    QList<ReportItem> out;
    for (const vok::ReportPage& page : doc.pages)
        out << page.itemsNamed(id);
    return out;
}

} // namespace

class TestReports : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    QString folder;
    std::unique_ptr<vok::Store> store;
    std::unique_ptr<ReportSession> session;

    qlonglong add(const QString& table, const QVariantHash& values) {
        QStringList names, marks;
        QVariantList binds;
        for (auto it = values.cbegin(); it != values.cend(); ++it) {
            names << it.key();
            marks << QStringLiteral("?");
            binds << it.value();
        }
        return store
            ->exec(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                       .arg(table, names.join(QLatin1Char(',')), marks.join(QLatin1Char(','))),
                   binds)
            .lastInsertId()
            .toLongLong();
    }

    qlonglong project(const QString& name = QStringLiteral("P")) {
        return add(QStringLiteral("projects"), {{"Zel_project", name},
                                                {"Zel_client", QStringLiteral("Client")},
                                                {"Zel_date_from", iso(march1)},
                                                {"Zel_date_to", iso(march1.addDays(90))}});
    }

    void timeSheet(qlonglong p, const QDate& from, const QDate& to, const QString& member,
                   double hours) {
        add(QStringLiteral("ProjectTS"),
            {{"ProjectTS_project_id", p},
             {"ProjectTS_major_id", 0},
             {"ProjectTS_action_id", 0},
             {"ProjectTS_date_from", from.isValid() ? QVariant(iso(from)) : QVariant()},
             {"ProjectTS_date_to", to.isValid() ? QVariant(iso(to)) : QVariant()},
             {"ProjectTS_member", member},
             {"ProjectTS_hours", hours}});
    }

    void cost(qlonglong p, const QDate& from, const QDate& to, double amount) {
        add(QStringLiteral("ProjectCost"), {{"ProjectCost_project_id", p},
                                            {"ProjectCost_major_id", 0},
                                            {"ProjectCost_action_id", 0},
                                            {"ProjectCost_date_from", iso(from)},
                                            {"ProjectCost_date_to", iso(to)},
                                            {"ProjectCost_Amount", amount}});
    }

    // A major activity, an action of it, or a team row or note of either, by the prefix of its
    // table's fields and the keys above it.
    qlonglong child(const char* table, const char* prefix, const QVariantList& keys,
                    const QVariantHash& values) {
        static const char* const levels[] = {"_project_id", "_major_id", "_action_id"};
        QVariantHash v = values;
        for (int i = 0; i < keys.size(); ++i)
            v.insert(QLatin1String(prefix) + QLatin1String(levels[i]), keys[i]);
        return add(QLatin1String(table), v);
    }

    qlonglong major(qlonglong p, const QString& name) {
        return child("major", "Major", {p}, {{"Major_item", name}});
    }

    qlonglong action(qlonglong p, qlonglong m, const QString& name) {
        return child("action", "Action", {p, m}, {{"Action_name", name}});
    }

    // The data are in place: the writing connection goes, as the engine may hold the folder
    // for one connection only.
    void openSession() {
        store.reset();
        session = std::make_unique<ReportSession>(folder);
        session->printProject = QStringLiteral("P");
    }

    // Presses a dialog's button with the printer answered, and returns what it printed.
    ReportDocument printFrom(ReportDialog& dialog) {
        ReportDocument printed;
        vok::ReportPrinter::setHandler(
            [&](QPrinter&, const ReportDocument& doc) { printed = doc; });
        dialog.setPrintProject([this](const QString& name) { session->printProject = name; });
        dialog.printButton->click();
        return printed;
    }

    // Opens a dialog from its menu item, answering the modal showing at once.
    void openFromMenu(ReportDialog& dialog) {
        vok::Modal::setHandler([](QDialog*) { return int(QDialog::Rejected); });
        QAction item;
        dialog.connectMenu(&item);
        item.trigger();
    }

    struct TimeSheets {
        TimeSheetReportDialog dialog;
        TimeSheetReport report;
        explicit TimeSheets(ProjectData* dm)
            : dialog(dm), report(dm, [this] { return dialog.options(); }) {
            dialog.setReport(&report);
        }
    };

    struct Costs {
        CostReportDialog dialog;
        CostReport report;
        explicit Costs(ProjectData* dm)
            : dialog(dm), report(dm, [this] { return dialog.options(); }) {
            dialog.setReport(&report);
        }
    };

    // The time sheet report for a range and a member choice, through its dialog.
    ReportDocument timeSheets(const QString& from, const QString& to,
                              const QString& member = QStringLiteral("All")) {
        TimeSheets ts(&session->dm);
        openFromMenu(ts.dialog);
        ts.dialog.FromDate->setText(from);
        ts.dialog.ToDate->setText(to);
        ts.dialog.Member->setCurrentText(member);
        return printFrom(ts.dialog);
    }

    ReportDocument costs(const QString& from, const QString& to) {
        Costs c(&session->dm);
        openFromMenu(c.dialog);
        c.dialog.FromDate->setText(from);
        c.dialog.ToDate->setText(to);
        return printFrom(c.dialog);
    }

private Q_SLOTS:
    void initTestCase_data() { Engines::addRows(); }

    void init() {
        VOK_INIT_ENGINE();
        env = std::make_unique<TestEnvironment>(QDateTime(march1, QTime(9, 0)));
        folder = env->emptyFolder();
        store = std::make_unique<vok::Store>();
        store->setParams({QStringLiteral("path=") + folder});
        store->open();
        add(QStringLiteral("members"), {{"Member_name", QStringLiteral("Ana")}});
        add(QStringLiteral("members"), {{"Member_name", QStringLiteral("Ben")}});
    }

    void cleanup() {
        vok::Modal::setHandler({});
        vok::ReportPrinter::setHandler({});
        session.reset();
        store.reset();
        env.reset();
    }

    // ---- Time sheets and costs

    void timeSheetRowsWithinTheRangeAndOfTheMember_data() {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("member");
        QTest::addColumn<QStringList>("rows"); // member and hours of each row printed
        QTest::addColumn<QString>("total");
        const QString all = QStringLiteral("All");
        QTest::newRow("1 to 5 January prints the row of 1 to 5 January")
            << "01/01/2024"
            << "01/05/2024" << all << QStringList{"Ana 8"} << "8";
        QTest::newRow("2 to 5 January does not") << "01/02/2024"
                                                 << "01/05/2024" << all << QStringList{} << "0";
        QTest::newRow("1 to 4 January does not") << "01/01/2024"
                                                 << "01/04/2024" << all << QStringList{} << "0";
        QTest::newRow("no From: every row ending by To, empty end dates too")
            << ""
            << "01/31/2024" << all << QStringList{" 1", "Ana 8", "Ben 4.5"} << "13.5";
        QTest::newRow("no bounds: every row")
            << ""
            << "" << all << QStringList{" 1", "Ana 8", "Ben 4.5", "ana 2"} << "15.5";
        QTest::newRow("an empty start date fails any From")
            << "12/01/2023"
            << "" << all << QStringList{"Ana 8", "Ben 4.5", "ana 2"} << "14.5";
        QTest::newRow("one member, letter case counting") << ""
                                                          << ""
                                                          << "Ana" << QStringList{"Ana 8"} << "8";
    }

    void timeSheetRowsWithinTheRangeAndOfTheMember() {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QString, member);
        QFETCH(QStringList, rows);
        QFETCH(QString, total);
        const qlonglong p = project();
        timeSheet(p, QDate(2024, 1, 1), QDate(2024, 1, 5), QStringLiteral("Ana"), 8);
        timeSheet(p, QDate(2024, 1, 10), QDate(2024, 1, 12), QStringLiteral("Ben"), 4.5);
        timeSheet(p, QDate(2024, 2, 1), QDate(2024, 2, 3), QStringLiteral("ana"), 2);
        timeSheet(p, QDate(), QDate(), QString(), 1);
        timeSheet(project(QStringLiteral("Other")), QDate(2024, 1, 1), QDate(2024, 1, 5),
                  QStringLiteral("Ana"), 100);
        openSession();
        const ReportDocument doc = timeSheets(from, to, member);
        QStringList printed;
        const QStringList members = texts(doc, QStringLiteral("QRDBText8"));
        const QStringList hours = texts(doc, QStringLiteral("QRDBText11"));
        for (int i = 0; i < members.size(); ++i)
            printed << members[i] + QLatin1Char(' ') + hours[i];
        printed.sort(Qt::CaseSensitive);
        QCOMPARE(printed, rows);
        QCOMPARE(texts(doc, QStringLiteral("QRExpr1")), QStringList{total});
        // The run leaves the project table unfiltered and the time sheets closed.
        QVERIFY(!session->dm.projects->isFiltered());
        QVERIFY(!session->dm.ProjectTS->isActive());
    }

    void costTotalOfThePrintedRows_data() {
        QTest::addColumn<QList<double>>("amounts");
        QTest::addColumn<QString>("total");
        QTest::newRow("1250.5 and -300") << QList<double>{1250.5, -300} << "950.50";
        QTest::newRow("a negative total in parentheses") << QList<double>{-300} << "(300.00)";
        QTest::newRow("grouped") << QList<double>{1234567} << "1,234,567.00";
        QTest::newRow("nothing in range") << QList<double>{} << "0.00";
    }

    void costTotalOfThePrintedRows() {
        QFETCH(QList<double>, amounts);
        QFETCH(QString, total);
        const qlonglong p = project();
        for (double a : amounts)
            cost(p, QDate(2024, 1, 1), QDate(2024, 1, 31), a);
        // Begins a day before the range: neither printed nor added.
        cost(p, QDate(2023, 12, 31), QDate(2024, 1, 31), 999);
        openSession();
        const ReportDocument doc =
            costs(QStringLiteral("01/01/2024"), QStringLiteral("01/31/2024"));
        QCOMPARE(texts(doc, QStringLiteral("QRDBText10")).size(), amounts.size());
        QCOMPARE(texts(doc, QStringLiteral("QRExpr1")), QStringList{total});
        QVERIFY(!session->dm.ProjectCost->isActive());
    }

    void aProjectWithoutRowsPrintsOneEmptyRowOnlyWithoutFrom_data() {
        QTest::addColumn<bool>("costReport");
        QTest::addColumn<QString>("from");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("total");
        QTest::newRow("time sheets, From given") << false << "01/01/2024" << 0 << "0";
        QTest::newRow("time sheets, no From") << false << "" << 1 << "0";
        QTest::newRow("costs, From given") << true << "01/01/2024" << 0 << "0.00";
        QTest::newRow("costs, no From") << true << "" << 1 << "0.00";
    }

    void aProjectWithoutRowsPrintsOneEmptyRowOnlyWithoutFrom() {
        QFETCH(bool, costReport);
        QFETCH(QString, from);
        QFETCH(int, rows);
        QFETCH(QString, total);
        project();
        openSession();
        const QString to = QStringLiteral("03/01/2024");
        const ReportDocument doc = costReport ? costs(from, to) : timeSheets(from, to);
        QCOMPARE(doc.pages.size(), 1);
        QCOMPARE(texts(doc, QStringLiteral("QRDBText6")), QStringList(rows, QString()));
        QCOMPARE(texts(doc, QStringLiteral("QRExpr1")), QStringList{total});
    }

    void periodReportsPlaceTheirTotalsAndColumns_data() {
        QTest::addColumn<bool>("costReport");
        QTest::addColumn<QString>("id");
        QTest::addColumn<QRectF>("box"); // millimetres in the band; -1: not checked
        // Right-aligned texts keep their right edge; column texts their boxes.
        QTest::newRow("page number ends at 187.6")
            << false << "QRSysData2" << QRectF(-1, 2.1, -1, -1);
        QTest::newRow("hours in their column")
            << false << "QRDBText11" << QRectF(171.2, 0, 16.9, 4.5);
        QTest::newRow("the total's box") << false << "QRExpr1" << QRectF(168.8, 4.2, 18.5, -1);
        QTest::newRow("the amount's column") << true << "QRDBText10" << QRectF(162.5, 0, 25.7, 4.5);
        QTest::newRow("the line over the total")
            << true << "QRShape1" << QRectF(170.9, 0, 17.2, -1);
    }

    void periodReportsPlaceTheirTotalsAndColumns() {
        QFETCH(bool, costReport);
        QFETCH(QString, id);
        QFETCH(QRectF, box);
        project();
        openSession();
        const ReportDocument doc = costReport ? costs({}, {}) : timeSheets({}, {});
        QCOMPARE(doc.setup.printableRect(), QRectF(12.7, 12.7, 190.5, 254));
        const ReportItem item = items(doc, id).value(0);
        const QList<qreal> expected{box.x(), box.y(), box.width(), box.height()};
        const QList<qreal> actual{item.bandPos.x(), item.bandPos.y(), item.box.width(),
                                  item.box.height()};
        for (int i = 0; i < 4; ++i) {
            if (expected[i] >= 0)
                QVERIFY2(qAbs(actual[i] - expected[i]) < 1e-9, qPrintable(QString::number(i)));
        }
        if (id == QLatin1String("QRSysData2"))
            QCOMPARE(item.box.right(), 12.7 + 187.6);
        // The labels before the totals end where the report says.
        const ReportItem label = items(doc, QStringLiteral("QRLabel7")).value(0);
        QCOMPARE(label.box.right() - 12.7, costReport ? 154.5 : 165.1);
    }

    void periodDialogsOpenOnTheLastYear_data() {
        QTest::addColumn<bool>("costDialog");
        QTest::newRow("time sheets") << false;
        QTest::newRow("costs") << true;
    }

    void periodDialogsOpenOnTheLastYear() {
        QFETCH(bool, costDialog);
        project(QStringLiteral("First"));
        project(QStringLiteral("Second"));
        openSession();
        TimeSheets ts(&session->dm);
        Costs c(&session->dm);
        PeriodDialog& dialog = costDialog ? static_cast<PeriodDialog&>(c.dialog) : ts.dialog;
        for (int opening = 0; opening < 2; ++opening) {
            dialog.FromDate->clear();
            openFromMenu(dialog);
            QCOMPARE(dialog.FromDate->text(), QStringLiteral("03/02/2023"));
            QCOMPARE(dialog.ToDate->text(), QStringLiteral("03/01/2024"));
            QCOMPARE(dialog.projectName(), QStringLiteral("First"));
            QCOMPARE(ts.dialog.Project->count(), costDialog ? 0 : 2);
            if (!costDialog) {
                QCOMPARE(ts.dialog.Member->count(), 3); // "All", Ana, Ben: not repeated
                QCOMPARE(ts.dialog.Member->currentText(), QStringLiteral("All"));
            }
        }
        QVERIFY(!dialog.showPrintDialog->isChecked());
    }

    // ---- Detailed project report

    void projectReportPrintsThePartsChosen_data() {
        QTest::addColumn<bool>("bare"); // the project has no team, notes or major activities
        QTest::addColumn<QString>("parts");
        QTest::addColumn<QStringList>("bands");
        const QString P = QStringLiteral("ProjectDetailBnd");
        QTest::newRow("nothing chosen: the objectives") << false << "" << QStringList{P};
        QTest::newRow("notes") << false << "notes" << QStringList{P, "ProjectNotesBnd"};
        QTest::newRow("team") << false << "team"
                              << QStringList{P, "ProjectTeamHdr", "ProjectTeamBnd"};
        QTest::newRow("actions without major activities") << false << "actions" << QStringList{P};
        const QStringList project{P, "ProjectTeamHdr", "ProjectTeamBnd", "ProjectNotesBnd"};
        const QStringList major{"MajorDetailBnd", "MajorTeamHdr", "MajorTeamBnd", "MajorNotesBnd"};
        const QStringList action{"ActionDetailBnd", "ActionTeamHdr", "ActionTeamBnd",
                                 "ActionNotesBnd"};
        QTest::newRow("major activities, notes and team")
            << false << "major notes team" << project + major;
        QTest::newRow("everything")
            << false << "major actions notes team" << project + major + action;
        // No header over an empty team row, the notes caption over an empty note, and nothing
        // of a major activity the project does not have.
        QTest::newRow("everything of a bare project")
            << true << "major actions notes team"
            << QStringList{P, "ProjectTeamBnd", "ProjectNotesBnd"};
    }

    void projectReportPrintsThePartsChosen() {
        QFETCH(bool, bare);
        QFETCH(QString, parts);
        QFETCH(QStringList, bands);
        const qlonglong p = project();
        if (!bare) {
            const qlonglong m = major(p, QStringLiteral("M"));
            const qlonglong a = action(p, m, QStringLiteral("A"));
            const QVariantList keys[] = {{p}, {p, m}, {p, m, a}};
            const char* const prefixes[] = {"Project", "Major", "Action"};
            const char* const teamTables[] = {"ProjectTeam", "MajorTeam", "actionTeam"};
            const char* const noteTables[] = {"Projectnotes", "Majornotes", "actionnotes"};
            for (int i = 0; i < 3; ++i) {
                const QString team = QLatin1String(prefixes[i]) + QStringLiteral("Team");
                child(teamTables[i], team.toLatin1().constData(), keys[i],
                      {{team + QStringLiteral("_member"), QStringLiteral("Ana")}});
                const QString notes = QLatin1String(noteTables[i]);
                const QString prefix = notes.left(1).toUpper() + notes.mid(1);
                child(noteTables[i], prefix.toLatin1().constData(), keys[i],
                      {{prefix + QStringLiteral("_note"), QStringLiteral("A note")}});
            }
        }
        openSession();
        ProjectReportDialog dialog(&session->dm);
        ProjectReport report(&session->dm, [&dialog] { return dialog.options(); });
        dialog.setReport(&report);
        openFromMenu(dialog);
        dialog.IncludeMajor->setChecked(parts.contains(QLatin1String("major")));
        dialog.IncludeAction->setChecked(parts.contains(QLatin1String("actions")));
        dialog.IncludeNotes->setChecked(parts.contains(QLatin1String("notes")));
        dialog.IncludeTeam->setChecked(parts.contains(QLatin1String("team")));
        const ReportDocument doc = printFrom(dialog);

        // A band's printing is its first element's item.
        QHash<QString, QString> firstElement;
        for (vok::ReportBand* b : report.bandedReport->bands())
            firstElement.insert(b->elements().first()->objectName(), b->objectName());
        QStringList printed;
        for (const ReportItem& item : doc.pages[0].items) {
            const QString band = firstElement.value(item.id);
            if (band == item.band && band != QLatin1String("QRBand1"))
                printed << band;
        }
        QCOMPARE(printed, bands);
        if (bare && parts.contains(QLatin1String("notes")))
            QCOMPARE(texts(doc, QStringLiteral("QRDBText11")), QStringList{QString()});
    }

    // The detailed report of project "P" with every part, its texts as given.
    ReportDocument everythingOf(const QHash<QString, QString>& memos, int teamRows = 1,
                                int actions = 1) {
        const qlonglong p = add(QStringLiteral("projects"),
                                {{"Zel_project", QStringLiteral("P")},
                                 {"Zel_description", memos.value(QStringLiteral("objective"))}});
        const qlonglong m = child("major", "Major", {p},
                                  {{"Major_item", QStringLiteral("M")},
                                   {"Major_description", memos.value(QStringLiteral("major"))}});
        for (int i = 0; i < actions; ++i)
            child("action", "Action", {p, m},
                  {{"Action_name", QStringLiteral("A%1").arg(i)},
                   {"Action_description", memos.value(QStringLiteral("action"))}});
        child("Projectnotes", "Projectnotes", {p},
              {{"Projectnotes_note", memos.value(QStringLiteral("note"))}});
        child("Majornotes", "Majornotes", {p, m},
              {{"Majornotes_note", memos.value(QStringLiteral("major note"))}});
        for (int i = 0; i < teamRows; ++i)
            child("ProjectTeam", "ProjectTeam", {p},
                  {{"ProjectTeam_member", QStringLiteral("Member %1").arg(i)}});
        child("MajorTeam", "MajorTeam", {p, m}, {{"MajorTeam_member", QStringLiteral("Ana")}});
        openSession();
        ProjectReport report(&session->dm, [] {
            return ProjectReportOptions{true, true, true, true};
        });
        return report.run();
    }

    void longTextsPrintWholeAcrossPages_data() {
        QTest::addColumn<QString>("memo"); // which text is long
        QTest::addColumn<QString>("element");
        QTest::addColumn<int>("lines");
        QTest::newRow("150-line objective") << "objective"
                                            << "QRDBText7" << 150;
        QTest::newRow("120-line note") << "note"
                                       << "QRDBText11" << 120;
        QTest::newRow("150-line major activity objective") << "major"
                                                           << "QRDBText18" << 150;
        QTest::newRow("120-line major activity note") << "major note"
                                                      << "QRDBText22" << 120;
        QTest::newRow("150-line action objective") << "action"
                                                   << "QRDBText29" << 150;
    }

    void longTextsPrintWholeAcrossPages() {
        QFETCH(QString, memo);
        QFETCH(QString, element);
        QFETCH(int, lines);
        QStringList text;
        for (int i = 1; i <= lines; ++i)
            text << QStringLiteral("Line %1 of the text").arg(i);
        const ReportDocument doc = everythingOf({{memo, text.join(QLatin1Char('\n'))}});
        QStringList printed;
        for (const QString& piece : texts(doc, element))
            printed << piece.split(QLatin1Char('\n'));
        QCOMPARE(printed, text);
        // The first lines start below the caption over them, not at the band's top.
        for (const vok::ReportPage& page : doc.pages) {
            const QList<ReportItem> pieces = page.itemsNamed(element);
            if (pieces.isEmpty())
                continue;
            int above = 0;
            for (const ReportItem& other : page.items) {
                if (other.band != pieces[0].band || other.id == element ||
                    other.kind != ReportItem::Kind::Text ||
                    other.box.right() <= pieces[0].box.left())
                    continue;
                QVERIFY2(other.bandPos.y() < pieces[0].bandPos.y(), qPrintable(other.id));
                ++above;
            }
            QVERIFY(above > 0);
            break;
        }
        QVERIFY(doc.pages.size() >= 3);
        // Nothing below the bottom margin, and every page after the first under its header.
        for (const vok::ReportPage& page : doc.pages) {
            for (const ReportItem& item : page.items) {
                if (item.visible && !item.band.isEmpty())
                    QVERIFY2(item.box.bottom() <= 1056 - 48 + 1e-6, qPrintable(item.id));
            }
            QCOMPARE(page.itemsNamed(QStringLiteral("QRLabel17")).size(), 1);
        }
    }

    void aTeamHeaderNeverEndsAPage_data() {
        QTest::addColumn<int>("teamRows"); // moves the major activity's team down the page
        QTest::addColumn<int>("headerPage"); // where the major activity's team header prints
        QTest::newRow("room for the header alone: it goes over with its first row") << 39 << 2;
        QTest::newRow("room for the header and its first row") << 38 << 1;
    }

    void aTeamHeaderNeverEndsAPage() {
        QFETCH(int, teamRows);
        QFETCH(int, headerPage);
        const ReportDocument doc = everythingOf({}, teamRows, 3);
        // The header, then right under it on the same page its first row.
        QStringList after;
        for (const vok::ReportPage& page : doc.pages) {
            QString previous;
            for (const ReportItem& item : page.items) {
                if (item.band.isEmpty() || item.band == previous)
                    continue;
                if (previous == QLatin1String("MajorTeamHdr"))
                    after << QStringLiteral("%1 %2").arg(page.number).arg(item.band);
                previous = item.band;
            }
        }
        QCOMPARE(after, QStringList{QStringLiteral("%1 MajorTeamBnd").arg(headerPage)});
        for (const vok::ReportPage& page : doc.pages) {
            QString last;
            for (const ReportItem& item : page.items) {
                if (!item.band.isEmpty() && item.band != QLatin1String("QRBand1"))
                    last = item.band;
            }
            QVERIFY2(!last.endsWith(QLatin1String("TeamHdr")),
                     qPrintable(QStringLiteral("page %1 ends with %2").arg(page.number).arg(last)));
        }
        QCOMPARE(texts(doc, QStringLiteral("QRDBText8")).size(), teamRows);
    }

    // ---- Project layout report

    void layoutLinesRunUnbroken_data() {
        QTest::addColumn<QList<int>>("actions"); // per major activity
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<int>("pages");
        QTest::newRow("two major activities, the second without actions")
            << QList<int>{2, 0} << QStringList{"M1", "A1.1", "A1.2", "M2", "A"} << 1;
        QTest::newRow("no major activities: one empty row of each")
            << QList<int>{} << QStringList{"M", "A"} << 1;
        QTest::newRow("over a page break") << QList<int>{60} << QStringList{} << 2;
    }

    void layoutLinesRunUnbroken() {
        QFETCH(QList<int>, actions);
        QFETCH(QStringList, rows);
        QFETCH(int, pages);
        const qlonglong p = project();
        for (int m = 0; m < actions.size(); ++m) {
            const qlonglong id = major(p, QStringLiteral("M%1").arg(m + 1));
            for (int a = 0; a < actions[m]; ++a)
                action(p, id, QStringLiteral("A%1.%2").arg(m + 1).arg(a + 1));
        }
        openSession();
        LayoutReportDialog dialog(&session->dm);
        LayoutReport report(&session->dm);
        dialog.setReport(&report);
        openFromMenu(dialog);
        const ReportDocument doc = printFrom(dialog);
        QCOMPARE(doc.pages.size(), pages);
        if (!rows.isEmpty()) {
            QStringList printed;
            for (const ReportItem& item : doc.pages[0].items) {
                const bool isMajor = item.id == QLatin1String("MajorName");
                if (isMajor || item.id == QLatin1String("QRDBText2"))
                    printed << (!item.text.isEmpty() ? item.text
                                : isMajor            ? QStringLiteral("M")
                                                     : QStringLiteral("A"));
            }
            QCOMPARE(printed, rows);
        }
        for (const vok::ReportPage& page : doc.pages) {
            // Every page repeats the project's name, underlined and joined to the trunk.
            const ReportItem name = page.itemsNamed(QStringLiteral("QRDBText1")).value(0);
            QCOMPARE(name.lines(), QList<QLineF>{QLineF(56, 121, 255, 121)});
            QCOMPARE(page.itemsNamed(QStringLiteral("QRShape4")).value(0).lines(),
                     QList<QLineF>{QLineF(254, 119.5, 312, 119.5)});
            // The trunk: one segment per row at x 263.5, each starting where the last ended,
            // from under the page header down.
            qreal y = 48 + 73;
            for (const ReportItem& item : page.items) {
                if (item.id != QLatin1String("QRShape1") && item.id != QLatin1String("QRShape3"))
                    continue;
                QCOMPARE(item.lines(), QList<QLineF>{QLineF(311.5, y, 311.5, y + 17)});
                y += 17;
            }
            QVERIFY(y > 48 + 73);
        }
        // Each major activity's underline leads on to its actions' line.
        const ReportItem majorName = items(doc, QStringLiteral("MajorName")).value(0);
        const ReportItem joint = items(doc, QStringLiteral("MajorLine")).value(0);
        QCOMPARE(majorName.lines().value(0).x2(), joint.lines().value(0).x1());
        QCOMPARE(items(doc, QStringLiteral("QRShape2")).value(0).lines().value(0).x1(), 48 + 495.5);
    }

    // ---- Contact list

    void contactListPrintsTheSelectedProjectsContacts_data() {
        QTest::addColumn<int>("contacts");
        QTest::addColumn<QList<int>>("perPage");
        QTest::newRow("none: one empty block") << 0 << QList<int>{1};
        QTest::newRow("five fill a page") << 5 << QList<int>{5};
        QTest::newRow("twelve run over three pages") << 12 << QList<int>{5, 5, 2};
    }

    void contactListPrintsTheSelectedProjectsContacts() {
        QFETCH(int, contacts);
        QFETCH(QList<int>, perPage);
        const qlonglong other = project(QStringLiteral("Other"));
        add(QStringLiteral("ProjectContact"),
            {{"ProjectContact_project_id", other}, {"ProjectContact_name", QStringLiteral("X")}});
        const qlonglong p = project();
        for (int i = 1; i <= contacts; ++i)
            add(QStringLiteral("ProjectContact"),
                {{"ProjectContact_project_id", p},
                 {"ProjectContact_name", QStringLiteral("C%1").arg(i)},
                 {"ProjectContact_adr1", QStringLiteral("1 Main Street")},
                 {"ProjectContact_City", QStringLiteral("Town")}});
        openSession();
        ContactListReport report(&session->dm);
        QPushButton printList;
        report.connectButton(&printList, [this] { session->locateProject(QStringLiteral("P")); });
        ReportDocument doc;
        vok::ReportPrinter::setHandler([&](QPrinter&, const ReportDocument& d) { doc = d; });
        printList.click();

        QCOMPARE(doc.pages.size(), perPage.size());
        for (int i = 0; i < perPage.size(); ++i) {
            const vok::ReportPage& page = doc.pages[i];
            QCOMPARE(page.itemsNamed(QStringLiteral("QRDBText2")).size(), perPage[i]);
            QCOMPARE(page.itemsNamed(QStringLiteral("QRLabel2")).value(0).text,
                     QStringLiteral("Contact name"));
            QCOMPARE(page.itemsNamed(QStringLiteral("QRDBText1")).value(0).text,
                     QStringLiteral("P"));
        }
        const ReportItem name = items(doc, QStringLiteral("QRDBText2")).value(0);
        QCOMPARE(name.text, contacts ? QStringLiteral("C1") : QString());
        // Empty lines keep their place in the address block; an empty extension prints nothing.
        QCOMPARE(items(doc, QStringLiteral("QRDBText8")).value(0).text, QString());
        QCOMPARE(items(doc, QStringLiteral("QRDBText9")).value(0).bandPos, QPointF(32, 69));
        QCOMPARE(items(doc, QStringLiteral("QRDBText5")).value(0).text, QString());
        QCOMPARE(texts(doc, QStringLiteral("QRSysData1")).value(0),
                 QStringLiteral("Date: 03/01/2024 09:00:00"));
    }

    // ---- What every dialog shares

    void dialogsRunTheirReportsWithTheProjectFilterOn_data() {
        QTest::addColumn<QString>("form");
        QTest::addColumn<bool>("openBefore"); // the time sheets were open before
        for (const char* f : {"Form4", "Form6", "Form8", "Form14", "Form20"})
            QTest::newRow(f) << f << false;
        QTest::newRow("Form14, time sheets open before") << "Form14" << true;
        QTest::newRow("Form20, costs open before") << "Form20" << true;
    }

    void dialogsRunTheirReportsWithTheProjectFilterOn() {
        QFETCH(QString, form);
        QFETCH(bool, openBefore);
        project(QStringLiteral("Other"));
        project();
        openSession();
        // The dialogs and reports walk record-sets of their own, as in Vok; the working ones
        // stay where the main window left them.
        ProjectData& working = session->dm;
        ProjectData* dm = &working.walks();
        working.projects->first();
        TimeLineDialog f4(dm);
        TimeLineReport f5(dm, [&f4] { return f4.options(); });
        ProjectReportDialog f6(dm);
        ProjectReport f7(dm, [&f6] { return f6.options(); });
        LayoutReportDialog f8(dm);
        LayoutReport f9(dm);
        TimeSheets ts(dm);
        Costs c(dm);
        f4.setReport(&f5);
        f6.setReport(&f7);
        f8.setReport(&f9);
        const QHash<QString, ReportDialog*> dialogs{{"Form4", &f4},
                                                    {"Form6", &f6},
                                                    {"Form8", &f8},
                                                    {"Form14", &ts.dialog},
                                                    {"Form20", &c.dialog}};
        ReportDialog* dialog = dialogs.value(form);
        vok::Table* rows = form == QLatin1String("Form14")   ? dm->ProjectTS
                           : form == QLatin1String("Form20") ? dm->ProjectCost
                                                             : nullptr;
        vok::Table* shown = form == QLatin1String("Form14")   ? working.ProjectTS
                            : form == QLatin1String("Form20") ? working.ProjectCost
                                                              : nullptr;
        if (openBefore)
            shown->open();
        openFromMenu(*dialog);
        dialog->setPrintProject([this](const QString& name) { session->printProject = name; });
        for (QComboBox* box : dialog->findChildren<QComboBox*>()) {
            if (box->objectName() == QLatin1String("ComboBox1") ||
                box->objectName() == QLatin1String("Project"))
                box->setCurrentIndex(1);
        }
        QStringList seen;
        vok::Modal::setHandler([&](QDialog* d) {
            if (qobject_cast<vok::ReportPreview*>(d))
                seen << QStringLiteral("preview %1 of %2, rows %3")
                            .arg(dm->projects->isFiltered())
                            .arg(dm->projects->recordCount())
                            .arg(!rows || rows->isActive());
            return int(QDialog::Rejected);
        });
        dialog->previewButton->click();
        QCOMPARE(seen, QStringList{"preview 1 of 1, rows 1"});
        QCOMPARE(session->printProject, QStringLiteral("P"));
        QVERIFY(!dm->projects->isFiltered());
        QVERIFY(!rows || !rows->isActive());
        QVERIFY(!working.projects->isFiltered());
        QCOMPARE(working.projects->fieldByName(QStringLiteral("Zel_project")).asString(),
                 QStringLiteral("Other"));
        QCOMPARE(!shown || shown->isActive(), !shown || openBefore);
        dialog->show();
        dialog->closeButton->click();
        QVERIFY(!dialog->isVisible());
    }

    // Another engineer applies the caption sets by object name; these are the names and
    // English texts they address.
    void elementsAndControlsBearTheNamesTheCaptionSetsAddress_data() {
        QTest::addColumn<QString>("form");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        const struct {
            const char* form;
            const char* name;
            const char* text;
        } targets[] = {
            {"Form5", "QRLabel2", "Gray for Non-critical & Not Completed"},
            {"Form5", "QRLabel14", "Green for Completed"},
            {"Form5", "QRLabel11", "Page #"},
            {"Form5", "QRSysData3", "Current date:"},
            {"Form7", "QRLabel25", "Action Leader"},
            {"Form7", "QRLabel10", "Action Name"},
            {"Form7", "QRLabel7", "Member Email"},
            {"Form7", "QRLabel11", "Member name"},
            {"Form7", "QRLabel23", "Start Date"},
            {"Form7", "QRSysData2", "Page # "},
            {"Form9", "QRLabel1", "Project Layout Report"},
            {"Form9", "QRSysData2", "Page #"},
            {"Form13", "QRLabel5", "Action"},
            {"Form13", "QRLabel1", "From date"},
            {"Form13", "QRSysData1", "Date: "},
            {"Form21", "QRLabel14", "Start Date"},
            {"Form21", "QRSysData2", "Page # "},
            {"Form4", "Form4", "Print Time Line report"},
            {"Form6", "Form6", "Print Project report"},
            {"Form8", "Form8", "Project Layout Report"},
            {"Form8", "CheckBox1", "Show print dialog  "},
            {"Form14", "Label2", "From date"},
            {"Form14", "Button3", "Close"},
            {"Form20", "Label3", "To date"},
        };
        for (const auto& t : targets)
            QTest::addRow("%s %s", t.form, t.name) << t.form << t.name << t.text;
    }

    void elementsAndControlsBearTheNamesTheCaptionSetsAddress() {
        QFETCH(QString, form);
        QFETCH(QString, name);
        QFETCH(QString, text);
        project();
        openSession();
        // The dialogs and reports walk record-sets of their own, as in Vok; the working ones
        // stay where the main window left them.
        ProjectData& working = session->dm;
        ProjectData* dm = &working.walks();
        working.projects->first();
        TimeLineDialog f4(dm);
        TimeLineReport f5(dm, [] { return TimeLineOptions{}; });
        ProjectReportDialog f6(dm);
        ProjectReport f7(dm, [] { return ProjectReportOptions{}; });
        LayoutReportDialog f8(dm);
        LayoutReport f9(dm);
        TimeSheets ts(dm);
        Costs c(dm);
        const QHash<QString, QObject*> forms{{"Form4", &f4},         {"Form5", &f5},
                                             {"Form6", &f6},         {"Form7", &f7},
                                             {"Form8", &f8},         {"Form9", &f9},
                                             {"Form13", &ts.report}, {"Form14", &ts.dialog},
                                             {"Form20", &c.dialog},  {"Form21", &c.report}};
        QObject* window = forms.value(form);
        QObject* target = window->objectName() == name ? window : window->findChild<QObject*>(name);
        QVERIFY2(target, qPrintable(name));
        QString actual;
        if (auto* l = qobject_cast<vok::ReportLabel*>(target))
            actual = l->text();
        else if (auto* w = qobject_cast<QDialog*>(target))
            actual = w->windowTitle();
        else
            actual = target->property("text").toString();
        QCOMPARE(actual, text);
    }

    void everyDialogInputHasAnAccessibleName_data() {
        QTest::addColumn<QString>("form");
        for (const char* f : {"Form4", "Form6", "Form8", "Form14", "Form20"})
            QTest::newRow(f) << f;
    }

    void everyDialogInputHasAnAccessibleName() {
        QFETCH(QString, form);
        openSession();
        ProjectData* dm = &session->dm;
        std::unique_ptr<QDialog> dialog;
        if (form == QLatin1String("Form4"))
            dialog = std::make_unique<TimeLineDialog>(dm);
        else if (form == QLatin1String("Form6"))
            dialog = std::make_unique<ProjectReportDialog>(dm);
        else if (form == QLatin1String("Form8"))
            dialog = std::make_unique<LayoutReportDialog>(dm);
        else if (form == QLatin1String("Form14"))
            dialog = std::make_unique<TimeSheetReportDialog>(dm);
        else
            dialog = std::make_unique<CostReportDialog>(dm);
        int inputs = 0;
        for (QWidget* w : dialog->findChildren<QWidget*>()) {
            // The text field of a list that takes typing speaks through the list; its pop-up
            // is a window of its own.
            if (w->focusPolicy() == Qt::NoFocus || qobject_cast<QLabel*>(w) ||
                qobject_cast<QComboBox*>(w->parent()) || w->window() != dialog.get())
                continue;
            ++inputs;
            QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
            QVERIFY(a);
            QVERIFY2(!a->text(QAccessible::Name).trimmed().isEmpty(), qPrintable(w->objectName()));
        }
        QVERIFY(inputs >= 5);
    }

    // ---- vokctl

    void csvQuotesWhatNeedsIt_data() {
        QTest::addColumn<QStringList>("row");
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("plain") << QStringList{"a", "7.5", ""} << QByteArray("a,7.5,\r\n");
        QTest::newRow("comma and quote") << QStringList{"Smith, J.", "say \"hi\""}
                                         << QByteArray("\"Smith, J.\",\"say \"\"hi\"\"\"\r\n");
        QTest::newRow("line break")
            << QStringList{"two\nlines"} << QByteArray("\"two\nlines\"\r\n");
        QTest::newRow("UTF-8") << QStringList{QStringLiteral("Café")}
                               << QByteArray("Caf\xc3\xa9\r\n");
    }

    void csvQuotesWhatNeedsIt() {
        QFETCH(QStringList, row);
        QFETCH(QByteArray, line);
        QCOMPARE(CsvWriter::toCsv({row}), line);
    }

    void pdfTitleAndSubjectFollowTheLanguage_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("title");
        QTest::newRow("detailed report in French")
            << "project" << 1 << QString::fromUtf8("Rapport détaillé du projet");
        QTest::newRow("detailed report in Spanish")
            << "project" << 2 << QStringLiteral("Informe Detallado Del Proyecto");
        QTest::newRow("time line in French")
            << "timeline" << 1 << QStringLiteral("Ligne de temps du projet");
        QTest::newRow("costs in Spanish")
            << "costs" << 2 << QStringLiteral("Informe De las Entradas Del Coste");
        QTest::newRow("layout in English")
            << "layout" << 0 << QStringLiteral("Project Layout Report");
        QTest::newRow("budget in French")
            << "budget" << 1 << QString::fromUtf8("Budget et réalisé");
        QTest::newRow("budget in Spanish") << "budget" << 2 << QStringLiteral("Presupuesto y real");
    }

    void pdfTitleAndSubjectFollowTheLanguage() {
        QFETCH(QString, kind);
        QFETCH(int, language);
        QFETCH(QString, title);
        const QString pdf = QDir(env->root()).filePath(QStringLiteral("out.pdf"));
        const QStringList args{QStringLiteral("report"),
                               kind,
                               QStringLiteral("--data=") + env->demoFolder(),
                               QStringLiteral("--project=Office Move"),
                               QStringLiteral("--language=%1").arg(language),
                               QStringLiteral("--pdf=") + pdf};
        const ProgramRun run = ProgramRun::of(QStringLiteral(VOKCTL_PATH), args);
        QVERIFY2(run.status == 0, qPrintable(run.err));
        const QHash<QString, QString> facts = pdfFacts(pdf);
        if (facts.isEmpty())
            QSKIP("pdfinfo (poppler-utils) is not installed");
        QCOMPARE(facts.value(QStringLiteral("Title")), title);
        QCOMPARE(facts.value(QStringLiteral("Subject")), QStringLiteral("Office Move"));
    }

    void commandLine_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message");
        const QStringList base{"--data", "DEMO", "--project", "Riverside Library Renovation"};
        const auto run = [&](const char* name, QStringList args, int status, const char* message) {
            QTest::newRow(name) << (args + base) << status << message;
        };
        run("time sheets of one member, with CSV",
            {"timesheets", "--from", "2000-01-01", "--member", "Ben Okafor", "--pdf", "OUT.pdf",
             "--csv", "OUT.csv"},
            0, " rows to ");
        run("costs with CSV", {"costs", "--to", "2100-12-31", "--csv", "OUT.csv"}, 0, " rows to ");
        run("detailed project",
            {"project", "--major", "--actions", "--notes", "--team", "--pdf", "OUT.pdf"}, 0,
            "Wrote 3 pages");
        run("layout", {"layout", "--pdf", "OUT.pdf"}, 0, "Wrote 1 page");
        run("contacts", {"contacts", "--layout-json", "OUT.json"}, 0, "Wrote the layout of 1 page");
        run("an option of another kind", {"costs", "--member", "X", "--pdf", "OUT.pdf"}, 2,
            "the costs report takes no --member");
        run("a flag of another kind", {"layout", "--team", "--pdf", "OUT.pdf"}, 2,
            "the layout report takes no --team");
        run("a date not in ISO form", {"timesheets", "--from", "01/02/2024", "--pdf", "OUT.pdf"}, 2,
            "--from takes a date as YYYY-MM-DD");
        run("no output", {"project"}, 2, "--pdf is required");
        run("time line", {"timeline", "--pdf", "OUT.pdf"}, 0, "Wrote 1 page");
        run("tiles for another kind", {"costs", "--tiles", "--pdf", "OUT.pdf"}, 2,
            "the costs report takes no --tiles");
        run("a scale that is none", {"timeline", "--scale", "week", "--pdf", "OUT.pdf"}, 2,
            "--scale takes day or month");
        run("an as-of date not in ISO form",
            {"timeline", "--today", "1.3.2024", "--pdf", "OUT.pdf"}, 2, "--today takes");
        run("unknown report", {"gantt", "--pdf", "OUT.pdf"}, 2, "unknown report");
        QTest::newRow("not a data folder")
            << QStringList{"layout", "--data", "NOWHERE", "--project", "X", "--pdf", "OUT.pdf"} << 1
            << "is not a Vok data folder";
        QTest::newRow("unknown project")
            << QStringList{"contacts", "--data", "DEMO", "--project", "Nope", "--pdf", "OUT.pdf"}
            << 1 << "no project is named 'Nope'";
    }

    void commandLine() {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QString, message);
        const QString demo = env->demoFolder();
        const QDir root(env->root());
        for (QString& a : args) {
            a.replace(QStringLiteral("DEMO"), demo);
            a.replace(QStringLiteral("NOWHERE"), root.filePath(QStringLiteral("none")));
            for (const char* out : {"OUT.pdf", "OUT.csv", "OUT.json"})
                a.replace(QLatin1String(out), root.filePath(QLatin1String(out)));
        }
        QProcess p;
        p.start(QStringLiteral(VOKCTL_PATH), QStringList{QStringLiteral("report")} + args);
        QVERIFY(p.waitForFinished(60000));
        const QString output =
            QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
        QCOMPARE(p.exitCode(), status);
        QVERIFY2(output.contains(message), qPrintable(output));
        QCOMPARE(root.exists(QStringLiteral("OUT.pdf")),
                 status == 0 && args.contains(root.filePath("OUT.pdf")));
        QFile csv(root.filePath(QStringLiteral("OUT.csv")));
        if (!csv.open(QIODevice::ReadOnly))
            return;
        const QList<QByteArray> lines = csv.readAll().split('\n');
        QVERIFY(lines.size() > 2);
        QVERIFY(lines.first().startsWith("Project,From date,To date,"));
        for (const QByteArray& line : lines.mid(1, lines.size() - 2)) {
            QVERIFY(line.startsWith("Riverside Library Renovation,"));
            QVERIFY(line.endsWith('\r'));
            if (args.contains(QStringLiteral("--member")))
                QVERIFY(line.contains(",Ben Okafor,"));
        }
    }
};

QTEST_MAIN(TestReports)
#include "tst_reports.moc"
