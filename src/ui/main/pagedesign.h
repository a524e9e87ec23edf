#pragma once

#include "recordtab.h"
#include "summarydocument.h"

#include <array>
#include <span>

class ProjectData;
namespace vok {
class Table;
}

// What one detail page of the main window is made of: its tabs in order with the grids they hold
// and the object names the caption sets and assistive tools know them by, its record tab's rows,
// and the record-sets each part shows. The three levels are three rows of one table.
struct PageDesign {
    enum class Tab { Record, Team, Notes, Contacts, TimeSheets, Costs };
    struct TabDesign {
        Tab kind;
        const char* name;
        const char* caption;
        const char* grid = nullptr;
        // Team: the columns' field prefix and the mail button. Notes: the note field.
        // Time sheets and costs: the object names of the captions inside each panel.
        const char* field = nullptr;
        const char* emailCaption = nullptr;
        const char* button = nullptr;
        std::array<const char*, 4> lineNames{};
    };
    using Records = vok::Table* ProjectData::*;

    enum Level { Project = 0, Major = 1, Action = 2 };
    static const PageDesign& of(int level);

    const char* name;
    std::span<const TabDesign> tabs;
    std::span<const RecordTab::Row> fields;
    RecordTab::Buttons buttons;
    Records records;
    Records team;
    Records notes;
    Records timeSheets;
    Records costs;
    // The fields of the record's key, outermost first: a node's identity string.
    std::span<const char* const> keyFields;
    SummaryDocument::Kind document;
    const char* deleteQuestion;
};
