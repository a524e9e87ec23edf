#include "plan.h"

#include "framework/io/showntext.h"

int Plan::actionCount() const {
    int n = 0;
    for (const Major& m : majors)
        n += static_cast<int>(m.actions.size());
    return n;
}

QString Plan::listed(const QStringList& names) {
    QStringList quoted;
    for (const QString& n : names)
        quoted << QLatin1Char('\'') + vok::ShownText::escaped(n) + QLatin1Char('\'');
    return quoted.join(QStringLiteral(", "));
}
