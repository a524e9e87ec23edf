#pragma once

#include <QApplication>

// The process's application object. Every event handler runs inside notify, so an error escaping
// one is shown in the standard error box and the application goes on.
class VokApplication : public QApplication {
    Q_OBJECT
public:
    VokApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;

    // The last-chance box for an error that escapes start-up before the message loop runs.
    static void showApplicationError(const QString& kind, const QString& message);
};
