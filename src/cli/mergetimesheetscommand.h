#pragma once

#include "command.h"

// vokctl merge-timesheets --data DIR (--member NAME ... | --all)
class MergeTimeSheetsCommand : public Command {
public:
    QString name() const override { return QStringLiteral("merge-timesheets"); }
    QString summary() const override {
        return QStringLiteral("merge members' time sheet files into the project time sheets");
    }
    void define(QCommandLineParser& parser) const override;
    int run(const QCommandLineParser& parser) const override;
};
