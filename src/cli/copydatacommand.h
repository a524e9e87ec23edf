#pragma once

#include "command.h"

// vokctl copy-data --from SOURCE --to TARGET: moves a team's data folder to a server, or back.
class CopyDataCommand : public Command {
public:
    QString name() const override { return QStringLiteral("copy-data"); }
    QString summary() const override {
        return QStringLiteral("copy a whole data folder into an empty one, or onto a server");
    }
    void define(QCommandLineParser& parser) const override;
    int run(const QCommandLineParser& parser) const override;
};
