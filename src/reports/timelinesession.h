#pragma once

#include "data/tdatamodule2.h"
#include "tform4.h"
#include "tform5.h"
#include "ui/main/tform1.h"

#include <QString>

// The time line's dialog and report on a data folder, without the main window's start-up: what
// the command line and the measurements run. The project, major activity and action
// record-sets are open.
class TimeLineSession {
public:
    explicit TimeLineSession(const QString& dataFolder);

    TDataModule2 dm;
    TForm1 form1;
    TForm4 form4;
    TForm5 form5;
};
