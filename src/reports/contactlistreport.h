#pragma once

#include "reportform.h"

#include <functional>

class QAbstractButton;

// The contact list: one block per contact of the project that is current in the main window,
// with name, title, telephone and extension, e-mail and postal address. It has no dialog: the
// "Print list" button prints it at once, and vokctl lays it out for a project it names.
class ContactListReport : public ReportForm {
    Q_OBJECT
public:
    explicit ContactListReport(ProjectData* dm, QObject* parent = nullptr);

    // The button that prints the list on the current printer, without preview or set-up
    // dialog, after `positionOnProject` has put the project record-set on the selected project.
    void connectButton(QAbstractButton* button, std::function<void()> positionOnProject);

    void SpeedButton9Click();
};
