#include "timesheetreport.h"

#include "data/projectdata.h"
#include "framework/dataset/table.h"

namespace {

const DataSet rowSet = &ProjectData::ProjectTS;

const ElementDef elements[] = {
    ReportLayout::label("QRBand1", "QRLabel3", "Team Member", {50.8, 31.8}, ReportParts::heading()),
    ReportLayout::label("QRBand1", "QRLabel4", "Major Activity", {94.7, 31.8},
                        ReportParts::heading()),
    ReportLayout::label("QRBand1", "QRLabel5", "Action", {130.7, 31.8}, ReportParts::heading()),
    PeriodReport::column("QRDBText6", rowSet, "ProjectTS_date_from", 4.0, 19.3),
    PeriodReport::column("QRDBText7", rowSet, "ProjectTS_date_to", 27.3, 19.3),
    PeriodReport::column("QRDBText8", rowSet, "ProjectTS_member", 50.5, 42.6),
    PeriodReport::column("QRDBText9", rowSet, "MajorName", 95.0, 34.1),
    PeriodReport::column("QRDBText10", rowSet, "ActionName", 130.7, 38.4),
    PeriodReport::column("QRDBText11", rowSet, "ProjectTS_hours", 171.2, 16.9, Qt::AlignRight),
};

// The total in the general number format.
const PeriodReport::Total total{.heading = "Hours",
                                .caption = "Total Hours",
                                .captionRight = 165.1,
                                .field = "ProjectTS_hours",
                                .left = 168.8};

const PeriodReport::CsvColumn csvColumns[] = {
    {"Project", nullptr},
    {"From date", "ProjectTS_date_from"},
    {"To date", "ProjectTS_date_to"},
    {"Team member", "ProjectTS_member"},
    {"Major activity", "MajorName"},
    {"Action", "ActionName"},
    {"Hours", "ProjectTS_hours"},
};

} // namespace

TimeSheetReport::TimeSheetReport(ProjectData* dm, std::function<TimeSheetOptions()> options,
                                 QObject* parent)
    : PeriodReport(dm, "Form13", "Time Sheet Report", rowSet, "ProjectTS", total, elements,
                   csvColumns, parent),
      options_(std::move(options)),
      member_(&dm->ProjectTS->fieldByName(QStringLiteral("ProjectTS_member"))) {}

void TimeSheetReport::readOptions() {
    current_ = options_();
}

bool TimeSheetReport::rowPasses() const {
    if (!withinPeriod(current_.from, current_.to))
        return false;
    return !current_.member || member_->asString() == *current_.member;
}
