#pragma once

#include "command.h"

// vokctl import-project --data DIR --xml FILE [--project NAME]: the main menu's "Import project…".
class ImportProjectCommand : public Command {
public:
    QString name() const override { return QStringLiteral("import-project"); }
    QString summary() const override {
        return QStringLiteral("import an MS Project XML file as a new project");
    }
    void define(QCommandLineParser& parser) const override;
    int run(const QCommandLineParser& parser) const override;
};
