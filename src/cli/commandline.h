#pragma once

#include <QStringList>
#include <memory>
#include <vector>

class Command;

// vokctl's verbs and the dispatch to them: "vokctl VERB [options]", "vokctl --help",
// "vokctl --version" and "vokctl VERB --help".
class CommandLine {
public:
    CommandLine();
    ~CommandLine();

    // The arguments without the program name; returns the exit status.
    int run(const QStringList& args) const;

private:
    int runVerb(const Command& command, const QStringList& args) const;
    QString overview() const;

    std::vector<std::unique_ptr<Command>> commands_;
};
