#include "projectreport.h"

#include "data/projectdata.h"
#include "framework/dataset/table.h"
#include "framework/report/report.h"

#include <vector>

namespace {

using Kind = ElementDef::Kind;
using BandKind = vok::ReportBand::Kind;

// Every sub-detail prints once with empty fields when its record-set has nothing for its
// master; a major activity or action band that its handler cancels takes its team and notes
// with it, so a project without major activities shows none of their blocks. A team's captions
// never end a page without the team's first row.
const BandDef bands[] = {
    {.name = "QRBand1", .kind = BandKind::PageHeader, .height = 113},
    {.name = "ProjectDetailBnd",
     .kind = BandKind::Detail,
     .height = 48,
     .dataset = &ProjectData::projects,
     .printIfEmpty = true,
     .forceNewPage = true},
    {.name = "ProjectTeamHdr", .kind = BandKind::GroupHeader, .height = 17, .keepWithNext = true},
    {.name = "ProjectTeamBnd",
     .kind = BandKind::SubDetail,
     .height = 17,
     .dataset = &ProjectData::ProjectTeam,
     .master = "ProjectDetailBnd",
     .header = "ProjectTeamHdr",
     .printIfEmpty = true},
    {.name = "ProjectNotesBnd",
     .kind = BandKind::SubDetail,
     .height = 36,
     .dataset = &ProjectData::ProjectNotes,
     .master = "ProjectDetailBnd",
     .printIfEmpty = true},
    {.name = "MajorDetailBnd",
     .kind = BandKind::SubDetail,
     .height = 66,
     .dataset = &ProjectData::Major,
     .master = "ProjectDetailBnd",
     .printIfEmpty = true,
     .cancelsSubDetails = true},
    {.name = "MajorTeamHdr", .kind = BandKind::GroupHeader, .height = 17, .keepWithNext = true},
    {.name = "MajorTeamBnd",
     .kind = BandKind::SubDetail,
     .height = 17,
     .dataset = &ProjectData::MajorTeam,
     .master = "MajorDetailBnd",
     .header = "MajorTeamHdr",
     .printIfEmpty = true},
    {.name = "MajorNotesBnd",
     .kind = BandKind::SubDetail,
     .height = 36,
     .dataset = &ProjectData::MajorNotes,
     .master = "MajorDetailBnd",
     .printIfEmpty = true},
    {.name = "ActionDetailBnd",
     .kind = BandKind::SubDetail,
     .height = 67,
     .dataset = &ProjectData::Action,
     .master = "MajorDetailBnd",
     .printIfEmpty = true,
     .cancelsSubDetails = true},
    {.name = "ActionTeamHdr", .kind = BandKind::GroupHeader, .height = 17, .keepWithNext = true},
    {.name = "ActionTeamBnd",
     .kind = BandKind::SubDetail,
     .height = 17,
     .dataset = &ProjectData::ActionTeam,
     .master = "ActionDetailBnd",
     .header = "ActionTeamHdr",
     .printIfEmpty = true},
    {.name = "ActionNotesBnd",
     .kind = BandKind::SubDetail,
     .height = 36,
     .dataset = &ProjectData::ActionNotes,
     .master = "ActionDetailBnd",
     .printIfEmpty = true},
};

using L = ReportLayout;

// A memo that grows downwards with its text, to the band's right edge less a margin.
ElementDef memo(const char* band, const char* name, DataSet dataset, const char* f, qreal x,
                qreal y) {
    return {.band = band,
            .name = name,
            .kind = Kind::Field,
            .dataset = dataset,
            .field = f,
            .box = {x, y, 712 - x, 17},
            .stretch = true};
}

// The captions over a team and one member's row under them; the telephone of the major
// activity and action teams lies one unit right of its caption.
struct Team {
    const char* header;
    const char* band;
    DataSet dataset;
    const char* captions[3];
    const char* texts[3];
    const char* fields[3];
    qreal telephone;
};

const Team teams[] = {
    {"ProjectTeamHdr",
     "ProjectTeamBnd",
     &ProjectData::ProjectTeam,
     {"QRLabel1", "QRLabel2", "QRLabel3"},
     {"QRDBText8", "QRDBText9", "QRDBText10"},
     {"ProjectTeam_member", "ProjectTeam_email", "ProjectTeam_tel"},
     548},
    {"MajorTeamHdr",
     "MajorTeamBnd",
     &ProjectData::MajorTeam,
     {"QRLabel6", "QRLabel7", "QRLabel8"},
     {"QRDBText19", "QRDBText20", "QRDBText21"},
     {"MajorTeam_member", "MajorTeam_email", "MajorTeam_tel"},
     549},
    {"ActionTeamHdr",
     "ActionTeamBnd",
     &ProjectData::ActionTeam,
     {"QRLabel11", "QRLabel12", "QRLabel13"},
     {"QRDBText30", "QRDBText31", "QRDBText32"},
     {"ActionTeam_member", "ActionTeam_email", "ActionTeam_tel"},
     549},
};

void addTeam(std::vector<ElementDef>& out, const Team& t) {
    const char* const captions[] = {"Member name", "Member Email", "Member Telephone"};
    const qreal captionX[] = {104, 280, 548};
    const qreal x[] = {104, 280, t.telephone};
    // Each column's text is cut short of the next column.
    const qreal widths[] = {280 - 104 - 8, t.telephone - 280 - 8, 720 - t.telephone};
    for (int i = 0; i < 3; ++i) {
        out.push_back(L::label(t.header, t.captions[i], captions[i], {captionX[i], 0},
                               ReportParts::heading()));
        out.push_back(
            L::field(t.band, t.texts[i], t.dataset, t.fields[i], {x[i], 0, widths[i], 0}));
    }
}

std::vector<ElementDef> elements() {
    const DataSet projects = &ProjectData::projects;
    const DataSet major = &ProjectData::Major;
    const DataSet action = &ProjectData::Action;
    const vok::ReportFont bold = ReportParts::bold();
    const vok::ReportFont heading = ReportParts::heading();
    const vok::ReportFont underlined = ReportParts::underlined();
    std::vector<ElementDef> e = {
        L::title("QRBand1", "QRLabel17", "Detailed Project Report", 8, 14),
        L::runDate("QRBand1", "QRSysData1", Kind::Date, "Date: ", {8, 0}),
        L::pageNumber("QRBand1", "QRSysData2", "Page # ", 709, 8),
        L::centredField("QRBand1", "QRDBText1", projects, "Zel_project", 32),
        L::centredField("QRBand1", "QRDBText2", projects, "Zel_client", 52),
        L::centredField("QRBand1", "QRDBText3", projects, "Zel_completed", 72),
        L::label("QRBand1", "QRLabel14", "Start Date", {8, 40}, bold),
        L::field("QRBand1", "QRDBText4", projects, "Zel_date_from", {112, 40, 0, 0}),
        L::label("QRBand1", "QRLabel15", "End Date", {8, 64}, bold),
        L::field("QRBand1", "QRDBText5", projects, "Zel_date_to", {112, 64, 0, 0}),
        L::label("QRBand1", "QRLabel16", "Project Leader", {8, 88}, bold),
        L::field("QRBand1", "QRDBText6", projects, "Zel_leader", {112, 88, 0, 0}),

        L::label("ProjectDetailBnd", "QRLabel18", "Objectives", {8, 0}, underlined),
        memo("ProjectDetailBnd", "QRDBText7", projects, "Zel_description", 8, 21),

        L::label("ProjectNotesBnd", "QRLabel5", "Project Notes", {104, 0}, heading),
        memo("ProjectNotesBnd", "QRDBText11", &ProjectData::ProjectNotes, "Projectnotes_note", 104,
             16),

        L::label("MajorDetailBnd", "QRLabel4", "Major Activity", {24, 0}, heading),
        L::label("MajorDetailBnd", "QRLabel20", "Start Date", {328, 0}, heading),
        L::label("MajorDetailBnd", "QRLabel21", "End Date", {424, 0}, heading),
        L::label("MajorDetailBnd", "QRLabel22", "Major Activity Leader", {512, 0}, heading),
        L::field("MajorDetailBnd", "QRDBText12", major, "Major_item", {24, 16, 289, 0}),
        L::field("MajorDetailBnd", "QRDBText13", major, "Major_from_date", {328, 16, 0, 0}),
        L::field("MajorDetailBnd", "QRDBText14", major, "Major_to_date", {424, 16, 0, 0}),
        L::field("MajorDetailBnd", "QRDBText15", major, "Major_leader", {512, 16, 208, 0}),
        L::field("MajorDetailBnd", "QRDBText16", major, "Major_completed", {48, 48, 0, 0}),
        L::field("MajorDetailBnd", "QRDBText17", major, "Major_critical", {176, 48, 0, 0}),
        L::label("MajorDetailBnd", "QRLabel26", "Objectives", {328, 35}, underlined),
        memo("MajorDetailBnd", "QRDBText18", major, "Major_description", 328, 48),

        L::label("MajorNotesBnd", "QRLabel9", "Major Activity Notes", {104, 0}, heading),
        memo("MajorNotesBnd", "QRDBText22", &ProjectData::MajorNotes, "Majornotes_note", 104, 16),

        L::label("ActionDetailBnd", "QRLabel10", "Action Name", {24, 0}, heading),
        L::label("ActionDetailBnd", "QRLabel23", "Start Date", {328, 0}, heading),
        L::label("ActionDetailBnd", "QRLabel24", "End Date", {424, 0}, heading),
        L::label("ActionDetailBnd", "QRLabel25", "Action Leader", {512, 0}, heading),
        L::field("ActionDetailBnd", "QRDBText23", action, "Action_name", {24, 16, 281, 0}),
        L::field("ActionDetailBnd", "QRDBText24", action, "Action_from_date", {328, 16, 0, 0}),
        L::field("ActionDetailBnd", "QRDBText25", action, "Action_to_date", {424, 16, 0, 0}),
        L::field("ActionDetailBnd", "QRDBText26", action, "Action_responsible", {512, 16, 208, 0}),
        L::field("ActionDetailBnd", "QRDBText27", action, "Action_completed", {48, 48, 0, 0}),
        L::field("ActionDetailBnd", "QRDBText28", action, "Action_critical", {176, 48, 0, 0}),
        L::label("ActionDetailBnd", "QRLabel27", "Objectives", {328, 34}, underlined),
        memo("ActionDetailBnd", "QRDBText29", action, "Action_description", 328, 48),

        L::label("ActionNotesBnd", "QRLabel19", "Action Notes", {104, 0}, heading),
        memo("ActionNotesBnd", "QRDBText33", &ProjectData::ActionNotes, "Actionnotes_note", 104,
             16),
    };
    for (const Team& t : teams)
        addTeam(e, t);
    return e;
}

} // namespace

