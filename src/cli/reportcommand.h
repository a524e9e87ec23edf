#pragma once

#include "command.h"

// vokctl report KIND --data DIR --project NAME [options] (--pdf FILE | --layout-json FILE |
// --csv FILE): runs a report on a data folder, without a window, through the same report code
// as Vok's dialogs.
class ReportCommand : public Command {
public:
    QString name() const override { return QStringLiteral("report"); }
    QString summary() const override {
        return QStringLiteral("print a report of a project into a PDF");
    }
    void define(QCommandLineParser& parser) const override;
    int run(const QCommandLineParser& parser) const override;
};
