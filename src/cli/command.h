#pragma once

#include <QCommandLineOption>
#include <QString>
#include <QTextStream>
#include <stdexcept>

class QCommandLineParser;

// One verb of vokctl. It declares its options on a parser of its own, so every verb has --help,
// the --opt=value form and a clear error for an option it does not know.
class Command {
public:
    virtual ~Command() = default;
    virtual QString name() const = 0;
    // One line for the list of verbs.
    virtual QString summary() const = 0;
    // Positional arguments and options of the verb.
    virtual void define(QCommandLineParser& parser) const = 0;
    // Returns the exit status. Throws UsageError for arguments that do not make sense together,
    // and the layer's errors for everything else.
    virtual int run(const QCommandLineParser& parser) const = 0;

    // Shared options.
    static QCommandLineOption dataOption();
    // The value of a required option; a UsageError when it is missing or empty.
    static QString required(const QCommandLineParser& parser, const QString& option);
    // The one value of an optional option; a UsageError when it is given twice.
    static QString single(const QCommandLineParser& parser, const QString& option);

    // An output file (--pdf, --csv, --odt...) that would replace a file of the data folder is
    // refused before anything is written.
    static void refuseDataTarget(const QString& path, const QString& dataFolder);

    // Standard output and error, through which stored names are shown safely.
    static QTextStream& out();
    static QTextStream& err();
};

// Arguments that are not what the verb takes: exit status 2, with the verb's help.
class UsageError : public std::runtime_error {
public:
    explicit UsageError(const QString& message);
    QString message() const { return QString::fromUtf8(what()); }
};
