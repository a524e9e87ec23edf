#pragma once

#include <QList>
#include <QWidget>

class QLabel;
class QPushButton;
class QToolButton;

namespace vok {
class DataLink;
class DBCheckBox;
class DBComboBox;
class DBDateEdit;
class DBEdit;
class DBMemo;
class Table;
} // namespace vok

// The first tab of a detail page: the fields of a project, major activity or action in
// data-aware controls from top to bottom, the "Word document" button, and Ok and Cancel, which
// show only while a new record is being added.
class RecordTab : public QWidget {
    Q_OBJECT
public:
    // Field names and captions of one level; a null field means the level has no such control.
    struct Fields {
        const char* name;
        const char* nameCaption;
        const char* description;
        const char* critical;
        const char* completed;
        const char* from;
        const char* to;
        const char* leader;
        const char* leaderCaption;
        const char* client;
        const char* percent;
        const char* hours;
        const char* actual;
    };

    RecordTab(const Fields& fields, QWidget* parent);

    // Binds the controls to the level's record-set; the leader list reads the members.
    void bind(vok::Table* table, vok::Table* members);
    vok::Table* table() const { return table_; }

    // The links of every data-aware control of the tab, in tab order.
    const QList<vok::DataLink*>& dataLinks() const { return links_; }
    // Whether a control holds a text its field refused.
    bool hasInvalidText() const;

    QLabel* nameLabel;
    vok::DBEdit* name;
    QLabel* descriptionLabel;
    vok::DBMemo* description;
    vok::DBCheckBox* critical = nullptr;
    vok::DBCheckBox* completed;
    QLabel* fromLabel;
    vok::DBDateEdit* from;
    QLabel* fromFormat;
    QLabel* toLabel;
    vok::DBDateEdit* to;
    QLabel* toFormat;
    QLabel* leaderLabel;
    vok::DBComboBox* leader;
    QLabel* clientLabel = nullptr;
    vok::DBEdit* client = nullptr;
    QLabel* percentLabel;
    vok::DBEdit* percent;
    QLabel* hoursLabel;
    vok::DBEdit* hours;
    QLabel* actualLabel;
    vok::DBEdit* actual;
    QToolButton* wordButton;
    QPushButton* ok;
    QPushButton* cancel;

private:
    Fields fields_;
    vok::Table* table_ = nullptr;
    QList<vok::DataLink*> links_;
    QList<vok::DBEdit*> edits_;
};
