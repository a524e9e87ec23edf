#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace vok {

enum class FieldType { AutoInc, Integer, String, Memo, Date, DateTime, Boolean, Float, Currency };

// One field of a table file or of a record-set: name, type and size (characters for
// strings, bytes kept in the record for memos).
struct FieldDef {
    QString name;
    FieldType type = FieldType::String;
    int size = 0;
    bool required = false;
};

// An index of a table file: the leading fields that a link or keyed search reads through.
struct IndexDef {
    QString name;
    QStringList fields;
    bool unique = false;
};

// A table file: its name in the store, its fields in file order and its indexes. The
// primary unique index is the AutoInc field.
struct TableDef {
    QString name;
    QList<FieldDef> fields;
    QList<IndexDef> indexes;

    int indexOf(const QString& field) const;
    QString autoIncField() const;
};

// A table or column name as an SQL identifier: bare when it is a plain name, quoted otherwise.
QString quotedName(const QString& name);

} // namespace vok
