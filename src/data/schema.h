#pragma once

#include "framework/dataset/tabledef.h"

#include <QList>
#include <QString>

// The tables of a data folder, declared once: fields in file order with types and sizes, and an
// index for every link and keyed search that reads them.
class Schema {
public:
    // Every table of the data folder's database, in creation order.
    static const QList<vok::TableDef>& tables();
    // The table behind a file name such as "projects.DB"; throws when there is none.
    static const vok::TableDef& table(const QString& name);
    // The file name a record-set opens, e.g. "projects.DB", "Costentry.db".
    static QString fileName(const QString& table);
    // A member's personal time-sheet file: one table memberts.
    static const vok::TableDef& memberTimeSheetFile();
    // Whether a file name of the data folder belongs to the shared database (case-insensitive).
    static bool isSharedTableName(const QString& baseName);
    // Why a file name cannot be a member's sheet of a data folder ("Site Crew.db"); empty when it
    // can. The one rule for every sheet name, typed or stored: a plain file name ending in .db
    // that is neither a shared table nor one of the engine's own.
    static QString sheetFileRefusal(const QString& fileName);
};
