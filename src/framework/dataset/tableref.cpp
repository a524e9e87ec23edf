#include "tableref.h"

#include "tabledef.h"

namespace vok {

TableRef::TableRef(QString schemaName, QString tableName)
    : schema(std::move(schemaName)), table(std::move(tableName)),
      sql_(schema.isEmpty() ? quotedName(table)
                            : quotedName(schema) + QLatin1Char('.') + quotedName(table)) {}

} // namespace vok
