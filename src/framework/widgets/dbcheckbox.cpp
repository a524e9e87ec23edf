#include "dbcheckbox.h"

#include "datalink.h"
#include "framework/dataset/field.h"
#include "framework/dataset/table.h"
#include "framework/ui/guard.h"

namespace vok {

namespace {
bool among(const QString& text, const QString& values) {
    const QStringList list = values.split(QLatin1Char(';'));
    return std::any_of(list.begin(), list.end(),
                       [&](const QString& v) { return v.compare(text, Qt::CaseInsensitive) == 0; });
}
} // namespace

DBCheckBox::DBCheckBox(const QString& text, QWidget* parent)
    : QCheckBox(text, parent), link_(new DataLink(this)) {
    link_->onChange = [this](DataLink::Changes) { reload(); };
    connect(this, &QCheckBox::clicked, this, &DBCheckBox::onClicked);
}

void DBCheckBox::setDataSource(Table* table, const QString& fieldName) {
    link_->setTable(table);
    link_->setFieldName(fieldName);
    link_->deliver();
}

void DBCheckBox::reload() {
    const Field* f = link_->field();
    bool on = false;
    if (f && link_->isActive() && !f->isNull())
        on = f->type() == FieldType::Boolean ? f->asBoolean() : among(f->asString(), valueChecked_);
    setChecked(on);
}

void DBCheckBox::onClicked(bool checked) {
    if (!link_->canModify()) {
        reload();
        return;
    }
    const bool ok = Guard::run([&] {
        link_->write([&] {
            Field& f = *link_->field();
            if (f.type() == FieldType::Boolean)
                f.setAsBoolean(checked);
            else
                f.setAsString(
                    (checked ? valueChecked_ : valueUnchecked_).section(QLatin1Char(';'), 0, 0));
        });
    });
    if (!ok)
        reload();
}

} // namespace vok
