#pragma once

#include <QList>

namespace vok {

class Table;

// Holds the observers' notices of some record-sets for as long as it lives (a merge moving the
// shared record-sets thousands of times); each tells its controls once when it ends.
class HeldNotices {
public:
    explicit HeldNotices(QList<Table*> tables);
    ~HeldNotices();
    HeldNotices(const HeldNotices&) = delete;
    HeldNotices& operator=(const HeldNotices&) = delete;

private:
    QList<Table*> tables_;
};

} // namespace vok
