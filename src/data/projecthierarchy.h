#pragma once

#include <QList>
#include <QStringList>
#include <array>
#include <optional>

class ProjectData;
namespace vok {
class Table;
}

// What hangs off a project, in one place: its major activities and under each its actions, and
// at every level a team and notes; a project also has contacts, time-sheet rows and cost rows.
// Deleting removes all of it, children first; copying repeats the records, teams and contacts
// and leaves notes, time sheets and costs behind. Both walk the working record-sets, whose links
// restrict each detail to the current record of its level.
class ProjectHierarchy {
public:
    enum Level { ProjectLevel = 0, MajorLevel = 1, ActionLevel = 2 };
    static constexpr int LevelCount = 3;

    // A record-set hanging off the current record of a level.
    struct Detail {
        vok::Table* table = nullptr;
        // A copy of the project repeats its rows.
        bool copied = false;
        // Closed except while it is used (the project's time-sheet and cost rows).
        bool openWhileUsed = false;
    };
    struct Node {
        vok::Table* records = nullptr;  // projects, Major or Action
        QList<Detail> details;          // in the order they are deleted and copied
        vok::Table* children = nullptr; // the next level down; none below an action
    };

    explicit ProjectHierarchy(ProjectData& dm);

    const Node& level(int level) const { return levels_.at(static_cast<size_t>(level)); }

    // Stores (or drops, when nothing was typed) a pending change of every record-set of the
    // hierarchy, so that a unit of work undone later cannot take the user's typing with it.
    void storePending();

    // Deletes the current record of a level with everything that hangs off it, children first.
    // The caller runs it inside one transaction.
    void remove(int level);

    // The fields of a record-set that carry its owners' numbers: the first `owners` index fields.
    static QStringList ownerFields(const vok::Table& table, int owners);

    // Where a record-set stands in the hierarchy: the level whose records it holds (`records`) or
    // whose current record it hangs off. Empty for a record-set that is none of these.
    struct Place {
        int level = ProjectLevel;
        bool records = false;
    };
    std::optional<Place> placeOf(const vok::Table& table) const;
    // The record-sets a record of a level must have nothing left in before it can go: its
    // details and the next level down.
    QList<vok::Table*> hangingOff(int level) const;

private:
    std::array<Node, LevelCount> levels_;
};
