#pragma once

#include "reportform.h"

// The contact list: one block per contact of the project that is current in the main window,
// with name, title, telephone and extension, e-mail and postal address. It has no dialog: the
// "Print list" button prints it at once, and vokctl lays it out for a project it names.
class ContactListReport : public ReportForm {
    Q_OBJECT
public:
    explicit ContactListReport(ProjectData* dm, QObject* parent = nullptr);
};
