#pragma once

#include <QGridLayout>
#include <QLabel>
#include <QList>
#include <QPushButton>
#include <QToolButton>
#include <QWidget>

#include <span>

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
// show only while a new record is being added. Built from a table of rows, one per field.
class RecordTab : public QWidget {
    Q_OBJECT
public:
    // The control a row makes: a line, a multi-line text, a check box (consecutive ones share a
    // line), a date with its short-date pattern beside it, a pick list of the members, or a number
    // reached with the mouse only, or an amount (a number the Tab key reaches).
    enum class Editor { Text, Memo, Check, Date, Lookup, Number, Amount };
    // Which of the members below a row fills.
    enum class Role {
        Name,
        Description,
        Critical,
        Completed,
        From,
        To,
        Leader,
        Client,
        Percent,
        Hours,
        Actual,
        BudgetHours,
        Budget
    };
    struct Row {
        Role role;
        Editor editor;
        const char* caption; // the label's text, or the check box's
        const char* field;
        const char* editorName;
        const char* labelName = nullptr;
        const char* hintName = nullptr; // a date's short-date pattern
        int width = 0;                  // a number's fixed width
        bool readOnly = false;
    };
    // The object names of the buttons at the foot of the tab.
    struct Buttons {
        const char* word;
        const char* ok;
        const char* cancel;
    };

    RecordTab(std::span<const Row> rows, const Buttons& buttons, QWidget* parent);

    // Binds the controls to the level's record-set; the leader list reads the members.
    void bind(vok::Table* table, vok::Table* members);
    vok::Table* table() const { return table_; }

    // The links of every data-aware control of the tab, in tab order.
    const QList<vok::DataLink*>& dataLinks() const { return links_; }
    // Whether a control holds a text its field refused, and the first that does.
    bool hasInvalidText() const;
    vok::DBEdit* refusedEdit() const;
    // Every control reads its field again; refused texts are dropped.
    void reload();
    // The short-date pattern labels beside the dates.
    const QList<QLabel*>& dateHints() const { return hints_; }
    // Puts a widget on the line of a role's row, right of its control: after a date's hint, or
    // beside a number.
    void placeBeside(Role role, QWidget* widget);

    QLabel* nameLabel = nullptr;
    vok::DBEdit* name = nullptr;
    QLabel* descriptionLabel = nullptr;
    vok::DBMemo* description = nullptr;
    vok::DBCheckBox* critical = nullptr;
    vok::DBCheckBox* completed = nullptr;
    QLabel* fromLabel = nullptr;
    vok::DBDateEdit* from = nullptr;
    QLabel* fromHint = nullptr;
    QLabel* toLabel = nullptr;
    vok::DBDateEdit* to = nullptr;
    QLabel* toHint = nullptr;
    QLabel* leaderLabel = nullptr;
    vok::DBComboBox* leader = nullptr;
    QLabel* clientLabel = nullptr;
    vok::DBEdit* client = nullptr;
    QLabel* percentLabel = nullptr;
    vok::DBEdit* percent = nullptr;
    QLabel* hoursLabel = nullptr;
    vok::DBEdit* hours = nullptr;
    QLabel* actualLabel = nullptr;
    vok::DBEdit* actual = nullptr;
    QLabel* budgetHoursLabel = nullptr;
    vok::DBEdit* budgetHours = nullptr;
    QLabel* budgetLabel = nullptr;
    vok::DBEdit* budget = nullptr;
    QToolButton* wordButton;
    QPushButton* ok;
    QPushButton* cancel;

Q_SIGNALS:
    // Escape, from any control of the tab.
    void escapePressed();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void keep(const Row& row, QLabel* label, QWidget* editor, QLabel* hint);
    // Messages about a field call it by its caption, in the interface language.
    void nameFields();

    std::span<const Row> rows_;
    QList<QWidget*> editors_; // in step with rows_
    QList<int> lines_;        // in step with rows_: the grid line of each
    QGridLayout* grid_;
    vok::Table* table_ = nullptr;
    QList<vok::DataLink*> links_;
    QList<vok::DBEdit*> edits_;
    QList<QLabel*> hints_;
    QList<QLabel*> labels_; // in step with rows_; null for a check box
};
