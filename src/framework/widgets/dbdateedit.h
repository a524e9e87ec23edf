#pragma once

#include "dbedit.h"

namespace vok {

// A date edit: a one-line edit of a date field in the short date format. It shows the format
// while empty, and a text that is no date is reported with the format to use; the text and the
// record's other changes stay as they are, so nothing typed is lost.
class DBDateEdit : public DBEdit {
    Q_OBJECT
public:
    explicit DBDateEdit(QWidget* parent = nullptr);

protected:
    QString refusal(const DatabaseError& error) const override;
};

} // namespace vok
