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
        QTest::addColumn<int>("answer"); // the button the user presses
        QTest::addColumn<QString>("box");
        QTest::addColumn<bool>("remedied");
        const QString changed = QStringLiteral(
            "Vok|The record was changed or deleted by another user.\n\nThe record now shows "
            "what is stored. Put back what you typed, to store it over the other change?");
        QTest::newRow("layer error")
            << 0 << int(QMessageBox::Ok) << "Vok|Dataset not in edit or insert mode." << false;
        QTest::newRow("other error") << 1 << int(QMessageBox::Ok) << "Vok|out of range." << false;
        QTest::newRow("no error") << 2 << int(QMessageBox::Ok) << "" << false;
        QTest::newRow("another user's change, typed text put back")
            << 3 << int(QMessageBox::Yes) << changed << true;
        QTest::newRow("another user's change kept")
            << 3 << int(QMessageBox::No) << changed << false;
        QTest::newRow("another user's delete, nothing to put back")
            << 4 << int(QMessageBox::Yes)
            << "Vok|The record was changed or deleted by another user." << false;
    }
    void guardShowsTheErrorAndGoesOn() {
        QFETCH(int, kind);
        QFETCH(int, answer);
        QFETCH(QString, box);
        QFETCH(bool, remedied);
        QString seen;
        vok::Messages::setHandler([&](const vok::Messages::Request& r) {
            seen = r.title + QLatin1Char('|') + r.text;
            return QMessageBox::StandardButton(answer);
        });
        bool putBack = false;
        const bool ok = vok::Guard::run([&] {
            if (kind == 0)
                throw vok::DatabaseError::notEditing();
            if (kind == 1)
                throw std::out_of_range("out of range");
            if (kind == 3)
                throw vok::DatabaseError::changedByAnotherUser([&] { putBack = true; });
            if (kind == 4)
                throw vok::DatabaseError::changedByAnotherUser();
        });
        vok::Messages::setHandler({});
        QCOMPARE(ok, box.isEmpty());
        QCOMPARE(seen, box);
        QCOMPARE(putBack, remedied);
    }
};

QTEST_MAIN(TestUi)
#include "tst_ui.moc"
