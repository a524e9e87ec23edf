#pragma once

#include <QString>

namespace vok {
class Table;
}

// The "Mailto:" texts handed to the desktop's mail program: a team's addresses joined by ";",
// or one contact's address. A stored address is text anyone with the data folder can type, so
// what could end the recipient list or start a subject, body or attachment ("?", "&", "#",
// "%", ";", ",", line breaks and other control characters) is percent-encoded: the mail program
// sees that address as one recipient, never as more of the message.
class MailTo {
public:
    static QString prefix() { return QStringLiteral("Mailto:"); }
    // One stored address as it goes into the text.
    static QString recipient(const QString& stored);
    // Every non-empty address of a team view, from its first row to its last; the view is left
    // on its last row.
    static QString team(vok::Table& team, const QString& emailField);
    static QString contact(const QString& email);
};
