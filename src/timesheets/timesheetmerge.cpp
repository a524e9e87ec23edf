#include "timesheetmerge.h"

#include "data/projectdata.h"
#include "framework/dataset/databaseerror.h"
#include "framework/dataset/sheetclaim.h"
#include "framework/dataset/store.h"
#include "memberfile.h"

#include <QFileInfo>

EntryLayout TimeSheetMerge::layout() {
    EntryLayout l;
    l.project = QStringLiteral("MemberTS_project");
    l.major = QStringLiteral("MemberTS_Major");
    l.action = QStringLiteral("MemberTS_Action");
    l.dateFrom = QStringLiteral("MemberTS_Date_from");
    l.dateTo = QStringLiteral("MemberTS_Date_to");
    l.quantity = QStringLiteral("MemberTS_Hours");
    l.notes = QStringLiteral("MemberTS_Notes");
    l.quantityCaption = QStringLiteral("Hours");
    l.rowProject = QStringLiteral("ProjectTS_project_id");
    l.rowMajor = QStringLiteral("ProjectTS_major_id");
    l.rowAction = QStringLiteral("ProjectTS_action_id");
    l.rowDateFrom = QStringLiteral("ProjectTS_date_from");
    l.rowDateTo = QStringLiteral("ProjectTS_date_to");
    l.rowQuantity = QStringLiteral("ProjectTS_hours");
    l.rowNotes = QStringLiteral("ProjectTS_Notes");
    l.rowMember = QStringLiteral("ProjectTS_member");
    l.projectTotal = QStringLiteral("Zel_hours");
    l.majorTotal = QStringLiteral("Major_hours");
    l.actionTotal = QStringLiteral("Action_hours");
    return l;
}

TimeSheetMerge::TimeSheetMerge(ProjectData& dm) : dm_(dm) {}

MergeReport TimeSheetMerge::run(const QStringList& members) {
    dm_.DataPath = MemberFile::withTrailingSeparator(dm_.DataPath);
    MergeReport total;
    dm_.TimeSheets->open();
    try {
        for (int i = 0; i < members.size(); ++i) {
            if (beforeMember && !beforeMember(i, static_cast<int>(members.size()))) {
                total.cancelled = true;
                break;
            }
            const MergeReport report = mergeMember(members[i]);
            total.add(report);
            if (afterMember)
                afterMember(members[i], report);
        }
    } catch (...) {
        dm_.TimeSheets->close();
        throw;
    }
    dm_.TimeSheets->close();
    return total;
}

MergeReport TimeSheetMerge::mergeMember(const QString& member) {
    MergeReport report;
    if (const QString refusal = MemberFile::refusal(member); !refusal.isEmpty()) {
        report.skipped << MergeReport::Skipped{member, refusal};
        return report;
    }
    const QString file = MemberFile::fileName(member);
    try {
        if (!dm_.store->fileExists(file)) {
            report.withoutFile << member;
            return report;
        }
    } catch (const vok::DatabaseError& e) {
        // There, but not a file Vok may use (a folder, a link out of the data folder): broken.
        report.skipped << MergeReport::Skipped{file, e.message()};
        return report;
    }
    // A member typing into a time sheet window, here or in another installation, keeps the file
    // until the window closes: merging under it would book lines the window may still change.
    // Merges share it: their units of work keep them apart.
    const std::unique_ptr<vok::SheetClaim> claim =
        dm_.store->claimSheet(file, vok::SheetClaim::Kind::Shared);
    if (!claim) {
        report.skipped << MergeReport::Skipped{
            file, QStringLiteral("it is open in a time sheet window; it is merged once that "
                                 "window is closed")};
        return report;
    }
    vok::Table& lines = *dm_.MemberTS;
    if (lines.isActive()) {
        lines.checkBrowseMode();
        lines.close();
    }
    EntryMerge merge(dm_, lines, file, *dm_.TimeSheets, layout(),
                     {dm_.ProjectTS, dm_.MajorTS, dm_.ActionTS});
    merge.afterLine = afterLine;
    try {
        // The file is attached when opened, which cannot happen inside a unit of work: open first.
        MemberFile::open(lines, member);
        report = merge.run(member);
    } catch (const vok::DatabaseError& e) {
        // This member's file is left as it was; the others are merged all the same.
        lines.close();
        report.skipped << MergeReport::Skipped{file, e.message()};
        return report;
    } catch (...) {
        lines.close();
        throw;
    }
    lines.close();
    return report;
}
