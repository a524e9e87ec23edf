#include "pdffacts.h"

#include "programrun.h"

QHash<QString, QString> pdfFacts(const QString& path) {
    const ProgramRun run = ProgramRun::of(QStringLiteral("pdfinfo"),
                                          {QStringLiteral("-enc"), QStringLiteral("UTF-8"), path});
    QHash<QString, QString> facts;
    if (run.status != 0)
        return facts;
    for (const QString& line : run.out.split(QLatin1Char('\n'))) {
        const qsizetype colon = line.indexOf(QLatin1Char(':'));
        if (colon > 0)
            facts.insert(line.left(colon), line.mid(colon + 1).trimmed());
    }
    return facts;
}
