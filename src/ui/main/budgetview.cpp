#include "budgetview.h"

#include "budgetbar.h"
#include "framework/dataset/shortdate.h"
#include "framework/dataset/table.h"
#include "framework/ui/guard.h"
#include "recordtab.h"

#include <QCoreApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QTimer>
#include <cmath>

namespace {

// A text the code makes, in the interface language (the main window's).
QString said(const char* text) {
    return QCoreApplication::translate("Form1", text);
}

QString hours(double value) {
    return QLocale().toString(std::round(value * 100) / 100, 'f', QLocale::FloatingPointShortest);
}

QString money(double value) {
    return QLocale().toCurrencyString(value);
}

// What each level's children are called where their budgets are added up.
const char* const childHoursTexts[] = {"major activities add up to %1 h", "actions add up to %1 h"};
const char* const childMoneyTexts[] = {"major activities add up to %1", "actions add up to %1"};

} // namespace

BudgetView::BudgetView(RecordTab* tab, const PageDesign& design)
    : QObject(tab), tab_(tab), design_(design), reread_(new QTimer(this)) {
    QString prefix = QLatin1String(design.name);
    prefix.chop(static_cast<int>(qstrlen("PageControl")));
    const auto name = [&](QObject* o, const char* suffix) {
        o->setObjectName(prefix + QLatin1String(suffix));
    };
    hoursUsed = new BudgetBar(tab);
    name(hoursUsed, "HoursUsed");
    costUsed = new BudgetBar(tab);
    name(costUsed, "CostUsed");
    hoursNote = new QLabel(tab);
    name(hoursNote, "BudgetHoursNote");
    costNote = new QLabel(tab);
    name(costNote, "BudgetNote");
    // The actual dates: read only, a caption and its date, narrow enough to share the dates'
    // lines with their short-date hints.
    const auto dated = [&](QLabel*& caption, QLabel*& date, const char* text,
                           const char* dateName) {
        auto* box = new QWidget(tab);
        auto* line = new QHBoxLayout(box);
        line->setContentsMargins(0, 0, 0, 0);
        caption = new QLabel(QString::fromUtf8(text), box);
        caption->setObjectName(prefix + QLatin1String(dateName) + QStringLiteral("Label"));
        date = new QLabel(box);
        name(date, dateName);
        date->setTextInteractionFlags(Qt::TextSelectableByMouse);
        caption->setBuddy(date);
        line->addWidget(caption);
        line->addWidget(date);
        line->addStretch(1);
        return box;
    };
    hoursNote->setWordWrap(true);
    costNote->setWordWrap(true);
    // On the line of its planned date, "Actual" says which.
    tab->placeBeside(RecordTab::Role::From, dated(startLabel, start, "Actual", "ActualStart"));
    tab->placeBeside(RecordTab::Role::To, dated(finishLabel, finish, "Actual", "ActualFinish"));
    tab->placeBeside(RecordTab::Role::Hours, hoursUsed);
    tab->placeBeside(RecordTab::Role::Actual, costUsed);
    tab->placeBeside(RecordTab::Role::BudgetHours, hoursNote);
    tab->placeBeside(RecordTab::Role::Budget, costNote);
    tab->installEventFilter(this);
    reread_->setSingleShot(true);
    reread_->setInterval(0);
    connect(reread_, &QTimer::timeout, this, [this] { vok::Guard::run([this] { readPage(); }); });
    showFigures();
}

BudgetView::~BudgetView() = default;

void BudgetView::bind(vok::Table* table) {
    table_ = table;
    figures_ = std::make_unique<NodeFigures>(*table->store());
    // Typing changes the figures at once; another record, or the record read again, may have
    // other booked days.
    connect(table, &vok::Table::fieldChanged, this, [this] { showFigures(); });
    connect(table, &vok::Table::currentChanged, this, [this] {
        showFigures();
        if (tab_->isVisible())
            reread_->start();
    });
    showFigures();
}

bool BudgetView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == tab_) {
        if (event->type() == QEvent::Show)
            vok::Guard::run([this] { readPage(); });
        else if (event->type() == QEvent::LanguageChange)
            showFigures();
    }
    return QObject::eventFilter(watched, event);
}

QVariantList BudgetView::key() const {
    QVariantList key;
    if (!table_ || !table_->isActive() || table_->isEmpty() ||
        table_->state() == vok::Table::State::Insert)
        return key;
    for (const char* f : design_.keyFields) {
        const QVariant v = table_->fieldByName(QLatin1String(f)).value();
        if (v.isNull())
            return {};
        key << v;
    }
    return key;
}

void BudgetView::readPage() {
    reread_->stop();
    const QVariantList k = key();
    page_ = k.isEmpty() ? NodeFigures::Page{} : figures_->page(k);
    pageKey_ = k;
    showFigures();
}

void BudgetView::showFigures() {
    const QVariantList k = key();
    const bool shown = !k.isEmpty();
    // The booked days and children read for another record are not this one's.
    const NodeFigures::Page page = shown && k == pageKey_ ? page_ : NodeFigures::Page{};
    const int level = static_cast<int>(design_.keyFields.size()) - 1;
    const auto value = [&](const char* field) {
        return shown ? table_->fieldByName(QLatin1String(field)).value() : QVariant();
    };
    const auto [h, c] = NodeFigures::uses(level, value);
    const int percent = value(NodeFigures::fields(level).percent).toInt();

    const auto bar = [](BudgetBar* b, const NodeFigures::Use& u, const char* within,
                        const char* beyond, QString (*text)(double)) {
        // No budget, no bar.
        b->setVisible(u.budget.has_value());
        if (!u.budget)
            return;
        const double share = u.share().value_or(0);
        b->setUse(share, u.over(),
                  u.over() ? said(beyond).arg(text(-*u.left()))
                           : said(within)
                                 .arg(text(u.actual), text(*u.budget))
                                 .arg(QLocale().toString(qRound(share))));
    };
    bar(hoursUsed, h, "%1 of %2 h, %3 %", "over by %1 h", hours);
    bar(costUsed, c, "%1 of %2, %3 %", "over by %1", money);

    const auto note = [&](QLabel* label, const NodeFigures::Use& u, const char* left,
                          const char* forecast, const std::optional<double>& children,
                          const char* const* childTexts, QString (*text)(double)) {
        QStringList parts;
        if (u.left())
            parts << said(left).arg(text(*u.left()));
        if (const auto f = NodeFigures::forecast(u.actual, percent); f && shown)
            parts << said(forecast).arg(text(*f));
        if (level < 2 && children && page.children > 0 &&
            (!u.budget || std::abs(*children - *u.budget) > 0.005))
            parts << said(childTexts[level]).arg(text(*children));
        label->setText(parts.join(QStringLiteral(", ")));
    };
    note(hoursNote, h, "%1 h left", "forecast %1 h", page.childHours, childHoursTexts, hours);
    note(costNote, c, "%1 left", "forecast %1", page.childBudget, childMoneyTexts, money);
    start->setText(vok::ShortDate::format(page.booked.start));
    finish->setText(vok::ShortDate::format(page.booked.finish));
    // Said whole to assistive tools, which do not see the lines.
    start->setAccessibleName(said("Actual start"));
    finish->setAccessibleName(said("Actual finish"));
}
