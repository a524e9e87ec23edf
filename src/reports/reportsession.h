#pragma once

#include "data/projectdata.h"

#include <QString>

// The shared record-sets on a data folder, without the main window: what vokctl and the
// benchmarks run the reports on. The tables of the first activation are open, and the project
// filter reads `printProject`, the stand-in for the main window's PrintProject.
class ReportSession {
public:
    explicit ReportSession(const QString& dataFolder);

    ProjectData dm;
    QString printProject;

    // Puts the project record-set on the first project of that name, as selecting it in the
    // tree would; false when no project bears it.
    bool locateProject(const QString& name);
};
