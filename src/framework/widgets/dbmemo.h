#pragma once

#include <QPlainTextEdit>

namespace vok {

class DataLink;
class Table;

// A multi-line edit of one text field of the current record. What the user types goes into the
// field at once; the Tab key moves on to the next control.
class DBMemo : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit DBMemo(QWidget* parent = nullptr);

    void setDataSource(Table* table, const QString& fieldName);
    DataLink* dataLink() const { return link_; }
    void reload();

private:
    void onTextChanged();

    DataLink* link_;
    bool loading_ = false;
};

} // namespace vok
