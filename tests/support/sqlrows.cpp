#include "sqlrows.h"

#include <QSqlRecord>
#include <QVariant>

QStringList sqlRows(QSqlQuery query) {
    QStringList out;
    while (query.next()) {
        QStringList row;
        for (int i = 0; i < query.record().count(); ++i)
            row << query.value(i).toString();
        out << row.join(QLatin1Char('|'));
    }
    return out;
}