ProjectReport::ProjectReport(ProjectData* dm, std::function<ProjectReportOptions()> options,
                             QObject* parent)
    : ReportForm(dm, "Form7", QStringLiteral("Detailed Project Report"),
                 ReportParts::letter(vok::PageSetup::Unit::Inch96, 48), parent),
      options_(std::move(options)) {
    build(bands, elements(), "QRLabel17");
    filterOnChosenProject();
    bandedReport->beforePrint = [this](vok::Report&) { reportBeforePrint(); };
    onBand("ProjectTeamHdr", &ProjectReport::ProjectTeamHdrBeforePrint);
    onBand("MajorTeamHdr", &ProjectReport::MajorTeamHdrBeforePrint);
    onBand("ActionTeamHdr", &ProjectReport::ActionTeamHdrBeforePrint);
    onBand("MajorDetailBnd", &ProjectReport::MajorDetailBndBeforePrint);
    onBand("ActionDetailBnd", &ProjectReport::ActionDetailBndBeforePrint);
}

void ProjectReport::onBand(const char* name, void (ProjectReport::*handler)(bool&)) {
    band(name)->beforePrint = [this, handler](vok::ReportBand&, bool& print) {
        (this->*handler)(print);
    };
}

void ProjectReport::reportBeforePrint() {
    const ProjectReportOptions o = options_();
    const auto enable = [this](std::initializer_list<const char*> names, bool on) {
        for (const char* n : names)
            band(n)->setEnabled(on);
    };
    enable({"MajorDetailBnd", "MajorTeamBnd", "MajorNotesBnd", "ActionDetailBnd", "ActionTeamBnd",
            "ActionNotesBnd", "MajorTeamHdr", "ActionTeamHdr", "ProjectNotesBnd", "ProjectTeamHdr",
            "ProjectTeamBnd"},
           true);
    if (!o.major)
        enable({"MajorDetailBnd", "MajorTeamBnd", "MajorNotesBnd", "ActionDetailBnd",
                "ActionTeamBnd", "ActionNotesBnd", "MajorTeamHdr", "ActionTeamHdr"},
               false);
    if (!o.actions)
        enable({"ActionDetailBnd", "ActionTeamBnd", "ActionNotesBnd", "ActionTeamHdr"}, false);
    if (!o.notes)
        enable({"MajorNotesBnd", "ActionNotesBnd", "ProjectNotesBnd"}, false);
    if (!o.team)
        enable({"MajorTeamBnd", "ActionTeamBnd", "MajorTeamHdr", "ActionTeamHdr", "ProjectTeamHdr",
                "ProjectTeamBnd"},
               false);
}

void ProjectReport::ProjectTeamHdrBeforePrint(bool& PrintBand) {
    PrintBand = !dm_->ProjectTeam->eof();
}

void ProjectReport::MajorTeamHdrBeforePrint(bool& PrintBand) {
    PrintBand = !dm_->MajorTeam->eof();
}

void ProjectReport::ActionTeamHdrBeforePrint(bool& PrintBand) {
    PrintBand = !dm_->ActionTeam->eof();
}

void ProjectReport::MajorDetailBndBeforePrint(bool& PrintBand) {
    PrintBand = !dm_->Major->eof();
}

void ProjectReport::ActionDetailBndBeforePrint(bool& PrintBand) {
    PrintBand = !dm_->Action->eof();
}
