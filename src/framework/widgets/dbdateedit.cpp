#include "dbdateedit.h"

#include "framework/dataset/databaseerror.h"
#include "framework/dataset/shortdate.h"

namespace vok {

DBDateEdit::DBDateEdit(QWidget* parent) : DBEdit(parent) {
    setPlaceholderText(ShortDate::pattern());
}

QString DBDateEdit::refusal(const DatabaseError& error) const {
    return error.message() + QStringLiteral("; type it as ") + ShortDate::pattern();
}

} // namespace vok
