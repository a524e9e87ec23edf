#pragma once

#include <QDialog>
#include <functional>

class QAction;
class QCheckBox;
class QComboBox;
class QFormLayout;
class QLabel;
class QPushButton;
class QVBoxLayout;
class ReportForm;
class ProjectData;

// What every print dialog has: "Which Project" with the project names, "Show print dialog  ",
// and Print, Preview and Close. Created once at start-up; opened from its menu item, it stays
// open after a print or preview so that several reports can be made in a row.
class ReportDialog : public QDialog {
    Q_OBJECT
public:
    // The report that Print and Preview run; set once at start-up.
    void setReport(ReportForm* report) { report_ = report; }
    // Where the chosen project's name goes before a run, for the project filter to read: the
    // main window's hidden PrintProject label.
    void setPrintProject(std::function<void(const QString&)> setter) {
        printProject_ = std::move(setter);
    }
    // The menu item that fills the dialog and shows it modally.
    void connectMenu(QAction* item);

    // Their object names, which the captions address: Label1, CheckBox1, Button1 to Button3.
    QLabel* projectLabel;       // "Which Project"
    QCheckBox* showPrintDialog; // "Show print dialog  "
    QPushButton* printButton;   // "Print"
    QPushButton* previewButton; // "Preview"
    QPushButton* closeButton;   // "Close"

    // "Which Project": the project names (object name ComboBox1 or Project).
    QComboBox* projectBox() const { return projectBox_; }
    // The project chosen, or typed where the list takes typing.
    QString projectName() const;

public Q_SLOTS:
    void printReport();
    void previewReport();
    void closeDialog();

protected:
    enum class ProjectChoice { Typed, Listed };

    ReportDialog(ProjectData* dm, const char* name, const QString& title, const char* projectBox,
                 ProjectChoice choice, QWidget* parent);

    // Fills the project list afresh (the walk leaves the project table on its last record),
    // selects the first name, lets the dialog set its other controls, and shows it modally.
    void openFromMenu();
    // What a dialog sets at every opening besides the project list.
    virtual void prepare() {}

    // Labelled rows under "Which Project".
    QFormLayout* fields() const { return fields_; }
    // The dialog's own controls, between its rows and "Show print dialog  ".
    QVBoxLayout* body() const { return body_; }

    ProjectData* dm_;

private:
    void runReport(const std::function<void(ReportForm&)>& action);

    QComboBox* projectBox_;
    QFormLayout* fields_;
    QVBoxLayout* body_;
    ReportForm* report_ = nullptr;
    std::function<void(const QString&)> printProject_;
};
