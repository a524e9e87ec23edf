#pragma once

#include "command.h"

// vokctl report KIND --data DIR --project NAME [options] --pdf FILE [--layout-json FILE]:
// runs a report on a data folder into a PDF, and optionally its laid-out pages as JSON.
class ReportCommand : public Command {
public:
    QString name() const override { return QStringLiteral("report"); }
    QString summary() const override {
        return QStringLiteral("print a report of a project into a PDF");
    }
    void define(QCommandLineParser& parser) const override;
    int run(const QCommandLineParser& parser) const override;
};
