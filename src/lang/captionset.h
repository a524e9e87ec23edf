#pragma once

#include <QList>
#include <QString>
#include <array>

// The interface languages; any other index means English.
enum class Language { English = 0, French = 1, Spanish = 2 };

// What a caption is written into: a window's title, a control's caption, a pop-up hint, a grid
// column's title, a radio item, a menu item, a report label, or the text a report prints before
// its date or page number. A text is none of these: a message or a printed text that the code
// makes at the moment, looked up by its English words.
enum class CaptionKind {
    Window,
    Label,
    Button,
    CheckBox,
    TabSheet,
    GroupBox,
    SpeedButton,
    RadioGroup,
    Hint,
    Column,
    Item,
    MenuItem,
    ReportLabel,
    SysData,
    Text,
};

// One target and its text in each language.
struct Caption {
    QString window;    // the window's object name: "Form1"
    QString component; // its object name; empty for the window itself
    CaptionKind kind = CaptionKind::Label;
    int index = -1;               // grid column or radio item, from 0
    std::array<QString, 3> texts; // English, French, Spanish

    const QString& text(Language language) const { return texts[static_cast<int>(language)]; }
    // "Form1.DBGrid3 column 1", for messages.
    QString target() const;
};

// The caption sets: one table naming every target once, with its English, French and Spanish
// texts, kept as a resource of the program.
class CaptionSet {
public:
    // The built-in table's captions of windows and reports, read once.
    static const QList<Caption>& all();
    // The built-in table's texts: their window is the code's context, their component a name.
    static const QList<Caption>& texts();
    // Reads a table; a malformed row throws std::runtime_error naming its line.
    static QList<Caption> parse(const QString& table);
    // The language an index names: 1 French, 2 Spanish, anything else English.
    static Language language(int index);
};
