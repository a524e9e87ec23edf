#pragma once

#include "reportdialog.h"

class QComboBox;

// "Project Layout Report": which project's layout to print.
class TForm8 : public ReportDialog {
    Q_OBJECT
public:
    explicit TForm8(TDataModule2* dm, QWidget* parent = nullptr);

    QComboBox* ComboBox1;
};
