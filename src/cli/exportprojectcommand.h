#pragma once

#include "command.h"

// vokctl export-project --data DIR --project NAME (--xml FILE | --ics FILE [--member NAME]):
// a project's "Export…".
class ExportProjectCommand : public Command {
public:
    QString name() const override { return QStringLiteral("export-project"); }
    QString summary() const override {
        return QStringLiteral("export a project as MS Project XML or its actions as iCalendar");
    }
    void define(QCommandLineParser& parser) const override;
    int run(const QCommandLineParser& parser) const override;
};
