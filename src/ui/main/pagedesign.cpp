#include "pagedesign.h"

#include "data/projectdata.h"

namespace {

using Tab = PageDesign::Tab;
using Row = RecordTab::Row;
using Role = RecordTab::Role;
using Editor = RecordTab::Editor;

const PageDesign::TabDesign projectTabs[] = {
    {.kind = Tab::Record, .name = "TabSheet1", .caption = "Project"},
    {.kind = Tab::Team,
     .name = "TabSheet2",
     .caption = "Team Members",
     .grid = "DBGrid3",
     .field = "ProjectTeam",
     .emailCaption = "Email",
     .button = "SpeedButton1"},
    {.kind = Tab::Notes,
     .name = "TabSheet8",
     .caption = "Notes",
     .grid = "ProjectNotesGrid",
     .field = "Projectnotes_note"},
    {.kind = Tab::Contacts, .name = "TabSheet10", .caption = "Contacts", .grid = "DBCtrlGrid4"},
    {.kind = Tab::TimeSheets,
     .name = "TabSheet9",
     .caption = "Time Sheets",
     .grid = "DBCtrlGrid1",
     .lineNames = {"Label28", "Label29", "Label32", "Label33"}},
    {.kind = Tab::Costs,
     .name = "TabSheet11",
     .caption = "Cost entries",
     .grid = "DBCtrlGrid5",
     .lineNames = {"Label24", "Label25", "Label40"}},
};
const PageDesign::TabDesign majorTabs[] = {
    {.kind = Tab::Record, .name = "TabSheet4", .caption = "Major Activity"},
    {.kind = Tab::Team,
     .name = "TabSheet5",
     .caption = "Team Members",
     .grid = "DBGrid2",
     .field = "MajorTeam",
     .emailCaption = "Email",
     .button = "SpeedButton3"},
    {.kind = Tab::Notes,
     .name = "TabSheet12",
     .caption = "Notes",
     .grid = "MajorNotesGrid",
     .field = "Majornotes_note"},
    {.kind = Tab::TimeSheets,
     .name = "TabSheet3",
     .caption = "Time Sheets",
     .grid = "DBCtrlGrid2",
     .lineNames = {"Label1", "Label8", "Label34", "Label35"}},
    {.kind = Tab::Costs,
     .name = "TabSheet13",
     .caption = "Cost entries",
     .grid = "DBCtrlGrid6",
     .lineNames = {"Label37", "Label38", "Label43"}},
};
const PageDesign::TabDesign actionTabs[] = {
    {.kind = Tab::Record, .name = "TabSheet7", .caption = "Action"},
    {.kind = Tab::Team,
     .name = "TabSheet14",
     .caption = "Team Members",
     .grid = "DBGrid1",
     .field = "ActionTeam",
     .emailCaption = "email",
     .button = "SpeedButton2"},
    {.kind = Tab::Notes,
     .name = "TabSheet15",
     .caption = "Notes",
     .grid = "ActionNotesGrid",
     .field = "Actionnotes_note"},
    {.kind = Tab::TimeSheets,
     .name = "TabSheet6",
     .caption = "Time Sheets",
     .grid = "DBCtrlGrid3",
     .lineNames = {"Label41", "Label42", "Label36", "Label39"}},
    {.kind = Tab::Costs,
     .name = "TabSheet16",
     .caption = "Cost entries",
     .grid = "DBCtrlGrid7",
     .lineNames = {"Label44", "Label45", "Label46"}},
};

const Row projectFields[] = {
    {Role::Name, Editor::Text, "Project Name", "Zel_project", "DBEdit2", "Label2"},
    {Role::Description, Editor::Memo, "Objectives", "Zel_description", "DBMemo1", "Label3"},
    {Role::Completed, Editor::Check, "Completed", "Zel_completed", "DBCheckBox1"},
    {Role::From, Editor::Date, "Start date", "Zel_date_from", "DBEdit3", "Label4", "SDLabel3"},
    {Role::To, Editor::Date, "End date", "Zel_date_to", "DBEdit4", "Label5", "SDLabel4"},
    {Role::Leader, Editor::Lookup, "Project leader", "Zel_leader", "DBLookupComboBox1", "Label6"},
    {Role::Client, Editor::Text, "Client", "Zel_client", "DBEdit5", "Label7"},
    {Role::Percent, Editor::Number, "% Complete", "Zel_perc_complete", "DBEdit6", "Label9", nullptr,
     44},
    {Role::Hours, Editor::Number, "Actual hours", "Zel_hours", "DBEdit7", "Label10", nullptr, 100,
     true},
    {Role::Actual, Editor::Number, "Actual costs", "Zel_actual", "DBEdit1", "Label11", nullptr, 100,
     true},
};
const Row majorFields[] = {
    {Role::Name, Editor::Text, "Major Name", "Major_item", "DBEdit8", "Label12"},
    {Role::Description, Editor::Memo, "Objectives", "Major_description", "DBMemo2", "Label13"},
    {Role::Critical, Editor::Check, "Critical", "Major_critical", "DBCheckBox2"},
    {Role::Completed, Editor::Check, "Completed", "Major_completed", "DBCheckBox3"},
    {Role::From, Editor::Date, "Start date", "Major_from_date", "DBEdit9", "Label14", "SDLabel1"},
    {Role::To, Editor::Date, "End date", "Major_to_date", "DBEdit10", "Label16", "SDLabel2"},
    {Role::Leader, Editor::Lookup, "Major leader", "Major_leader", "DBLookupComboBox2", "Label17"},
    {Role::Percent, Editor::Number, "% Complete", "Major_perc_complete", "DBEdit11", "Label18",
     nullptr, 44},
    {Role::Hours, Editor::Number, "Actual hours", "Major_hours", "DBEdit12", "Label20", nullptr,
     100, true},
    {Role::Actual, Editor::Number, "Actual costs", "Major_actual", "DBEdit14", "Label21", nullptr,
     100, true},
};
const Row actionFields[] = {
    {Role::Name, Editor::Text, "Action Name", "Action_name", "DBEdit13", "Label15"},
    {Role::Description, Editor::Memo, "Objectives", "Action_description", "DBMemo3", "Label22"},
    {Role::Critical, Editor::Check, "Critical", "Action_critical", "DBCheckBox4"},
    {Role::Completed, Editor::Check, "Completed", "Action_completed", "DBCheckBox5"},
    {Role::From, Editor::Date, "Start date", "Action_from_date", "DBEdit15", "Label23", "SDLabel5"},
    {Role::To, Editor::Date, "End date", "Action_to_date", "DBEdit16", "Label26", "SDLabel6"},
    {Role::Leader, Editor::Lookup, "Action Leader", "Action_responsible", "DBLookupComboBox3",
     "Label19"},
    {Role::Percent, Editor::Number, "% Complete", "Action_perc_complete", "DBEdit17", "Label27",
     nullptr, 44},
    {Role::Hours, Editor::Number, "Actual hours", "Action_hours", "DBEdit18", "Label30", nullptr,
     100, true},
    {Role::Actual, Editor::Number, "Actual costs", "Action_actual", "DBEdit19", "Label31", nullptr,
     100, true},
};

const char* const projectKey[] = {"Zel_Project_id"};
const char* const majorKey[] = {"Major_project_id", "Major_id"};
const char* const actionKey[] = {"Action_project_id", "Action_major_id", "Action_id"};

const PageDesign pages[] = {
    {.name = "ProjectPageControl",
     .tabs = projectTabs,
     .fields = projectFields,
     .buttons = {"SpeedButton6", "Button5", "Button6"},
     .records = &ProjectData::projects,
     .team = &ProjectData::ProjectTeam,
     .notes = &ProjectData::ProjectNotes,
     .timeSheets = &ProjectData::ProjectTS,
     .costs = &ProjectData::ProjectCost,
     .keyFields = projectKey,
     .document = SummaryDocument::Kind::Project,
     .deleteQuestion = "Are you certain that you want to delete this project?"},
    {.name = "MajorPageControl",
     .tabs = majorTabs,
     .fields = majorFields,
     .buttons = {"SpeedButton8", "Button3", "Button4"},
     .records = &ProjectData::Major,
     .team = &ProjectData::MajorTeam,
     .notes = &ProjectData::MajorNotes,
     .timeSheets = &ProjectData::MajorTS,
     .costs = &ProjectData::MajorCost,
     .keyFields = majorKey,
     .document = SummaryDocument::Kind::Major,
     .deleteQuestion = "Are you certain that you want to delete this major activity?"},
    {.name = "ActionPageControl",
     .tabs = actionTabs,
     .fields = actionFields,
     .buttons = {"SpeedButton7", "Button1", "Button2"},
     .records = &ProjectData::Action,
     .team = &ProjectData::ActionTeam,
     .notes = &ProjectData::ActionNotes,
     .timeSheets = &ProjectData::ActionTS,
     .costs = &ProjectData::ActionCost,
     .keyFields = actionKey,
     .document = SummaryDocument::Kind::Action,
     .deleteQuestion = "Are you certain that you want to delete this Action?"},
};

} // namespace

const PageDesign& PageDesign::of(int level) {
    return pages[level];
}
