#include "costmerge.h"

#include "data/projectdata.h"
#include "framework/dataset/databaseerror.h"

EntryLayout CostMerge::layout() {
    EntryLayout l;
    l.project = QStringLiteral("Cost_project");
    l.major = QStringLiteral("Cost_Major");
    l.action = QStringLiteral("Cost_Action");
    l.dateFrom = QStringLiteral("Cost_Date_from");
    l.dateTo = QStringLiteral("Cost_Date_to");
    l.quantity = QStringLiteral("Cost_Amount");
    l.notes = QStringLiteral("Cost_Notes");
    l.quantityCaption = QStringLiteral("Amount");
    l.rowProject = QStringLiteral("ProjectCost_project_id");
    l.rowMajor = QStringLiteral("ProjectCost_major_id");
    l.rowAction = QStringLiteral("ProjectCost_action_id");
    l.rowDateFrom = QStringLiteral("ProjectCost_date_from");
    l.rowDateTo = QStringLiteral("ProjectCost_date_to");
    l.rowQuantity = QStringLiteral("ProjectCost_Amount");
    l.rowNotes = QStringLiteral("ProjectCost_Notes");
    l.projectTotal = QStringLiteral("Zel_actual");
    l.majorTotal = QStringLiteral("Major_actual");
    l.actionTotal = QStringLiteral("Action_actual");
    return l;
}

CostMerge::CostMerge(ProjectData& dm) : dm_(dm) {}

QString CostMerge::sourceName() {
    return QStringLiteral("Costentry in %1").arg(QLatin1String(vok::Store::DatabaseFile));
}

MergeReport CostMerge::run() {
    vok::Table& costs = *dm_.Costs;
    vok::Table& entries = *dm_.CostEntry;
    const auto closeBoth = [&] {
        costs.close();
        entries.close();
    };
    MergeReport report;
    try {
        costs.open();
        entries.open();
        EntryMerge merge(dm_, entries, sourceName(), costs, layout(),
                         {dm_.ProjectCost, dm_.MajorCost, dm_.ActionCost});
        merge.afterLine = afterLine;
        report = merge.run();
    } catch (const vok::DatabaseError& e) {
        closeBoth();
        throw vok::DatabaseError(
            QStringLiteral(
                "The cost entries were not merged; they and the totals are unchanged. %1")
                .arg(e.message()),
            e.kind());
    } catch (...) {
        closeBoth();
        throw;
    }
    closeBoth();
    return report;
}
