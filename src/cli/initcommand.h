#pragma once

#include "command.h"

// vokctl init DIR: an empty data folder.
class InitCommand : public Command {
public:
    QString name() const override { return QStringLiteral("init"); }
    QString summary() const override {
        return QStringLiteral("create an empty data folder, or the tables on a server");
    }
    void define(QCommandLineParser& parser) const override;
    int run(const QCommandLineParser& parser) const override;

    // The one positional argument, the folder.
    static QString folderArgument(const QCommandLineParser& parser);
};
