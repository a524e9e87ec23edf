#include "tabledef.h"

#include <QRegularExpression>
#include <sqlite3.h>

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
    // the SQL written by hand elsewhere does (the server folds bare names to lower case). A word
    // either engine keeps for itself is quoted: the name of a sheet's table is any text.
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    static const QStringList serverReserved =
        QStringLiteral(
            "all analyse analyze and any array as asc asymmetric authorization binary both case "
            "cast "
            "check collate collation column concurrently constraint create cross current_catalog "
            "current_date current_role current_schema current_time current_timestamp current_user "
            "default deferrable desc distinct do else end except false fetch for foreign freeze "
            "from "
            "full grant group having ilike in initially inner intersect into is isnull join "
            "lateral "
            "leading left like limit localtime localtimestamp natural not notnull null offset on "
            "only "
            "or order outer overlaps placing primary references returning right select "
            "session_user "
            "similar some symmetric system_user table tablesample then to trailing true union "
            "unique "
            "user using variadic verbose when where window with")
            .split(QLatin1Char(' '));
    const QByteArray utf8 = name.toUtf8();
    const bool keyword = sqlite3_keyword_check(utf8.constData(), static_cast<int>(utf8.size())) ||
                         serverReserved.contains(name.toLower());
    if (plain.match(name).hasMatch() && !keyword)
        return name;
    QString q = name;
    q.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + q + QLatin1Char('"');
}

} // namespace vok
