#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace vok {
class Store;
}

// Projects in and out of a data folder, as the command line and the window both do it: a file
// of MS Project XML imported as a new project, and a project exported as MS Project XML or as an
// iCalendar file of its dated actions. Each returns the lines that tell the user what was done.
class ProjectExchange {
public:
    enum class Format { MsProjectXml, ICalendar };

    explicit ProjectExchange(vok::Store& store);

    // The format a file name asks for: ".ics" is iCalendar, anything else MS Project XML.
    static Format formatOf(const QString& path);

    struct Outcome {
        int project = 0; // the project imported or exported
        QStringList lines;
    };
    // `projectName`: the new project's name; empty takes the file's title, then its project
    // summary task's name, then the file's name. `askName`: asked for another name while the
    // name is taken (given the taken one); an empty answer imports nothing (project 0). Without
    // it, a taken name refuses the import.
    Outcome importFile(const QString& path, const QString& projectName = QString(),
                       const std::function<QString(const QString& taken)>& askName = {});

    // `member` (iCalendar only): the actions whose team holds that member.
    Outcome exportFile(int project, const QString& path, Format format,
                       const QString& member = QString());
    int findProject(const QString& name);

private:
    vok::Store& store_;
};
