#pragma once

#include <QDialog>
#include <functional>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class TDataModule2;
class TForm1;
class TForm5;

namespace vok {
struct ReportDocument;
}

// "Print Time Line report": which project, where the scale starts, days or months, and whether
// to show the printer set-up dialog. Created once; its choices last as long as the process.
class TForm4 : public QDialog {
    Q_OBJECT
public:
    TForm4(TForm1* form1, TDataModule2* dm, QWidget* parent = nullptr);

    // The report this dialog prints; set once at start-up.
    void setReport(TForm5* report) { report_ = report; }

    QLabel* Label1;
    QComboBox* ComboBox1;
    QGroupBox* RadioGroup1;         // "Start date"
    QButtonGroup* RadioGroup1Items; // 0 "Project Start Date", 1 "Today"
    QGroupBox* RadioGroup2;         // "Time line"
    QButtonGroup* RadioGroup2Items; // 0 "Day", 1 "Month"
    QCheckBox* CheckBox1;
    QPushButton* Button1;
    QPushButton* Button2;
    QPushButton* Button3;

    // Runs the report for the project named in the combo box, with the project filter on for
    // the length of the run.
    vok::ReportDocument runReport();

public Q_SLOTS:
    void PrintPERT1Click();
    void Button1Click();
    void Button2Click();
    void Button3Click();

private:
    // Copies the chosen name to the main window, switches the project filter on, runs the
    // action and switches the filter off again, however the action ends.
    void withProjectFilter(const std::function<void()>& action);

    TForm1* form1_;
    TDataModule2* dm_;
    TForm5* report_ = nullptr;
};
