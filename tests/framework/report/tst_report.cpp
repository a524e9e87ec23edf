// The report engine against real record-sets in a SQLite data folder: what a run lays out, and
// what reaches a PDF, a printer and the preview.
#include "framework/dataset/databaseerror.h"
#include "framework/dataset/store.h"
#include "framework/dataset/table.h"
#include "framework/dataset/transaction.h"
#include "framework/report/numbermask.h"
#include "framework/report/report.h"
#include "framework/report/reportfieldtext.h"
#include "framework/report/reportlayoutjson.h"
#include "framework/report/reportpdf.h"
#include "framework/report/reportpreview.h"
#include "framework/report/reportprinter.h"
#include "framework/report/reportshape.h"
#include "framework/report/reportsum.h"
#include "framework/report/reportsysdata.h"
#include "framework/ui/messages.h"
#include "framework/ui/modal.h"
#include "support/pdffacts.h"
#include "support/testenvironment.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QtTest>

using namespace vok;

namespace {

const TableDef masterDef{QStringLiteral("master"),
                         {{QStringLiteral("M_id"), FieldType::AutoInc, 0},
                          {QStringLiteral("M_name"), FieldType::String, 40},
                          {QStringLiteral("M_note"), FieldType::Memo, 10}},
                         {}};
const TableDef detailDef{
    QStringLiteral("detail"),
    {{QStringLiteral("D_master"), FieldType::Integer, 0},
     {QStringLiteral("D_id"), FieldType::AutoInc, 0},
     {QStringLiteral("D_name"), FieldType::String, 40},
     {QStringLiteral("D_amount"), FieldType::Float, 0}},
    {{QStringLiteral("detail_key"), {QStringLiteral("D_master"), QStringLiteral("D_id")}, false}}};

// "band:text" of every item named "key", in printing order.
QStringList sequence(const ReportDocument& doc) {
    QStringList out;
    for (const ReportPage& page : doc.pages) {
        for (const ReportItem& item : page.items) {
            if (item.id == QLatin1String("key"))
                out << item.band + QLatin1Char(':') + item.text;
        }
    }
    return out;
}

const ReportItem* findItem(const ReportPage& page, const QString& id) {
    for (const ReportItem& item : page.items) {
        if (item.id == id)
            return &item;
    }
    return nullptr;
}

int pdfPageCount(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray data = f.readAll();
    if (!data.startsWith("%PDF"))
        return -1;
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page[^s]"));
    return static_cast<int>(QString::fromLatin1(data).count(page));
}

} // namespace

class TestReport : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    std::unique_ptr<Store> store;
    std::unique_ptr<Table> master;
    std::unique_ptr<Table> detail;
    std::unique_ptr<Report> report;

    // Masters "a", "b"... with the given number of details each ("a1", "a2"...), amounts
    // 10, 20, 30... per master.
    void load(const QList<int>& detailsPerMaster) {
        Transaction tx(*store);
        for (int m = 0; m < detailsPerMaster.size(); ++m) {
            const QString name(QChar(QLatin1Char('a').unicode() + m));
            store->exec(QStringLiteral("INSERT INTO master (M_name) VALUES (?)"), {name});
            for (int d = 1; d <= detailsPerMaster[m]; ++d)
                store->exec(QStringLiteral(
                                "INSERT INTO detail (D_master, D_name, D_amount) VALUES (?, ?, ?)"),
                            {m + 1, QString(name + QString::number(d)), 10.0 * d});
        }
        tx.commit();
        master->open();
        detail->open();
    }

    ReportBand* band(ReportBand::Kind kind, const QString& name, qreal height,
                     Table* table = nullptr, const QString& field = QString()) {
        ReportBand* b = report->addBand(kind, name, height);
        b->setDataset(table);
        if (table) {
            auto* t = new ReportFieldText(b, QStringLiteral("key"));
            t->setField(table, field);
            t->setGeometry(0, 0, 100, 0);
        }
        return b;
    }

    // Page header with a page number, a detail over the masters and a sub-detail over the details.
    void masterDetail(qreal detailHeight = 20) {
        ReportBand* header =
            report->addBand(ReportBand::Kind::PageHeader, QStringLiteral("header"), 100);
        auto* page =
            new ReportSysData(header, ReportSysData::Data::PageNumber, QStringLiteral("page"));
        page->setText(QStringLiteral("Page "));
        ReportBand* m = band(ReportBand::Kind::Detail, QStringLiteral("M"), 20, master.get(),
                             QStringLiteral("M_name"));
        ReportBand* d = band(ReportBand::Kind::SubDetail, QStringLiteral("D"), detailHeight,
                             detail.get(), QStringLiteral("D_name"));
        d->setMaster(m);
    }

    // A master "a" holding the note, rowsBefore details printed before it, then the note's band
    // "N" (48 high, the memo at 8, 21, 300 wide) and a summary "after" with the text "end".
    ReportBand* memoReport(const QString& note, int rowsBefore) {
        store->exec(QStringLiteral("INSERT INTO master (M_name, M_note) VALUES ('a', ?)"), {note});
        for (int i = 0; i < rowsBefore; ++i)
            store->exec(QStringLiteral("INSERT INTO detail (D_master, D_name) VALUES (1, 'x')"));
        master->open();
        detail->open();
        report->addBand(ReportBand::Kind::PageHeader, QStringLiteral("header"), 100);
        ReportBand* m = band(ReportBand::Kind::Detail, QStringLiteral("M"), 0);
        m->setDataset(master.get());
        band(ReportBand::Kind::SubDetail, QStringLiteral("D"), 20, detail.get(),
             QStringLiteral("D_name"))
            ->setMaster(m);
        ReportBand* notes = report->addBand(ReportBand::Kind::SubDetail, QStringLiteral("N"), 48);
        notes->setMaster(m);
        auto* memo = new ReportFieldText(notes, QStringLiteral("memo"));
        memo->setField(master.get(), QStringLiteral("M_note"));
        memo->setGeometry(8, 21, 300, 17);
        memo->setStretch(true);
        auto* after =
            new ReportLabel(report->addBand(ReportBand::Kind::Summary, QStringLiteral("S"), 20),
                            QStringLiteral("after"));
        after->setText(QStringLiteral("end"));
        return notes;
    }

    // Sixty details on legal landscape paper, as the time line prints: two pages.
    void legalLandscapeMasterDetail() {
        load({60});
        masterDetail();
        PageSetup legal = report->pageSetup();
        legal.paper = PageSetup::Paper::Legal;
        legal.orientation = QPageLayout::Landscape;
        report->setPageSetup(legal);
    }

