#pragma once

#include "reportform.h"

// The project layout report: the project's name at the top left, a trunk line down through its
// major activities, and from each major activity a line down through its actions, names only.
// Each row draws its own stretch of the lines, so they run on unbroken, across pages too.
// Never shown: TForm8 and vokctl run it.
class TForm9 : public ReportForm {
    Q_OBJECT
public:
    explicit TForm9(TDataModule2* dm, QObject* parent = nullptr);
};
