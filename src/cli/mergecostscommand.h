#pragma once

#include "command.h"

// vokctl merge-costs --data DIR
class MergeCostsCommand : public Command {
public:
    QString name() const override { return QStringLiteral("merge-costs"); }
    QString summary() const override {
        return QStringLiteral("merge the cost entry file into the project costs");
    }
    void define(QCommandLineParser& parser) const override;
    int run(const QCommandLineParser& parser) const override;
};