private Q_SLOTS:
    void init() {
        env = std::make_unique<TestEnvironment>(QDateTime(QDate(2024, 3, 1), QTime(18, 30)));
        const QString folder = QDir(env->root()).filePath(QStringLiteral("data"));
        Store::createDatabase(folder, {masterDef, detailDef}, EngineConfig::Settings());
        store = std::make_unique<Store>();
        store->setParams({QStringLiteral("path=") + folder});
        master = std::make_unique<Table>(store.get(), QStringLiteral("master"));
        master->setTableName(QStringLiteral("master.DB"));
        master->setFieldDefs(masterDef.fields);
        master->setIndexFieldNames({QStringLiteral("M_id")});
        detail = std::make_unique<Table>(store.get(), QStringLiteral("detail"));
        detail->setTableName(QStringLiteral("detail.DB"));
        detail->setFieldDefs(detailDef.fields);
        detail->setIndexFieldNames({QStringLiteral("D_master"), QStringLiteral("D_id")});
        detail->setMaster(master.get(), {QStringLiteral("M_id")});
        report = std::make_unique<Report>();
        PageSetup setup; // letter portrait, 1/96 inch: printable 720 x 960
        setup.margins = QMarginsF(48, 48, 48, 48);
        report->setPageSetup(setup);
    }

    void cleanup() {
        ReportPrinter::setHandler({});
        Modal::setHandler({});
        Messages::setHandler({});
        report.reset();
        detail.reset();
        master.reset();
        store.reset();
        env.reset();
    }

    void bandsFollowTheRecords_data() {
        QTest::addColumn<QList<int>>("details");
        QTest::addColumn<bool>("printIfEmpty");
        QTest::addColumn<bool>("withHeader");
        QTest::addColumn<QString>("suppress"); // detail row a handler suppresses
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("each master followed by its rows")
            << QList<int>{2, 1, 0} << false << false << QString()
            << QStringList{"M:a", "D:a1", "D:a2", "M:b", "D:b1", "M:c"};
        QTest::newRow("an empty sub-detail prints once with empty fields")
            << QList<int>{1, 0} << true << false << QString()
            << QStringList{"M:a", "D:a1", "M:b", "D:"};
        QTest::newRow("the header comes before the first row only")
            << QList<int>{2, 0} << false << true << QString()
            << QStringList{"M:a", "H:", "D:a1", "D:a2", "M:b"};
        QTest::newRow("header and one empty row when printing if empty")
            << QList<int>{0} << true << true << QString() << QStringList{"M:a", "H:", "D:"};
        QTest::newRow("a suppressed row is left out")
            << QList<int>{3} << false << false << QStringLiteral("a2")
            << QStringList{"M:a", "D:a1", "D:a3"};
        QTest::newRow("no masters and not printing if empty")
            << QList<int>{} << false << false << QString() << QStringList{};
    }

    void bandsFollowTheRecords() {
        QFETCH(QList<int>, details);
        QFETCH(bool, printIfEmpty);
        QFETCH(bool, withHeader);
        QFETCH(QString, suppress);
        QFETCH(QStringList, expected);
        load(details);
        masterDetail();
        ReportBand* m = report->bands().at(1);
        ReportBand* d = report->bands().at(2);
        d->setPrintIfEmpty(printIfEmpty);
        if (withHeader) {
            ReportBand* h = report->addBand(ReportBand::Kind::GroupHeader, QStringLiteral("H"), 10);
            (new ReportLabel(h, QStringLiteral("key")))->setText(QString());
            d->setHeader(h);
        }
        d->beforePrint = [&](ReportBand&, bool& print) {
            print = suppress.isEmpty() ||
                    detail->fieldByName(QStringLiteral("D_name")).asString() != suppress;
        };
        QCOMPARE(sequence(report->run()), expected);
        Q_UNUSED(m);
    }

    void emptyMasterPrintsOnceWhenAsked_data() {
        QTest::addColumn<bool>("printIfEmpty");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("print if empty") << true << QStringList{"M:", "D:"};
        QTest::newRow("not") << false << QStringList{};
    }

    void emptyMasterPrintsOnceWhenAsked() {
        QFETCH(bool, printIfEmpty);
        QFETCH(QStringList, expected);
        load({});
        masterDetail();
        report->bands().at(1)->setPrintIfEmpty(printIfEmpty);
        report->bands().at(2)->setPrintIfEmpty(true);
        const ReportDocument doc = report->run();
        QCOMPARE(sequence(doc), expected);
        QCOMPARE(doc.pages.size(), 1); // the page header always prints
        QVERIFY(findItem(doc.pages[0], QStringLiteral("page")));
    }

    void disabledBandsAndTheirSubDetailsDoNotPrint_data() {
        QTest::addColumn<QString>("disabled");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("sub-detail") << "D" << QStringList{"M:a", "M:b"};
        QTest::newRow("detail, with what hangs below it") << "M" << QStringList{};
        QTest::newRow("none") << "" << QStringList{"M:a", "D:a1", "M:b", "D:b1"};
    }

    void disabledBandsAndTheirSubDetailsDoNotPrint() {
        QFETCH(QString, disabled);
        QFETCH(QStringList, expected);
        load({1, 1});
        masterDetail();
        for (ReportBand* b : report->bands())
            b->setEnabled(b->objectName() != disabled);
        QCOMPARE(sequence(report->run()), expected);
    }

    void aCancelledMasterTakesItsSubDetailsWhenItSaysSo_data() {
        QTest::addColumn<bool>("cancelsSubDetails");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("it says so") << true << QStringList{"M:b", "D:b1"};
        QTest::newRow("by default they print") << false << QStringList{"D:a1", "M:b", "D:b1"};
    }

    void aCancelledMasterTakesItsSubDetailsWhenItSaysSo() {
        QFETCH(bool, cancelsSubDetails);
        QFETCH(QStringList, expected);
        load({1, 1});
        masterDetail();
        ReportBand* m = report->bands().at(1);
        m->setCancelsSubDetails(cancelsSubDetails);
        m->beforePrint = [&](ReportBand&, bool& print) {
            print = master->fieldByName(QStringLiteral("M_name")).asString() != QLatin1String("a");
        };
        QCOMPARE(sequence(report->run()), expected);
    }

    // Letter portrait with 0.5 inch margins leaves 960 units: a 100-unit header, the master row
    // (20) and 42 detail rows of 20 fill the first page exactly.
    void pagination_data() {
        QTest::addColumn<int>("rows");
        QTest::addColumn<QList<int>>("rowsPerPage"); // detail rows on each page
        QTest::newRow("exactly one page") << 42 << QList<int>{42};
        QTest::newRow("one more starts a page") << 43 << QList<int>{42, 1};
        QTest::newRow("later pages hold 43") << 86 << QList<int>{42, 43, 1};
    }

    void pagination() {
        QFETCH(int, rows);
        QFETCH(QList<int>, rowsPerPage);
        load({rows});
        masterDetail();
        const ReportDocument doc = report->run();
        QCOMPARE(doc.pages.size(), rowsPerPage.size());
        for (int p = 0; p < doc.pages.size(); ++p) {
            const ReportPage& page = doc.pages[p];
            QCOMPARE(page.number, p + 1);
            int details = 0;
            for (const ReportItem& item : page.items)
                details += item.band == QLatin1String("D") ? 1 : 0;
            QCOMPARE(details, rowsPerPage[p]);
            // The header on every page, first on the page, with its page number.
            QCOMPARE(page.items.first().id, QStringLiteral("page"));
            QCOMPARE(page.items.first().text, QStringLiteral("Page %1").arg(p + 1));
            QCOMPARE(page.items.first().box.top(), 48.0);
            // The last row ends within the printable area.
            QVERIFY(page.items.last().box.top() + 20 <= 48 + 960);
        }
    }

    // Millimetre layouts add up fractions; a band that fits exactly must not move on.
    void millimetreBandsThatFitExactlyStay_data() {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("pages");
        QTest::newRow("fills the page") << 36 << 1;
        QTest::newRow("one too many") << 37 << 2;
    }

    void millimetreBandsThatFitExactlyStay() {
        QFETCH(int, rows);
        QFETCH(int, pages);
        PageSetup setup;
        setup.unit = PageSetup::Unit::Millimetre;
        setup.margins = QMarginsF(12.7, 12.7, 12.7, 12.7); // 254 mm printable height
        report->setPageSetup(setup);
        load({rows});
        // 24.2 + 6.3 * 36 = 251 mm, then the 3 mm master row: 254.
        report->addBand(ReportBand::Kind::PageHeader, QStringLiteral("header"), 24.2);
        ReportBand* m = band(ReportBand::Kind::Detail, QStringLiteral("M"), 2.8, master.get(),
                             QStringLiteral("M_name"));
        ReportBand* d = band(ReportBand::Kind::SubDetail, QStringLiteral("D"), 6.3, detail.get(),
                             QStringLiteral("D_name"));
        d->setMaster(m);
        const ReportDocument doc = report->run();
        QCOMPARE(doc.pages.size(), pages);
        QCOMPARE(doc.setup.printableRect().width(), 215.9 - 25.4);
    }

    void detailCanStartANewPage() {
        load({1, 1, 0});
        masterDetail();
        report->bands().at(1)->setForceNewPage(true);
        const ReportDocument doc = report->run();
        QCOMPARE(doc.pages.size(), 3);
        // The first master does not leave an empty page behind.
        QCOMPARE(findItem(doc.pages[0], QStringLiteral("key"))->text, QStringLiteral("a"));
        QCOMPARE(findItem(doc.pages[2], QStringLiteral("key"))->text, QStringLiteral("c"));
    }

    void stretchingTextGrowsItsBand_data() {
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("rowsBefore"); // rows printed before the memo band
        QTest::addColumn<int>("memoPage");
        QTest::addColumn<bool>("grows");
        QTest::newRow("one line keeps the band") << 1 << 0 << 1 << false;
        QTest::newRow("twelve lines grow it") << 12 << 0 << 1 << true;
        QTest::newRow("a grown band that no longer fits moves on") << 12 << 40 << 2 << true;
    }

    void stretchingTextGrowsItsBand() {
        QFETCH(int, lines);
        QFETCH(int, rowsBefore);
        QFETCH(int, memoPage);
        QFETCH(bool, grows);
        QStringList text;
        for (int i = 0; i < lines; ++i)
            text << QStringLiteral("line %1").arg(i + 1);
        memoReport(text.join(QLatin1Char('\n')), rowsBefore);

        const ReportDocument doc = report->run();
        const ReportItem* item = nullptr;
        int page = 0;
        for (int p = 0; p < doc.pages.size() && !item; ++p) {
            item = findItem(doc.pages[p], QStringLiteral("memo"));
            page = p + 1;
        }
        QVERIFY(item);
        QCOMPARE(page, memoPage);
        QCOMPARE(item->box.height() > 17, grows);
        QVERIFY(item->wordWrap);
        // What follows the memo starts below the grown band (or on the next page).
        const ReportItem* end = findItem(doc.pages.last(), QStringLiteral("after"));
        QVERIFY(end);
        if (doc.pages.last().number == page)
            QCOMPARE(end->box.top(), item->box.top() - 21 + 48 + (item->box.height() - 17));
        else
            QCOMPARE(end->box.top(), 148.0); // right under the next page's header
    }

    void labelsAreSizedAndAligned_data() {
        QTest::addColumn<bool>("autoSize");
        QTest::addColumn<int>("alignment");
        QTest::addColumn<bool>("onBand");
        QTest::addColumn<QString>("expectedLeft"); // "left", "right", "centre", "band centre"
        QTest::newRow("fixed box keeps its place")
            << false << int(Qt::AlignRight) << false << "fixed";
        QTest::newRow("sized, left") << true << int(Qt::AlignLeft) << false << "left";
        QTest::newRow("sized, right keeps the right edge")
            << true << int(Qt::AlignRight) << false << "right";
        QTest::newRow("sized, centred keeps the centre")
            << true << int(Qt::AlignHCenter) << false << "centre";
        QTest::newRow("centred on the band")
            << false << int(Qt::AlignHCenter) << true << "band centre";
    }

    void labelsAreSizedAndAligned() {
        QFETCH(bool, autoSize);
        QFETCH(int, alignment);
        QFETCH(bool, onBand);
        QFETCH(QString, expectedLeft);
        ReportBand* header = report->addBand(ReportBand::Kind::PageHeader, QStringLiteral("H"), 40);
        auto* l = new ReportLabel(header, QStringLiteral("l"));
        l->setText(QStringLiteral("Project Time Line"));
        l->setFont(ReportFont(QStringLiteral("Arial"), 14, true));
        l->setGeometry(100, 8, 300, 0);
        l->setAutoSize(autoSize);
        l->setAlignment(Qt::Alignment(alignment));
        l->setAlignToBand(onBand);
        const ReportItem item = *findItem(report->run().pages[0], QStringLiteral("l"));
        // Arial 14 bold is 18.67 units high; the text is about 150 units wide.
        const qreal w = item.box.width();
        if (expectedLeft == QLatin1String("fixed")) {
            QCOMPARE(item.bandPos.x(), 100.0);
            QCOMPARE(w, 300.0);
        } else {
            QVERIFY2(w > 140 && w < 160, qPrintable(QString::number(w)));
            const qreal expected = expectedLeft == QLatin1String("left")     ? 100
                                   : expectedLeft == QLatin1String("right")  ? 400 - w
                                   : expectedLeft == QLatin1String("centre") ? 250 - w / 2
                                                                             : 360 - w / 2;
            QCOMPARE(item.bandPos.x(), expected);
        }
        QCOMPARE(item.box.left(), item.bandPos.x() + 48);
        QVERIFY(item.box.height() > 20 && item.box.height() < 23);
    }

    void fontsAreTheMetricCompatibleOnes_data() {
        QTest::addColumn<QString>("family");
        QTest::addColumn<QString>("installed");
        QTest::newRow("Arial") << "Arial"
                               << "Liberation Sans";
        QTest::newRow("Courier New") << "Courier New"
                                     << "Liberation Mono";
    }

    void fontsAreTheMetricCompatibleOnes() {
        QFETCH(QString, family);
        QFETCH(QString, installed);
        const ReportFont font(family, 10);
        QCOMPARE(QFontInfo(font.toQFont()).family(), installed);
        // 10 point at 96 dpi is 13.33 units: "MMMMMMMMMM" in Arial is 8.33 em wide, in Courier
        // New 6 em; a whole-pixel font size would be off by 2.5 %.
        const qreal em = family == QLatin1String("Arial") ? 0.833 : 0.6;
        QVERIFY(qAbs(font.textWidth(QStringLiteral("MMMMMMMMMM")) - em * 10 * 13.333) < 0.5);
    }

    void linesRunThroughTheCentreOfTheirBox_data() {
        QTest::addColumn<int>("shape");
        QTest::addColumn<QRectF>("box"); // band coordinates; the band starts at (48, 48)
        QTest::addColumn<QList<QLineF>>("lines");
        QTest::newRow("horizontal")
            << int(ReportShape::Shape::HorizontalLine) << QRectF(206, 63, 58, 17)
            << QList<QLineF>{QLineF(254, 119.5, 312, 119.5)};
        QTest::newRow("vertical") << int(ReportShape::Shape::VerticalLine) << QRectF(262, 0, 3, 17)
                                  << QList<QLineF>{QLineF(311.5, 48, 311.5, 65)};
        QTest::newRow("top and bottom")
            << int(ReportShape::Shape::TopAndBottomLines) << QRectF(156, 99, 300, 41)
            << QList<QLineF>{QLineF(204, 147, 504, 147), QLineF(204, 188, 504, 188)};
        QTest::newRow("rectangle has no lines")
            << int(ReportShape::Shape::Rectangle) << QRectF(10, 10, 10, 10) << QList<QLineF>{};
    }

    void linesRunThroughTheCentreOfTheirBox() {
        QFETCH(int, shape);
        QFETCH(QRectF, box);
        QFETCH(QList<QLineF>, lines);
        ReportBand* header =
            report->addBand(ReportBand::Kind::PageHeader, QStringLiteral("H"), 100);
        auto* s = new ReportShape(header, ReportShape::Shape(shape), QStringLiteral("s"));
        s->setGeometry(box.x(), box.y(), box.width(), box.height());
        s->setPenStyle(Qt::DotLine);
        const ReportItem item = *findItem(report->run().pages[0], QStringLiteral("s"));
        QCOMPARE(item.lines(), lines);
        QCOMPARE(item.penStyle, Qt::DotLine);
    }

    void framesAlongTheBottom() {
        load({2});
        masterDetail();
        ReportBand* d = report->bands().at(2);
        d->setFrameBottom(true);
        auto* name = new ReportLabel(d, QStringLiteral("framed"));
        name->setGeometry(8, 0, 199, 17);
        name->setFrameBottom(true);
        const ReportPage page = report->run().pages[0];
        const QList<ReportItem> framed = page.itemsNamed(QStringLiteral("framed"));
        QCOMPARE(framed.size(), 2);
        // The text's frame: along the bottom of its box (row 1 starts at 48 + 100 + 20).
        QCOMPARE(framed[0].lines(), QList<QLineF>{QLineF(56, 185, 255, 185)});
        // The band's frame: a line across the band at its bottom edge, once per row.
        QList<QLineF> bandLines;
        for (const ReportItem& item : page.items) {
            if (item.band == QLatin1String("D") && item.id.isEmpty())
                bandLines << item.lines();
        }
        QCOMPARE(bandLines, (QList<QLineF>{QLineF(48, 188, 768, 188), QLineF(48, 208, 768, 208)}));
    }

    void pageLevelElementsPrintLastOnEveryPage() {
        load({60});
        masterDetail();
        auto* line = new ReportShape(report->pageLevel(), ReportShape::Shape::VerticalLine,
                                     QStringLiteral("line"));
        line->setGeometry(174, 160, 5, 629);
        const ReportDocument doc = report->run();
        QCOMPARE(doc.pages.size(), 2);
        for (const ReportPage& page : doc.pages) {
            const ReportItem& last = page.items.last();
            QCOMPARE(last.id, QStringLiteral("line"));
            QCOMPARE(last.box, QRectF(174, 160, 5, 629)); // page coordinates, not band ones
            QCOMPARE(last.band, QString());
        }
    }

    void elementsMadeAtRunTimeAreFoundByTag() {
        ReportBand* header =
            report->addBand(ReportBand::Kind::PageHeader, QStringLiteral("H"), 100);
        new ReportLabel(header, QStringLiteral("fixed"));
        int runs = 0;
        report->beforePrint = [&](Report&) {
            for (ReportElement* e : header->elementsWithTag(9))
                delete e;
            for (int i = 0; i < (runs == 0 ? 5 : 2); ++i) {
                auto* l = new ReportLabel(header);
                l->setTag(9);
                l->setText(QString::number(i));
            }
            ++runs;
        };
        QCOMPARE(report->run().pages[0].items.size(), 6);
        QCOMPARE(header->elementsWithTag(9).size(), 5);
        QCOMPARE(report->run().pages[0].items.size(), 3);
        QCOMPARE(header->elements().size(), 3);
        QCOMPARE(header->elements().first()->objectName(), QStringLiteral("fixed"));
    }

    void systemData_data() {
        QTest::addColumn<int>("data");
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<QString>("expected");
        QTest::newRow("date") << int(ReportSysData::Data::Date) << "Date: "
                              << "Date: 03/01/2024";
        QTest::newRow("date without a blank") << int(ReportSysData::Data::Date) << "Current date:"
                                              << "Current date:03/01/2024";
        QTest::newRow("date and time") << int(ReportSysData::Data::DateTime) << "Date: "
                                       << "Date: 03/01/2024 18:30";
        QTest::newRow("page number") << int(ReportSysData::Data::PageNumber) << "Page # "
                                     << "Page # 1";
    }

    void systemData() {
        QFETCH(int, data);
        QFETCH(QString, prefix);
        QFETCH(QString, expected);
        ReportBand* header =
            report->addBand(ReportBand::Kind::PageHeader, QStringLiteral("H"), 100);
        auto* s = new ReportSysData(header, ReportSysData::Data(data), QStringLiteral("s"));
        s->setText(prefix);
        QVERIFY(findItem(report->run().pages[0], QStringLiteral("s"))->text.startsWith(expected));
    }

    void sumAddsWhatPrints_data() {
        QTest::addColumn<QList<int>>("details");
        QTest::addColumn<QString>("suppress");
        QTest::addColumn<QString>("mask");
        QTest::addColumn<QString>("expected");
        // Amounts are 10, 20, 30... per master.
        QTest::newRow("all rows, general format")
            << QList<int>{3, 1} << QString() << QString() << "70";
        QTest::newRow("suppressed rows add nothing") << QList<int>{3} << "a2" << QString() << "40";
        QTest::newRow("with a mask")
            << QList<int>{3, 3} << QString() << "###,###,##0.00;(###,###,##0.00)"
            << "120.00";
        QTest::newRow("an empty row adds zero")
            << QList<int>{0} << QString() << "###,###,##0.00;(###,###,##0.00)"
            << "0.00";
    }

    void sumAddsWhatPrints() {
        QFETCH(QList<int>, details);
        QFETCH(QString, suppress);
        QFETCH(QString, mask);
        QFETCH(QString, expected);
        load(details);
        masterDetail();
        ReportBand* d = report->bands().at(2);
        d->setPrintIfEmpty(true);
        d->beforePrint = [&](ReportBand&, bool& print) {
            print = suppress.isEmpty() ||
                    detail->fieldByName(QStringLiteral("D_name")).asString() != suppress;
        };
        auto* sum =
            new ReportSum(report->addBand(ReportBand::Kind::Summary, QStringLiteral("S"), 40),
                          QStringLiteral("sum"));
        sum->setExpression(detail.get(), QStringLiteral("D_amount"));
        sum->setAccumulateBand(d);
        sum->setMask(mask);
        QCOMPARE(findItem(report->run().pages.last(), QStringLiteral("sum"))->text, expected);
        // A second run starts again from zero.
        QCOMPARE(findItem(report->run().pages.last(), QStringLiteral("sum"))->text, expected);
    }

    void numberMask_data() {
        QTest::addColumn<QString>("mask");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("expected");
        const QString money = QStringLiteral("###,###,##0.00;(###,###,##0.00)");
        QTest::newRow("two decimals") << money << 950.5 << "en_US"
                                      << "950.50";
        QTest::newRow("negative in parentheses, no sign") << money << -300.0 << "en_US"
                                                          << "(300.00)";
        QTest::newRow("grouping") << money << 1234567.0 << "en_US"
                                  << "1,234,567.00";
        QTest::newRow("zero") << money << 0.0 << "en_US"
                              << "0.00";
        QTest::newRow("rounds half up") << money << 2.005 + 1e-9 << "en_US"
                                        << "2.01";
        QTest::newRow("tiny negative is zero") << money << -0.001 << "en_US"
                                               << "0.00";
        QTest::newRow("locale separators") << money << 1234567.5 << "de_DE"
                                           << "1.234.567,50";
        QTest::newRow("optional decimals") << "#,##0.##" << 12.5 << "en_US"
                                           << "12.5";
        QTest::newRow("no negative section keeps the sign") << "0.0" << -2.25 << "en_US"
                                                            << "-2.3";
        QTest::newRow("zero section") << "0.00;(0.00);nil" << 0.0 << "en_US"
                                      << "nil";
    }

    void numberMask() {
        QFETCH(QString, mask);
        QFETCH(double, value);
        QFETCH(QString, locale);
        QFETCH(QString, expected);
        QCOMPARE(NumberMask(mask).format(value, QLocale(locale)), expected);
    }

    void pdfHasEveryPage() {
        load({60});
        masterDetail();
        const QString path = QDir(env->root()).filePath(QStringLiteral("out.pdf"));
        report->exportPdf(path);
        QCOMPARE(pdfPageCount(path), 2);
    }

    void pdfToAnUnwritablePlaceFails() {
        load({1});
        masterDetail();
        const QString path = QDir(env->root()).filePath(QStringLiteral("missing/folder/out.pdf"));
        try {
            report->exportPdf(path);
            QFAIL("no error");
        } catch (const std::exception& e) {
            QVERIFY(QString::fromUtf8(e.what()).contains(QStringLiteral("out.pdf")));
        }
    }

    void layoutJsonCarriesPositions() {
        load({1});
        masterDetail();
        const QJsonObject json = ReportLayoutJson::toJson(report->run());
        QCOMPARE(json.value(QStringLiteral("paper")).toString(), QStringLiteral("letter"));
        QCOMPARE(json.value(QStringLiteral("unit")).toString(), QStringLiteral("1/96 inch"));
        const QJsonArray items = json.value(QStringLiteral("pages"))
                                     .toArray()
                                     .at(0)
                                     .toObject()
                                     .value(QStringLiteral("items"))
                                     .toArray();
        const QJsonObject row = items.at(2).toObject(); // header page number, master, detail
        QCOMPARE(row.value(QStringLiteral("id")).toString(), QStringLiteral("key"));
        QCOMPARE(row.value(QStringLiteral("band")).toString(), QStringLiteral("D"));
        QCOMPARE(row.value(QStringLiteral("text")).toString(), QStringLiteral("a1"));
        QCOMPARE(row.value(QStringLiteral("y")).toDouble(), 48.0 + 100 + 20);
        QCOMPARE(row.value(QStringLiteral("bandY")).toDouble(), 0.0);
        QCOMPARE(row.value(QStringLiteral("visible")).toBool(), true);
        QCOMPARE(
            row.value(QStringLiteral("font")).toObject().value(QStringLiteral("family")).toString(),
            QStringLiteral("Arial"));
    }

    void printingWithoutAPrinterWritesAPdf() {
        if (ReportPrinter::printerInstalled())
            QSKIP("this machine has a printer");
        qputenv("HOME", env->root().toLocal8Bit());
        qputenv("XDG_CONFIG_HOME",
                QDir(env->root()).filePath(QStringLiteral("config")).toLocal8Bit());
        load({60});
        masterDetail();
        report->setTitle(QStringLiteral("Master list"));
        QStringList said;
        Messages::setHandler([&](const Messages::Request& r) {
            said << r.text;
            return QMessageBox::Ok;
        });
        report->print(false);
        report->print(false); // a second print does not overwrite the first
        const QString folder = QDir(env->root()).filePath(QStringLiteral("Documents"));
        const QStringList expected{QDir(folder).filePath(QStringLiteral("Master list.pdf")),
                                   QDir(folder).filePath(QStringLiteral("Master list (2).pdf"))};
        QCOMPARE(said.size(), 2);
        for (int i = 0; i < 2; ++i) {
            QVERIFY2(said[i].endsWith(expected[i]), qPrintable(said[i]));
            QVERIFY(said[i].startsWith(QStringLiteral("No printer is installed.")));
            QCOMPARE(pdfPageCount(expected[i]), 2);
        }
    }

    // A print goes where the user chose, or the user is told where it went.
    void aPrintGoesWhereTheUserChose_data() {
        QTest::addColumn<int>("answer");          // the set-up dialog's
        QTest::addColumn<bool>("fileInDialog");   // "Print to File (PDF)" picked in it
        QTest::addColumn<QStringList>("printed"); // where each of two prints went
        QTest::newRow("file picked, dialog cancelled: the printer, twice")
            << int(QDialog::Rejected) << true << QStringList{"printer", "printer"};
        QTest::newRow("file picked and accepted: the file, said; then the printer")
            << int(QDialog::Accepted) << true << QStringList{"file, said", "printer"};
        QTest::newRow("printer kept, accepted")
            << int(QDialog::Accepted) << false << QStringList{"printer", "printer"};
    }

    void aPrintGoesWhereTheUserChose() {
        QFETCH(int, answer);
        QFETCH(bool, fileInDialog);
        QFETCH(QStringList, printed);
        load({60});
        masterDetail();
        report->subject = [] { return QStringLiteral("Office Move"); };
        const QString path = QDir(env->root()).filePath(QStringLiteral("chosen.pdf"));
        Modal::setHandler([&](QDialog* d) {
            auto* dialog = qobject_cast<QPrintDialog*>(d);
            // What Qt's dialog does as "Print to File (PDF)" is picked, before any answer.
            if (dialog && fileInDialog) {
                dialog->printer()->setOutputFormat(QPrinter::PdfFormat);
                dialog->printer()->setOutputFileName(path);
            }
            return answer;
        });
        QStringList said;
        Messages::setHandler([&](const Messages::Request& r) {
            said << r.text;
            return QMessageBox::Ok;
        });
        QStringList went;
        ReportPrinter::setHandler([&](QPrinter& printer, const ReportDocument&) {
            QVERIFY(printer.outputFileName().isEmpty()); // to the queue, not to a file
            went << QStringLiteral("printer");
        });
        report->print(true);
        if (QFile::exists(path)) {
            went << (said.value(0) == QStringLiteral("The report was saved as ") + path
                         ? QStringLiteral("file, said")
                         : QStringLiteral("file, not said"));
            const QHash<QString, QString> facts = pdfFacts(path);
            if (!facts.isEmpty())
                QCOMPARE(facts.value(QStringLiteral("Subject")), QStringLiteral("Office Move"));
            QFile::remove(path);
        }
        report->print(false);
        QVERIFY(!QFile::exists(path));
        QCOMPARE(went, printed);
    }

    // Which way a print goes, from what the printer holds and whether a printer is installed:
    // a printer made before any was installed prints to one once there is one.
    void destinationFollowsThePrinterAndWhatIsInstalled_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("installed");
        QTest::addColumn<int>("destination");
        using D = ReportPrinter::Destination;
        QTest::newRow("no printer") << "" << false << int(D::NewPdf);
        QTest::newRow("a printer installed since") << "" << true << int(D::Printer);
        QTest::newRow("a file chosen") << "out.pdf" << true << int(D::ChosenFile);
        QTest::newRow("a file chosen, no printer") << "out.pdf" << false << int(D::ChosenFile);
    }

    void destinationFollowsThePrinterAndWhatIsInstalled() {
        QFETCH(QString, file);
        QFETCH(bool, installed);
        QFETCH(int, destination);
        if (!QPrinterInfo::availablePrinterNames().isEmpty())
            QSKIP("this machine has a printer");
        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat); // as made with no printer installed
        if (!file.isEmpty())
            printer.setOutputFileName(QDir(env->root()).filePath(file));
        if (installed)
            ReportPrinter::setHandler([](QPrinter&, const ReportDocument&) {});
        QCOMPARE(int(ReportPrinter::destination(printer)), destination);
    }

    // The preview's own Print and Page setup start on the report's paper, and Print keeps it.
    void previewPrintsOnTheReportsPaper() {
        legalLandscapeMasterDetail();
        QStringList seen;
        QPageLayout printed;
        ReportPrinter::setHandler(
            [&](QPrinter& printer, const ReportDocument&) { printed = printer.pageLayout(); });
        const auto paper = [](const QPageLayout& l) -> QString {
            return l.pageSize().key() + (l.orientation() == QPageLayout::Landscape
                                             ? QStringLiteral(" landscape")
                                             : QStringLiteral(" portrait"));
        };
        Modal::setHandler([&](QDialog* d) {
            if (auto* preview = qobject_cast<ReportPreview*>(d)) {
                preview->findChild<QAction*>(QStringLiteral("PageSetupAction"))->trigger();
                preview->findChild<QAction*>(QStringLiteral("PrintAction"))->trigger();
                return int(QDialog::Accepted);
            }
            if (auto* setup = qobject_cast<QPageSetupDialog*>(d)) {
                seen << QStringLiteral("page setup: ") + paper(setup->printer()->pageLayout());
                return int(QDialog::Rejected);
            }
            if (auto* dialog = qobject_cast<QPrintDialog*>(d)) {
                seen << QStringLiteral("print: ") + paper(dialog->printer()->pageLayout());
                // What Qt's dialog does on a CUPS queue as it is accepted: the queue's default.
                dialog->printer()->setPageLayout(
                    QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
                Q_EMIT dialog->accepted(dialog->printer());
                return int(QDialog::Accepted);
            }
            return int(QDialog::Rejected);
        });
        report->preview();
        QCOMPARE(seen, (QStringList{"page setup: Legal landscape", "print: Legal landscape"}));
        QCOMPARE(paper(printed), QStringLiteral("Legal landscape"));
    }

    void printsWhateverTheSetUpDialogAnswers_data() {
        QTest::addColumn<bool>("showDialog");
        QTest::addColumn<int>("answer");
        QTest::newRow("no dialog") << false << int(QDialog::Accepted);
        QTest::newRow("dialog accepted") << true << int(QDialog::Accepted);
        QTest::newRow("dialog cancelled") << true << int(QDialog::Rejected);
    }

    void printsWhateverTheSetUpDialogAnswers() {
        QFETCH(bool, showDialog);
        QFETCH(int, answer);
        legalLandscapeMasterDetail();
        int dialogs = 0;
        Modal::setHandler([&](QDialog* d) {
            dialogs += qobject_cast<QPrintDialog*>(d) ? 1 : 0;
            return answer;
        });
        int printed = 0;
        QPageLayout::Orientation orientation = QPageLayout::Portrait;
        ReportPrinter::setHandler([&](QPrinter& printer, const ReportDocument& doc) {
            printed += static_cast<int>(doc.pages.size());
            orientation = printer.pageLayout().orientation();
        });
        report->print(showDialog);
        QCOMPARE(dialogs, showDialog ? 1 : 0);
        QCOMPARE(printed, 2);
        QCOMPARE(orientation, QPageLayout::Landscape);
    }

    void previewShowsEveryPage() {
        load({100});
        masterDetail();
        int shown = -1;
        Modal::setHandler([&](QDialog* d) {
            auto* preview = qobject_cast<ReportPreview*>(d);
            if (!preview)
                return int(QDialog::Rejected);
            shown = preview->pages()->pageCount();
            return int(QDialog::Rejected);
        });
        report->preview();
        QCOMPARE(shown, 3);
    }

    void longTextRunsOnOverAsManyPagesAsItTakes_data() {
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("rowsBefore"); // rows of 20 printed before the memo band
        QTest::addColumn<int>("firstPage");
        QTest::newRow("starts where it is") << 90 << 5 << 1;
        QTest::newRow("over three pages") << 150 << 0 << 1;
        QTest::newRow("no room for its caption: starts on the next page") << 120 << 42 << 2;
        QTest::newRow("long lines wrap, and run on") << 40 << 0 << 1;
    }

    void longTextRunsOnOverAsManyPagesAsItTakes() {
        QFETCH(int, lines);
        QFETCH(int, rowsBefore);
        QFETCH(int, firstPage);
        QStringList text;
        for (int i = 0; i < lines; ++i)
            text << (lines == 40 ? QStringLiteral("word%1 ").arg(i).repeated(40).trimmed()
                                 : QStringLiteral("line %1").arg(i + 1));
        ReportBand* notes = memoReport(text.join(QLatin1Char('\n')), rowsBefore);
        notes->setFrameBottom(true);
        auto* caption = new ReportLabel(notes, QStringLiteral("caption"));
        caption->setText(QStringLiteral("Notes"));

        const ReportDocument doc = report->run();
        const qreal top = 48 + 100, bottom = 48 + 960;
        const qreal line = ReportFont().lineHeight();
        QStringList shown;
        QList<int> pages;
        qreal lastBottom = 0;
        for (const ReportPage& page : doc.pages) {
            for (const ReportItem& item : page.itemsNamed(QStringLiteral("memo"))) {
                shown << item.text.split(QLatin1Char('\n'));
                pages << page.number;
                QVERIFY(item.wordWrap && !item.overflows);
                QVERIFY2(item.box.bottom() <= bottom + 1e-6,
                         qPrintable(QString::number(item.box.bottom())));
                QVERIFY(item.clip.contains(item.box));
                if (pages.size() > 1)
                    QCOMPARE(item.box.top(), top); // right under the page header
                lastBottom = item.box.bottom();
            }
        }
        // The first lines where the text stands in its band, below its caption, not over it.
        const ReportItem firstPiece =
            doc.pages[firstPage - 1].itemsNamed(QStringLiteral("memo")).value(0);
        QCOMPARE(firstPiece.bandPos.y(), 21.0);
        QVERIFY(!firstPiece.box.intersects(
            doc.pages[firstPage - 1].itemsNamed(QStringLiteral("caption")).value(0).box));
        // Every line once, in order, the caption once, on its first page.
        QCOMPARE(shown.join(QLatin1Char(' ')).simplified(),
                 text.join(QLatin1Char(' ')).simplified());
        QCOMPARE(pages.first(), firstPage);
        QVERIFY(pages.size() > 1);
        for (int i = 1; i < pages.size(); ++i)
            QCOMPARE(pages[i], pages[i - 1] + 1);
        QCOMPARE(doc.pages[firstPage - 1].itemsNamed(QStringLiteral("caption")).size(), 1);
        int captions = 0;
        for (const ReportPage& page : doc.pages)
            captions += static_cast<int>(page.itemsNamed(QStringLiteral("caption")).size());
        QCOMPARE(captions, 1);
        // Each page but the last is full to within a line.
        for (int i = 0; i + 1 < pages.size(); ++i) {
            const ReportItem piece =
                doc.pages[pages[i] - 1].itemsNamed(QStringLiteral("memo")).last();
            QVERIFY(piece.box.bottom() > bottom - line);
        }
        // What follows starts below the last lines, after the band's frame.
        const ReportItem end = doc.pages.last().itemsNamed(QStringLiteral("after")).value(0);
        QCOMPARE(doc.pages.last().number, pages.last());
        QVERIFY(end.box.top() >= lastBottom);
        int frames = 0;
        for (const ReportPage& page : doc.pages) {
            for (const ReportItem& item : page.items)
                frames += item.band == QLatin1String("N") &&
                          item.kind == ReportItem::Kind::HorizontalLine;
        }
        QCOMPARE(frames, 1);
    }

    void aKeptBandNeverEndsAPage_data() {
        QTest::addColumn<bool>("keep");
        QTest::addColumn<QList<int>>("details");
        QTest::addColumn<int>("headerPage"); // the page of the second master's header
        // 39 rows leave room for the second master and its header, not its first row.
        QTest::newRow("not kept: ends the page") << false << QList<int>{39, 2} << 1;
        QTest::newRow("kept: goes with its first row") << true << QList<int>{39, 2} << 2;
        QTest::newRow("kept, with room for the row") << true << QList<int>{38, 2} << 1;
    }

    void aKeptBandNeverEndsAPage() {
        QFETCH(bool, keep);
        QFETCH(QList<int>, details);
        QFETCH(int, headerPage);
        load(details);
        masterDetail();
        ReportBand* header =
            report->addBand(ReportBand::Kind::GroupHeader, QStringLiteral("H"), 20);
        (new ReportLabel(header, QStringLiteral("key")))->setText(QStringLiteral("captions"));
        header->setKeepWithNext(keep);
        report->findChild<ReportBand*>(QStringLiteral("D"))->setHeader(header);

        const ReportDocument doc = report->run();
        QList<int> headers;
        for (const ReportPage& page : doc.pages) {
            for (const ReportItem& item : page.itemsNamed(QStringLiteral("key"))) {
                if (item.band == QLatin1String("H"))
                    headers << page.number;
            }
        }
        QCOMPARE(headers.size(), 2);
        QCOMPARE(headers[1], headerPage);
        // The header is followed by its first row on the same page, right below it.
        const ReportPage& page = doc.pages[headerPage - 1];
        const QList<ReportItem> keys = page.itemsNamed(QStringLiteral("key"));
        for (int i = 0; i < keys.size(); ++i) {
            if (keys[i].band != QLatin1String("H") || keys[i].text != QLatin1String("captions"))
                continue;
            if (i + 1 == keys.size()) {
                QVERIFY(!keep);
                continue;
            }
            if (keys[i + 1].band == QLatin1String("D"))
                QCOMPARE(keys[i + 1].box.top(), keys[i].box.top() + 20);
        }
        QCOMPARE(sequence(doc).size(), 2 + 2 + details[0] + details[1]);
    }

    void pdfCarriesTitleAndSubject_data() {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("subject");
        QTest::newRow("plain") << QStringLiteral("Master list") << QStringLiteral("Office Move");
        QTest::newRow("accents") << QStringLiteral("Rapport détaillé du projet")
                                 << QStringLiteral("Déménagement (été)");
    }

    void pdfCarriesTitleAndSubject() {
        QFETCH(QString, title);
        QFETCH(QString, subject);
        load({60});
        masterDetail();
        report->setTitle(title);
        report->subject = [subject] { return subject; };
        const QString path = QDir(env->root()).filePath(QStringLiteral("out.pdf"));
        report->exportPdf(path);
        const QHash<QString, QString> facts = pdfFacts(path);
        if (facts.isEmpty())
            QSKIP("pdfinfo (poppler-utils) is not installed");
        QCOMPARE(facts.value(QStringLiteral("Title")), title);
        QCOMPARE(facts.value(QStringLiteral("Subject")), subject);
        QCOMPARE(facts.value(QStringLiteral("Pages")), QStringLiteral("2"));
    }

    void theSetUpDialogKeepsTheReportsPaper_data() {
        QTest::addColumn<int>("pageSetup"); // -1 never opened, else how it was answered
        QTest::addColumn<bool>("chosen");
        QTest::newRow("page set-up never opened: the report's paper") << -1 << false;
        QTest::newRow("page set-up cancelled: the report's paper")
            << int(QDialog::Rejected) << false;
        QTest::newRow("page set-up accepted: the user's choice") << int(QDialog::Accepted) << true;
    }

    void theSetUpDialogKeepsTheReportsPaper() {
        QFETCH(int, pageSetup);
        QFETCH(bool, chosen);
        const bool pageSetupOpened = chosen;
        legalLandscapeMasterDetail();
        Modal::setHandler([&](QDialog* d) {
            auto* dialog = qobject_cast<QPrintDialog*>(d);
            if (!dialog)
                return int(QDialog::Rejected);
            QDialog properties(dialog);
            if (pageSetup >= 0) {
                properties.show();
                properties.done(pageSetup);
            }
            // What Qt's dialog does on a CUPS queue as it is accepted: the queue's default paper.
            dialog->printer()->setPageSize(QPageSize(QPageSize::A4));
            dialog->printer()->setPageOrientation(QPageLayout::Portrait);
            Q_EMIT dialog->accepted(dialog->printer());
            return int(QDialog::Accepted);
        });
        QPageLayout printed;
        ReportPrinter::setHandler(
            [&](QPrinter& printer, const ReportDocument&) { printed = printer.pageLayout(); });
        report->print(true);
        QCOMPARE(printed.pageSize().id(), pageSetupOpened ? QPageSize::A4 : QPageSize::Legal);
        QCOMPARE(printed.orientation(),
                 pageSetupOpened ? QPageLayout::Portrait : QPageLayout::Landscape);
    }

    void printingThroughTheDialogFitsThePaperChosen_data() {
        QTest::addColumn<bool>(
            "legal"); // the report's paper: legal landscape, else letter portrait
        QTest::addColumn<int>("paper");
        QTest::addColumn<int>("orientation");
        QTest::addColumn<QString>("size"); // as pdfinfo gives it
        QTest::addColumn<bool>("shrunk");
        QTest::newRow("the report's own paper, as the dialog starts")
            << true << int(QPageSize::Legal) << int(QPageLayout::Landscape) << "1008 x 612 pts"
            << false;
        QTest::newRow("A4 portrait chosen: as wide as it can")
            << true << int(QPageSize::A4) << int(QPageLayout::Portrait) << "595 x 842 pts (A4)"
            << true;
        QTest::newRow("a portrait report on landscape paper: as high as it can")
            << false << int(QPageSize::Letter) << int(QPageLayout::Landscape) << "792 x 612 pts"
            << true;
    }

    void printingThroughTheDialogFitsThePaperChosen() {
        QFETCH(bool, legal);
        QFETCH(int, paper);
        QFETCH(int, orientation);
        QFETCH(QString, size);
        QFETCH(bool, shrunk);
        if (legal) {
            legalLandscapeMasterDetail();
        } else {
            load({60});
            masterDetail();
        }
        // The report's paper and its right margin, in points.
        const QSizeF reportPaper = legal ? QSizeF(1008, 612) : QSizeF(612, 792);
        const qreal rightMargin = 36; // half an inch on either
        // The last word ends at the band's right edge, the paper's right margin.
        auto* right = new ReportLabel(report->findChild<ReportBand*>(QStringLiteral("header")),
                                      QStringLiteral("right"));
        right->setText(QStringLiteral("EDGE"));
        right->setAlignment(Qt::AlignRight);
        right->setAlignToBand(true);
        const QString path = QDir(env->root()).filePath(QStringLiteral("printed.pdf"));
        QPageLayout started;
        Modal::setHandler([&](QDialog* d) {
            auto* dialog = qobject_cast<QPrintDialog*>(d);
            if (!dialog)
                return int(QDialog::Rejected);
            QPrinter* printer = dialog->printer();
            started = printer->pageLayout();
            // What a user (or a queue's defaults) may leave in the dialog.
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(path);
            printer->setPageSize(QPageSize(QPageSize::PageSizeId(paper)));
            printer->setPageOrientation(QPageLayout::Orientation(orientation));
            return int(QDialog::Accepted);
        });
        Messages::setHandler([](const Messages::Request&) { return QMessageBox::Ok; });
        report->print(true);
        QCOMPARE(started.pageSize().id(), legal ? QPageSize::Legal : QPageSize::Letter);
        QCOMPARE(started.orientation(), legal ? QPageLayout::Landscape : QPageLayout::Portrait);

        const QHash<QString, QString> facts = pdfFacts(path);
        if (facts.isEmpty())
            QSKIP("pdfinfo (poppler-utils) is not installed");
        QVERIFY2(facts.value(QStringLiteral("Page size")).startsWith(size),
                 qPrintable(facts.value(QStringLiteral("Page size"))));
        QCOMPARE(facts.value(QStringLiteral("Pages")), QStringLiteral("2"));
        // Every word within the paper, the edge one where the margin puts it.
        QProcess words;
        words.start(QStringLiteral("pdftotext"),
                    {QStringLiteral("-bbox"), path, QStringLiteral("-")});
        QVERIFY(words.waitForFinished(30000));
        const QString html = QString::fromUtf8(words.readAllStandardOutput());
        static const QRegularExpression pageSize(
            QStringLiteral("<page width=\"([\\d.]+)\" height=\"([\\d.]+)\""));
        static const QRegularExpression word(
            QStringLiteral("<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" "
                           "yMax=\"([\\d.]+)\">([^<]*)<"));
        const QRegularExpressionMatch pageMatch = pageSize.match(html);
        QVERIFY(pageMatch.hasMatch());
        const qreal width = pageMatch.captured(1).toDouble();
        const qreal height = pageMatch.captured(2).toDouble();
        int count = 0;
        qreal edge = 0;
        for (auto it = word.globalMatch(html); it.hasNext();) {
            const QRegularExpressionMatch w = it.next();
            ++count;
            QVERIFY2(w.captured(1).toDouble() >= 0 && w.captured(2).toDouble() >= 0 &&
                         w.captured(3).toDouble() <= width && w.captured(4).toDouble() <= height,
                     qPrintable(w.captured(0)));
            if (w.captured(5) == QLatin1String("EDGE"))
                edge = std::max(edge, w.captured(3).toDouble());
        }
        QVERIFY(count > 60);
        const qreal scale =
            std::min({1.0, width / reportPaper.width(), height / reportPaper.height()});
        QCOMPARE(scale < 1, shrunk);
        QVERIFY2(qAbs(edge - ((width - reportPaper.width() * scale) / 2 +
                              (reportPaper.width() - rightMargin) * scale)) < 2,
                 qPrintable(QString::number(edge)));
    }
};

QTEST_MAIN(TestReport)
#include "tst_report.moc"
