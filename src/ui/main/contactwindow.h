#pragma once

#include <QDialog>
#include <array>

class QLabel;
class QPushButton;
class ProjectData;
namespace vok {
class DBEdit;
}

// "Contacts": the current contact of the project, field by field. The window holds nothing of
// its own: the main window puts the contact into insert or edit state before showing it. Ok
// stores the contact and closes; Cancel, Escape or the title bar drop what was typed.
class ContactWindow : public QDialog {
    Q_OBJECT
public:
    explicit ContactWindow(ProjectData* dm, QWidget* parent = nullptr);

    // "Contact Name", "Title", "Company", "Address 1", "Address 2", "City", "State/Province",
    // "Country", "Postal/Zip code", "Telephone", "Extension", "Email": Label1 to Label12 beside
    // DBEdit1 to DBEdit12, in tab order.
    std::array<QLabel*, 12> labels;
    std::array<vok::DBEdit*, 12> edits;
    QPushButton* okButton;
    QPushButton* cancelButton;

    // Ok: stores the contact and closes, unless a field refused its text or the store refuses
    // the contact.
    void store();
    void reject() override;

protected:
    // Whenever it opens, the name has the focus: what is typed first is the name, never a
    // press of the button that closed the window last time.
    void showEvent(QShowEvent* event) override;

private:
    ProjectData* dm_;
};
