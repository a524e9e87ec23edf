#pragma once

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// One project as it travels between Vok and other planning tools: the project, its major
// activities and their actions, each with its dates, figures, notes and team, and the members
// the teams name. Record numbers are Vok's own (0 for a plan read from a file).
struct Plan {
    struct Note {
        QDateTime stamp;
        QString author; // the short author mark
        QString text;
    };
    // What the three levels share.
    struct Item {
        int key = 0;
        QString name;
        QString description;
        QString leader;
        QDate from;
        QDate to;
        bool completed = false;
        bool critical = false;
        int percent = 0;
        std::optional<double> budgetHours;
        std::optional<double> budget; // money
        std::optional<double> hours;  // actual hours
        std::optional<double> actual; // actual costs
        QList<Note> notes;
        QStringList team; // member names, in the team's order
    };
    struct Major : Item {
        QList<Item> actions;
    };
    struct Member {
        QString name;
        QString email;
        QString tel;
    };

    Item project;
    QString client;
    QList<Major> majors;
    // Every member a team names, once, in the order they are first named.
    QList<Member> members;

    int actionCount() const;
    // Names as messages list them: each quoted, so that a comma in a name reads as one.
    static QString listed(const QStringList& names);
};
