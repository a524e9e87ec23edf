#include "rawhierarchy.h"

#include "framework/dataset/store.h"

#include <QElapsedTimer>

RawHierarchy RawHierarchy::read(vok::Store& store) {
    RawHierarchy r;
    QElapsedTimer t;
    t.start();
    const auto readAll = [&](const char* sql, qint64& rows, int nameColumn, int idColumn) {
        const auto statement = store.statement(QLatin1String(sql));
        vok::Statement& q = *statement;
        const int columns = q.columnCount();
        while (q.step()) {
            ++rows;
            for (int c = 0; c < columns; ++c)
                (void)q.value(c);
            r.checksum += q.value(nameColumn).toString().size();
            if (idColumn >= 0)
                r.checksum += q.int64(idColumn);
        }
    };
    readAll("SELECT * FROM projects ORDER BY Zel_Project_id", r.projects, 1, -1);
    readAll("SELECT * FROM major ORDER BY Major_project_id, Major_id", r.majors, 2, -1);
    readAll("SELECT * FROM action ORDER BY Action_project_id, Action_major_id, Action_id",
            r.actions, 3, 2);
    r.nanoseconds = t.nsecsElapsed();
    return r;
}
