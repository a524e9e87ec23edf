#pragma once

#include <QString>

// The local help page: beside an installed program in share/doc/vok/help, or in the source
// tree's doc/help when the program runs from its build folder.
class HelpPage {
public:
    // The page's path; empty when neither place holds it.
    static QString path();
    // Where an installed program finds it, relative to the program's folder.
    static QString installedPath();
};
