#include "timelinesession.h"

#include "framework/dataset/table.h"

TimeLineSession::TimeLineSession(const QString& dataFolder)
    : form4(&form1, &dm), form5(&form1, &dm, &form4) {
    form1.setDataModule(&dm);
    form4.setReport(&form5);
    dm.DataPath = dataFolder;
    dm.connectTo(dataFolder);
    for (vok::Table* t : {dm.projects, dm.Major, dm.Action})
        t->open();
}
