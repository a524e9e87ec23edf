#pragma once

#include <QFrame>
#include <QList>
#include <QString>

class QLabel;
class QPlainTextEdit;

namespace vok {

class Table;
class TableRows;

// What each panel of a control grid shows: lines of fields (a caption beside the value, or the
// value alone, bold if asked), and a memo filling the panel or standing on its right.
struct CtrlGridDesign {
    struct Line {
        QString field;
        QString caption;
        bool bold = false;
        QString captionName; // object name of the caption label in every panel
    };
    enum class MemoPlace { Fill, Right };

    QList<Line> lines;
    QString memoField;
    MemoPlace memoPlace = MemoPlace::Fill;
};

// One panel of a control grid: shows the record at one row of the grid's record-set.
class DBCtrlGridPanel : public QFrame {
    Q_OBJECT
public:
    DBCtrlGridPanel(const CtrlGridDesign& design, QWidget* parent);

    // Shows a row (-1: a blank panel standing for the first record of an empty list).
    void showRow(const Table& table, const TableRows& rows, int row, bool current);
    int row() const { return row_; }
    bool isCurrent() const { return current_; }

    QPlainTextEdit* memo() const { return memo_; }
    QLabel* caption(int line) const { return captions_.value(line); }
    QLabel* value(int line) const { return values_.value(line); }
    void setCaption(int line, const QString& text);

Q_SIGNALS:
    // The user changed the memo's text.
    void memoEdited(const QString& text);

private:
    const CtrlGridDesign& design_;
    QList<QLabel*> captions_;
    QList<QLabel*> values_;
    QPlainTextEdit* memo_ = nullptr;
    int row_ = -1;
    bool current_ = false;
    bool loading_ = false;
};

} // namespace vok
