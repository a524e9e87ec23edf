#pragma once

#include "command.h"

// vokctl demo DIR: a data folder with sample projects, teams, time sheets and costs.
class DemoCommand : public Command {
public:
    QString name() const override { return QStringLiteral("demo"); }
    QString summary() const override {
        return QStringLiteral("create a data folder with sample projects, teams, time sheets "
                              "and costs");
    }
    void define(QCommandLineParser& parser) const override;
    int run(const QCommandLineParser& parser) const override;
};
