#pragma once

#include "command.h"

// vokctl document --data DIR --project NAME [--major NAME [--action NAME] | --contact NAME]
// --odt FILE: the summary that a "Word document" button writes, into a file.
class DocumentCommand : public Command {
public:
    QString name() const override { return QStringLiteral("document"); }
    QString summary() const override {
        return QStringLiteral("write the summary of a project, activity, action or contact");
    }
    void define(QCommandLineParser& parser) const override;
    int run(const QCommandLineParser& parser) const override;
};
