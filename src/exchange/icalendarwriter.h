#pragma once

#include "plan.h"

#include <QByteArray>
#include <QString>

// Writes the dated actions of a plan as an iCalendar file (RFC 5545): one to-do per action,
// starting at the start of its first day and due at the end of its last, named "project / major
// activity / action". Each to-do's UID comes from the action's record numbers, so a calendar
// that reads the file again updates its entries instead of adding them twice.
class ICalendarWriter {
public:
    // With a member: only the actions whose team holds that name.
    static QByteArray write(const Plan& plan, const QString& member = QString());
    static int entries(const Plan& plan, const QString& member = QString());

    // A TEXT value with its backslashes, semicolons, commas and line ends escaped.
    static QString escaped(const QString& text);
    // A content line folded at 75 octets, never inside a character, ended by CRLF.
    static QByteArray folded(const QString& line);

private:
    static bool dated(const Plan::Item& action) {
        return action.from.isValid() || action.to.isValid();
    }
    static bool included(const Plan::Item& action, const QString& member);
};
