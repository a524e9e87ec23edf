#pragma once

#include "command.h"

// vokctl copy-project --data DIR --project NAME: the main window's "Copy project".
class CopyProjectCommand : public Command {
public:
    QString name() const override { return QStringLiteral("copy-project"); }
    QString summary() const override {
        return QStringLiteral("copy a project with its teams, contacts, activities and actions");
    }
    void define(QCommandLineParser& parser) const override;
    int run(const QCommandLineParser& parser) const override;
};
