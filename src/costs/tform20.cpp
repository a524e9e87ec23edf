#include "tform20.h"

TForm20::TForm20(TDataModule2* dm, QWidget* parent)
    : PeriodDialog(dm, "Form20", QStringLiteral("Print Cost Entries"), parent),
      Project(projectBox()) {
    resize(420, 200);
}
