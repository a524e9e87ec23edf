#include "liveupdate.h"

#include "framework/dataset/changewatch.h"
#include "framework/dataset/store.h"
#include "framework/ui/clock.h"
#include "framework/ui/guard.h"
#include "mainwindow.h"
#include "treecontroller.h"

#include <QApplication>
#include <QCoreApplication>
#include <QLocale>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTimer>

using namespace std::chrono_literals;

LiveUpdate::LiveUpdate(MainWindow& window)
    : QObject(&window), window_(window), retry_(new QTimer(this)) {
    setObjectName(QStringLiteral("LiveUpdate"));
    retry_->setSingleShot(true);
    retry_->setInterval(250ms);
    connect(retry_, &QTimer::timeout, this, &LiveUpdate::tryNow);
}

LiveUpdate::~LiveUpdate() = default;

void LiveUpdate::start(vok::Store& store) {
    if (watch_)
        return;
    watch_ = new vok::ChangeWatch(store, this);
    connect(watch_, &vok::ChangeWatch::othersCommitted, this, &LiveUpdate::othersCommitted);
    watch_->start();
    window_.statusBar()->setObjectName(QStringLiteral("StatusBar1"));
}

bool LiveUpdate::isActive() const {
    return watch_ && watch_->isActive();
}

QString LiveUpdate::note(const QTime& at) {
    // Hours and minutes: a locale whose short format has seconds would make the note look busy.
    QString format = QLocale().timeFormat(QLocale::ShortFormat);
    format.remove(QRegularExpression(QStringLiteral("[:.]ss?")));
    return QCoreApplication::translate("Form1", "Updated from another installation at %1")
        .arg(QLocale().toString(at, format));
}

void LiveUpdate::othersCommitted() {
    pending_ = true;
    recordRead_ = false;
    tryNow();
}

void LiveUpdate::tryNow() {
    if (!pending_)
        return;
    // A dialog, an entry window, a message or a menu is open: what it shows stays as it is, and
    // the window behind it is read when it closes.
    if (QApplication::activeModalWidget() || QApplication::activePopupWidget()) {
        retry_->start();
        return;
    }
    TreeController::Reading outcome = TreeController::Reading::Waiting;
    // An error is shown once; the next commit of another installation tries again.
    if (!vok::Guard::run([&] { outcome = window_.tree->readAgainWhatShows(!recordRead_); })) {
        pending_ = false;
        return;
    }
    switch (outcome) {
    case TreeController::Reading::Done:
        pending_ = false;
        window_.statusBar()->showMessage(note(vok::Clock::now().time()));
        break;
    case TreeController::Reading::RecordOnly:
        recordRead_ = true;
        retry_->start();
        break;
    case TreeController::Reading::Waiting:
        retry_->start();
        break;
    }
}
