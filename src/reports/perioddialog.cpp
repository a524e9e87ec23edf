#include "perioddialog.h"

#include "framework/dataset/shortdate.h"
#include "framework/ui/clock.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

namespace {

// Two digits, two digits and four digits in the order and with the separators of the short
// date format ("00/00/0000"), each position optional so that a field can be blanked.
QString dateMask() {
    QString mask = vok::ShortDate::pattern();
    for (QChar& c : mask) {
        if (c.isLetter())
            c = QLatin1Char('0');
    }
    return mask + QStringLiteral(";_");
}

QLineEdit* dateField(QWidget* parent, const char* name) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setInputMask(dateMask());
    return edit;
}

std::optional<QDate> dateIn(const QLineEdit* edit) {
    const QDate date = vok::ShortDate::parse(edit->text());
    return date.isValid() ? std::optional<QDate>(date) : std::nullopt;
}

} // namespace

PeriodDialog::PeriodDialog(ProjectData* dm, const char* name, const QString& title, QWidget* parent)
    : ReportDialog(dm, name, title, "Project", ProjectChoice::Listed, parent) {
    fromLabel = new QLabel(QStringLiteral("From date"), this);
    fromLabel->setObjectName(QStringLiteral("Label2"));
    FromDate = dateField(this, "FromDate");
    toLabel = new QLabel(QStringLiteral("To date"), this);
    toLabel->setObjectName(QStringLiteral("Label3"));
    ToDate = dateField(this, "ToDate");
    fromLabel->setBuddy(FromDate);
    toLabel->setBuddy(ToDate);
    fields()->addRow(fromLabel, FromDate);
    fields()->addRow(toLabel, ToDate);
}

std::optional<QDate> PeriodDialog::fromDate() const {
    return dateIn(FromDate);
}

std::optional<QDate> PeriodDialog::toDate() const {
    return dateIn(ToDate);
}

void PeriodDialog::prepare() {
    const QDate today = vok::Clock::today();
    FromDate->setText(vok::ShortDate::format(today.addDays(-365)));
    ToDate->setText(vok::ShortDate::format(today));
}
