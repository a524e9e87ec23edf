#include "recordtab.h"

#include "framework/dataset/table.h"
#include "framework/widgets/datalink.h"
#include "framework/widgets/dbcheckbox.h"
#include "framework/widgets/dbcombobox.h"
#include "framework/widgets/dbdateedit.h"
#include "framework/widgets/dbedit.h"
#include "framework/widgets/dbmemo.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

namespace {
QString text(const char* s) {
    return QString::fromUtf8(s);
}
} // namespace

RecordTab::RecordTab(const Fields& fields, QWidget* parent) : QWidget(parent), fields_(fields) {
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(10, 10, 10, 10);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(6);
    int row = 0;
    const auto caption = [&](const char* s) {
        auto* l = new QLabel(text(s), this);
        l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        grid->addWidget(l, row, 0);
        return l;
    };
    // Widgets are created in tab order, top to bottom. Each caption is the buddy of its control,
    // which names the control for assistive tools in whatever language the caption speaks.
    nameLabel = caption(fields.nameCaption);
    name = new vok::DBEdit(this);
    nameLabel->setBuddy(name);
    grid->addWidget(name, row++, 1, 1, 3);
    edits_ << name;
    links_ << name->dataLink();

    descriptionLabel = caption("Objectives");
    descriptionLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    description = new vok::DBMemo(this);
    description->setMinimumHeight(70);
    descriptionLabel->setBuddy(description);
    grid->addWidget(description, row++, 1, 1, 3);
    links_ << description->dataLink();

    auto* marks = new QHBoxLayout;
    marks->setSpacing(16);
    if (fields.critical) {
        critical = new vok::DBCheckBox(QStringLiteral("Critical"), this);
        marks->addWidget(critical);
        links_ << critical->dataLink();
    }
    completed = new vok::DBCheckBox(QStringLiteral("Completed"), this);
    marks->addWidget(completed);
    marks->addStretch(1);
    links_ << completed->dataLink();
    grid->addLayout(marks, row++, 1, 1, 3);

    const auto dateRow = [&](const char* captionText, QLabel*& label, vok::DBDateEdit*& edit,
                             QLabel*& format) {
        label = caption(captionText);
        edit = new vok::DBDateEdit(this);
        edit->setFixedWidth(100);
        label->setBuddy(edit);
        grid->addWidget(edit, row, 1);
        format = new QLabel(this);
        format->setEnabled(false); // a hint, greyed
        grid->addWidget(format, row++, 2, 1, 2);
        edits_ << edit;
        links_ << edit->dataLink();
    };
    dateRow("Start date", fromLabel, from, fromFormat);
    dateRow("End date", toLabel, to, toFormat);

    leaderLabel = caption(fields.leaderCaption);
    leader = new vok::DBComboBox(this);
    leaderLabel->setBuddy(leader);
    grid->addWidget(leader, row++, 1, 1, 3);
    links_ << leader->dataLink();

    if (fields.client) {
        clientLabel = caption("Client");
        client = new vok::DBEdit(this);
        clientLabel->setBuddy(client);
        grid->addWidget(client, row++, 1, 1, 3);
        edits_ << client;
        links_ << client->dataLink();
    }

    // The last three are reached with the mouse only, not with the Tab key.
    const auto numberRow = [&](const char* captionText, QLabel*& label, vok::DBEdit*& edit,
                               int width, bool readOnly) {
        label = caption(captionText);
        edit = new vok::DBEdit(this);
        edit->setFixedWidth(width);
        edit->setFocusPolicy(Qt::ClickFocus);
        edit->setReadOnly(readOnly);
        label->setBuddy(edit);
        grid->addWidget(edit, row++, 1, 1, 3, Qt::AlignLeft);
        edits_ << edit;
        links_ << edit->dataLink();
    };
    numberRow("% Complete", percentLabel, percent, 44, false);
    numberRow("Actual hours", hoursLabel, hours, 100, true);
    numberRow("Actual costs", actualLabel, actual, 100, true);

    grid->setRowStretch(row++, 1);
    grid->setColumnStretch(3, 1);

    auto* buttons = new QHBoxLayout;
    wordButton = new QToolButton(this);
    wordButton->setText(QStringLiteral("Word document"));
    wordButton->setToolButtonStyle(Qt::ToolButtonTextOnly);
    buttons->addWidget(wordButton);
    buttons->addStretch(1);
    ok = new QPushButton(QStringLiteral("Ok"), this);
    cancel = new QPushButton(QStringLiteral("Cancel"), this);
    ok->hide();
    cancel->hide();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    grid->addLayout(buttons, row, 0, 1, 4);
}

void RecordTab::bind(vok::Table* table, vok::Table* members) {
    table_ = table;
    const auto field = [](const char* s) { return QString::fromLatin1(s); };
    name->setDataSource(table, field(fields_.name));
    description->setDataSource(table, field(fields_.description));
    if (critical)
        critical->setDataSource(table, field(fields_.critical));
    completed->setDataSource(table, field(fields_.completed));
    from->setDataSource(table, field(fields_.from));
    to->setDataSource(table, field(fields_.to));
    leader->setListSource(members, QStringLiteral("Member_name"));
    leader->setDataSource(table, field(fields_.leader));
    if (client)
        client->setDataSource(table, field(fields_.client));
    percent->setDataSource(table, field(fields_.percent));
    hours->setDataSource(table, field(fields_.hours));
    actual->setDataSource(table, field(fields_.actual));
}

bool RecordTab::hasInvalidText() const {
    return std::any_of(edits_.begin(), edits_.end(),
                       [](const vok::DBEdit* e) { return e->hasInvalidText(); });
}
