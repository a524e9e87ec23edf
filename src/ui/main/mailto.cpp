#include "mailto.h"

#include "framework/dataset/table.h"

QString MailTo::recipient(const QString& stored) {
    static const QString special = QStringLiteral("%?&#;,");
    QString out;
    out.reserve(stored.size());
    for (const QChar c : stored) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f || special.contains(c) ||
            c.category() == QChar::Separator_Line || c.category() == QChar::Separator_Paragraph) {
            const QByteArray utf8 = QString(c).toUtf8();
            for (const char b : utf8)
                out += QLatin1Char('%') + QString::number(static_cast<unsigned char>(b), 16)
                                              .toUpper()
                                              .rightJustified(2, QLatin1Char('0'));
        } else {
            out += c;
        }
    }
    return out;
}

QString MailTo::team(vok::Table& team, const QString& emailField) {
    QString text = prefix();
    bool first = true;
    const vok::Field& email = team.fieldByName(emailField);
    for (team.first(); !team.eof(); team.next()) {
        const QString address = email.asString();
        if (address.isEmpty())
            continue;
        if (!first)
            text += QLatin1Char(';');
        text += recipient(address);
        first = false;
    }
    return text;
}

QString MailTo::contact(const QString& email) {
    return prefix() + recipient(email);
}
