#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

class ProjectData;
class ReportDialog;
class ReportForm;

// An option of `vokctl report` that only some kinds take. Kinds that share an option share its
// row, so its help line names them all.
struct ReportOption {
    const char* name;
    // What it does, after the kinds that take it ("timesheets, costs: rows up to this date.").
    const char* description;
    // The value it takes, as the help shows it; none for a switch.
    const char* valueName = nullptr;
};

// The options of a report as given on the command line. A value that does not read as its
// option expects is the caller's usage error, raised by the reader.
class ReportArguments {
public:
    virtual ~ReportArguments() = default;
    virtual bool isSet(const QString& option) const = 0;
    virtual QString text(const QString& option) const = 0;
    // An omitted date sets no bound, as a blank date field does.
    virtual std::optional<QDate> date(const QString& option) const = 0;
    // The index of the value among names; an omitted option takes the first.
    virtual int choice(const QString& option, const QStringList& names) const = 0;
};

// One report of Vok: what `vokctl report` calls it and what it takes there, the command of the
// main window that opens it, its dialog and its report. Both the window factory and vokctl make
// their reports from these rows only.
struct ReportKind {
    QString name;
    QList<ReportOption> options;
    // Object name of the main window's command: the menu item that opens the dialog, or, for a
    // report without one, the button that prints it at once on the selected project.
    const char* command;
    // The dialog; empty when the report has none.
    std::function<std::unique_ptr<ReportDialog>(ProjectData*)> makeDialog;
    // The report that reads its options from that dialog (null when there is none).
    std::function<std::unique_ptr<ReportForm>(ProjectData*, ReportDialog*)> makeReport;
    // The same report with its options read from the command line.
    std::function<std::unique_ptr<ReportForm>(ProjectData*, const ReportArguments&)>
        makeCommandLineReport;

    bool takes(const QString& option) const;
};

// Every report kind, in the order vokctl lists them. A new report is a row here and its classes.
class ReportKinds {
public:
    static const QList<ReportKind>& all();
    // The kind of that name, or null.
    static const ReportKind* find(const QString& name);
    // Every option some kind takes, once each, in the order the kinds name them.
    static QList<ReportOption> options();
    // The kinds that take an option, as the help names them ("timesheets, costs").
    static QString takers(const QString& option);
};
