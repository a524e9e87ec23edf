#include "tabledef.h"

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

QString sqlType(const FieldDef& def) {
    switch (def.type) {
    case FieldType::AutoInc:
    case FieldType::Integer:
        return QStringLiteral("INTEGER");
    case FieldType::String:
        return QStringLiteral("VARCHAR(%1)").arg(def.size);
    case FieldType::Memo:
        return QStringLiteral("TEXT");
    case FieldType::Date:
        return QStringLiteral("DATE");
    case FieldType::DateTime:
        return QStringLiteral("DATETIME");
    case FieldType::Boolean:
        return QStringLiteral("BOOLEAN");
    case FieldType::Float:
    case FieldType::Currency:
        return QStringLiteral("REAL");
    }
    return QStringLiteral("TEXT");
}

QString quotedName(const QString& name) {
    QString q = name;
    q.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + q + QLatin1Char('"');
}

} // namespace vok
