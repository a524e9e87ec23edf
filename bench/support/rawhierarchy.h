#pragma once

#include <QtGlobal>

namespace vok {
class Store;
}

// The baseline of the hierarchy benchmarks: every column of every row of the projects, major
// activities and actions, read with three plain SELECTs through the engine statements the
// record-sets use.
struct RawHierarchy {
    qint64 projects = 0;
    qint64 majors = 0;
    qint64 actions = 0;
    qint64 checksum = 0; // name lengths and action numbers, to compare with a walk
    qint64 nanoseconds = 0;

    qint64 rows() const { return projects + majors + actions; }
    static RawHierarchy read(vok::Store& store);
};
