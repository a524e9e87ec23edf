#include "datafoldercopy.h"

#include "framework/dataset/databaseerror.h"
#include "framework/dataset/store.h"
#include "framework/dataset/transaction.h"
#include "framework/io/shownlocation.h"
#include "framework/io/showntext.h"
#include "schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <memory>

using vok::DatabaseError;
using vok::Statement;
using vok::Store;
using vok::TableDef;
using vok::TableRef;

namespace {

// Rows written per INSERT: a server is a round trip away.
constexpr int batchRows = 100;

// Copies one table's rows, numbers included, in their order of entry; returns how many.
qint64 copyTable(Store& source, const QString& sourceFile, Store& target, const QString& targetFile,
                 const TableDef& def) {
    const TableRef from = source.resolve(sourceFile);
    const TableRef to = target.resolve(targetFile);
    qint64 rows = 0;
    try {
        QStringList columns;
        for (const vok::FieldDef& f : def.fields)
            columns << vok::quotedName(f.name);
        const QString list = columns.join(QStringLiteral(", "));
        const auto read = source.statement(QStringLiteral("SELECT %1 FROM %2 ORDER BY %3")
                                               .arg(list, from.sql(), source.engine().rowId(from)));
        const int width = static_cast<int>(columns.size());
        const QString tuple = QLatin1Char('(') +
                              QStringList(width, QStringLiteral("?")).join(QLatin1Char(',')) +
                              QLatin1Char(')');
        const auto insertFor = [&](int count) {
            return target.statement(
                QStringLiteral("INSERT INTO %1 (%2) VALUES %3")
                    .arg(to.sql(), list, QStringList(count, tuple).join(QLatin1Char(','))),
                to);
        };
        const std::unique_ptr<Statement> full = insertFor(batchRows);
        QVector<QVariant> pending;
        pending.reserve(batchRows * width);
        const auto flush = [&](Statement& q, int count) {
            q.reset();
            for (int i = 0; i < count * width; ++i)
                q.bind(i, pending[i]);
            q.run();
            pending.clear();
        };
        while (read->step()) {
            for (int c = 0; c < width; ++c)
                pending << read->value(c);
            if (++rows % batchRows == 0)
                flush(*full, batchRows);
        }
        if (const int rest = static_cast<int>(rows % batchRows); rest > 0)
            flush(*insertFor(rest), rest);
        target.syncAutoIncrement(targetFile);
    } catch (const DatabaseError& e) {
        source.release(from);
        target.release(to);
        throw DatabaseError(QStringLiteral("Cannot copy %1: %2").arg(sourceFile, e.message()),
                            e.kind());
    }
    source.release(from);
    target.release(to);
    return rows;
}

} // namespace

DataFolderCopy::Report DataFolderCopy::run(const QString& from, const QString& to) {
    if (Store::holdsData(to))
        throw DatabaseError(
            QStringLiteral("%1 already holds Vok data; the copy goes only into an empty one")
                .arg(vok::ShownLocation::of(to)),
            DatabaseError::Kind::Engine);
    Store source;
    source.setParams({QStringLiteral("path=") + from});
    source.open();
    Report report;
    report.sheets = source.files();
    // Stored names become paths in the target: each one is a plain sheet name, or nothing is
    // copied at all.
    for (const QString& sheet : std::as_const(report.sheets)) {
        if (const QString why = Schema::sheetFileRefusal(sheet); !why.isEmpty())
            throw DatabaseError(
                QStringLiteral("%1 holds a time sheet named \"%2\", which cannot "
                               "be a file of a data folder (%3); nothing was "
                               "copied")
                    .arg(vok::ShownLocation::of(from), vok::ShownText::escaped(sheet), why),
                DatabaseError::Kind::Engine);
    }

    Store target;
    target.setParams({QStringLiteral("path=") + to});
    const TableDef& sheetDef = Schema::memberTimeSheetFile();
    const auto copyShared = [&] {
        for (const TableDef& def : Schema::tables()) {
            const QString file = Schema::fileName(def.name);
            report.rows += copyTable(source, file, target, file, def);
            ++report.tables;
        }
    };
    if (target.isServer()) {
        // One transaction: the tables, their rows and the sheets all come, or nothing does.
        target.createAndBegin(Schema::tables());
        try {
            copyShared();
            for (const QString& sheet : std::as_const(report.sheets)) {
                target.createFile(sheet, sheetDef);
                report.sheetLines += copyTable(source, sheet, target, sheet, sheetDef);
            }
            target.commit();
        } catch (...) {
            target.rollback();
            throw;
        }
        return report;
    }

    // A folder: the database first, then each sheet file, each in its own unit; a failure
    // removes everything this copy created, and nothing else.
    const QString folder = target.location();
    const bool folderExisted = QFileInfo::exists(folder);
    Store::createDatabase(folder, Schema::tables(), source.settings());
    QStringList created{QDir(folder).filePath(QLatin1String(Store::DatabaseFile))};
    try {
        {
            vok::Transaction tx(target);
            copyShared();
            tx.commit();
        }
        for (const QString& sheet : std::as_const(report.sheets)) {
            target.createFile(sheet, sheetDef);
            created << QDir(folder).filePath(sheet);
            // Attached before the unit begins, as a sheet file must be.
            const TableRef ref = target.resolve(sheet);
            vok::Transaction tx(target);
            report.sheetLines += copyTable(source, sheet, target, sheet, sheetDef);
            tx.commit();
            target.release(ref);
        }
    } catch (...) {
        target.close();
        for (const QString& file : std::as_const(created)) {
            QFile::remove(file);
            QFile::remove(file + QStringLiteral("-journal"));
        }
        if (!folderExisted)
            QDir().rmdir(folder); // only when empty again
        throw;
    }
    return report;
}
