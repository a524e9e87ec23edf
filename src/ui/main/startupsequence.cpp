#include "startupsequence.h"

#include "app/settings.h"
#include "data/projectdata.h"
#include "detailpage.h"
#include "framework/dataset/databaseerror.h"
#include "framework/dataset/shortdate.h"
#include "framework/dataset/table.h"
#include "framework/ui/guard.h"
#include "liveupdate.h"
#include "mainwindow.h"
#include "recordtab.h"
#include "treecontroller.h"

#include <QLabel>

StartupSequence::StartupSequence(MainWindow& window) : QObject(&window), window_(window) {}

void StartupSequence::run() {
    vok::Guard::run([this] { firstActivation(); });
}

void StartupSequence::firstActivation() {
    ProjectData* dm = window_.dm();
    // Once per process: also when the connection could not be opened, since the error box
    // closing activates the window again and would ask for the same error forever.
    if (!dm || dm->store->isOpen() || connectionTried_)
        return;
    const Settings settings = Settings::read();
    dm->DataPath = settings.data;
    dm->store->setNetworkControlDir(dm->DataPath);

    const QString pattern = vok::ShortDate::pattern();
    for (const DetailPage* page : window_.pages()) {
        for (QLabel* hint : page->record->dateHints())
            hint->setText(pattern);
    }

    dm->connectTo(dm->DataPath);
    connectionTried_ = true;
    dm->openWorkingTables();

    // From the record Members opened on, appended to each team grid's pick list.
    vok::Table* members = dm->Members;
    vok::Field& name = members->fieldByName(QStringLiteral("Member_name"));
    while (!members->eof()) {
        for (DetailPage* page : window_.pages())
            page->setMemberPickList(page->memberPickList() << name.asString());
        members->next();
    }

    if (settings.language != QLatin1String("0")) {
        bool ok = false;
        const int index = settings.language.toInt(&ok);
        if (!ok)
            throw vok::DatabaseError(
                QStringLiteral("'%1' is not a valid integer value").arg(settings.language),
                vok::DatabaseError::Kind::Convert);
        if (window_.translateInterface)
            window_.translateInterface(index);
    }
    window_.tree->loadTree();
    if (settings.liveUpdates)
        window_.liveUpdate->start(*dm->store);
}
