#pragma once

#include <QObject>

class MainWindow;

// What the main window does once, when it is first activated: reads the settings, opens the
// data folder and the working tables, shows the short-date pattern, fills the member pick lists,
// applies the stored language and builds the tree.
class StartupSequence : public QObject {
    Q_OBJECT
public:
    explicit StartupSequence(MainWindow& window);

    // Runs the sequence unless it ran before; an error is shown, never thrown.
    void run();

private:
    void firstActivation();

    MainWindow& window_;
    bool connectionTried_ = false;
};
