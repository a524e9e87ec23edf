#include "tabledef.h"

#include <QRegularExpression>

namespace vok {

int TableDef::indexOf(const QString& field) const {
    for (int i = 0; i < fields.size(); ++i) {
        if (fields[i].name.compare(field, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QString TableDef::autoIncField() const {
    for (const FieldDef& f : fields) {
        if (f.type == FieldType::AutoInc)
            return f.name;
    }
    return {};
}

QString quotedName(const QString& name) {
    // A plain name stays bare, so that both engines read it without regard to letter case, as
    // the SQL written by hand elsewhere does (the server folds bare names to lower case).
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    static const QStringList reserved{
        QStringLiteral("all"),    QStringLiteral("and"),     QStringLiteral("as"),
        QStringLiteral("by"),     QStringLiteral("case"),    QStringLiteral("check"),
        QStringLiteral("column"), QStringLiteral("default"), QStringLiteral("desc"),
        QStringLiteral("end"),    QStringLiteral("from"),    QStringLiteral("group"),
        QStringLiteral("index"),  QStringLiteral("key"),     QStringLiteral("limit"),
        QStringLiteral("not"),    QStringLiteral("null"),    QStringLiteral("or"),
        QStringLiteral("order"),  QStringLiteral("primary"), QStringLiteral("select"),
        QStringLiteral("table"),  QStringLiteral("to"),      QStringLiteral("user"),
        QStringLiteral("when"),   QStringLiteral("where")};
    if (plain.match(name).hasMatch() && !reserved.contains(name.toLower()))
        return name;
    QString q = name;
    q.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + q + QLatin1Char('"');
}

} // namespace vok
