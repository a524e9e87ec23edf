// The standard error box and the guard around event-loop entry points.
#include "framework/dataset/databaseerror.h"
#include "framework/ui/errorbox.h"
#include "framework/ui/guard.h"
#include "framework/ui/messages.h"

#include <QtTest>
#include <stdexcept>

class TestUi : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void fullStopIsAddedAfterCharactersThatSortAfterIt_data() {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("shown");
        QTest::newRow("letter") << "Table is busy"
                                << "Table is busy.";
        QTest::newRow("digit") << "Code 12"
                               << "Code 12.";
        QTest::newRow("slash sorts after the full stop") << "C:/data/"
                                                         << "C:/data/.";
        QTest::newRow("full stop already") << "Done."
                                           << "Done.";
        QTest::newRow("closing parenthesis") << "Locked (database is locked)"
                                             << "Locked (database is locked)";
        QTest::newRow("exclamation mark") << "Stop!"
                                          << "Stop!";
        QTest::newRow("blank") << "Trailing "
                               << "Trailing ";
        QTest::newRow("empty") << ""
                               << "";
    }
    void fullStopIsAddedAfterCharactersThatSortAfterIt() {
        QFETCH(QString, message);
        QFETCH(QString, shown);
        QCOMPARE(vok::ErrorBox::withFullStop(message), shown);
    }

    void guardShowsTheErrorAndGoesOn_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("box");
        QTest::newRow("layer error") << 0 << "Vok|Dataset not in edit or insert mode.";
        QTest::newRow("other error") << 1 << "Vok|out of range.";
        QTest::newRow("no error") << 2 << "";
    }
    void guardShowsTheErrorAndGoesOn() {
        QFETCH(int, kind);
        QFETCH(QString, box);
        QString seen;
        vok::Messages::setHandler([&](const vok::Messages::Request& r) {
            seen = r.title + QLatin1Char('|') + r.text;
            return QMessageBox::Ok;
        });
        const bool ok = vok::Guard::run([&] {
            if (kind == 0)
                throw vok::DatabaseError::notEditing();
            if (kind == 1)
                throw std::out_of_range("out of range");
        });
        vok::Messages::setHandler({});
        QCOMPARE(ok, box.isEmpty());
        QCOMPARE(seen, box);
    }
};

QTEST_MAIN(TestUi)
#include "tst_ui.moc"
