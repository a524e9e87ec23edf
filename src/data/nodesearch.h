#pragma once

#include <QList>
#include <QString>

namespace vok {
class Store;
}

// Finds by name in the whole project hierarchy, letter case and accents aside (TextFold): the
// projects whose own name, or the name of one of their major activities or actions, holds a
// text. The engine searches, so a folder of a million actions answers without reading them all
// into the window; what a project's nodes are is then read for the projects shown.
class NodeSearch {
public:
    explicit NodeSearch(vok::Store& store);

    // The numbers of those projects, ascending; a text of blanks only finds none.
    QList<qlonglong> projects(const QString& text);
    // Whether a name holds the text, as the search compares them (blanks: no).
    static bool matches(const QString& name, const QString& text);

private:
    vok::Store& store_;
};
