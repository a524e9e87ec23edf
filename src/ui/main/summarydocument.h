#pragma once

#include <QString>
#include <QStringList>
#include <memory>

class QTextDocument;
class ProjectData;

// A short summary of the current project, major activity, action or contact, as a text document
// of one paragraph per line: the labelled fields, the objectives whole (each of their lines a
// paragraph of its own), or the contact's postal address, then three lines holding one blank.
// Written as an OpenDocument text file for the user's word processor.
class SummaryDocument {
public:
    enum class Kind { Project, Major, Action, Contact };

    // The lines of the current record of the kind's record-set, read as text as they stand now
    // (pending edits included).
    static QStringList lines(Kind kind, const ProjectData& dm);
    // One paragraph per line; line breaks inside a line (a memo's) start new paragraphs.
    static std::unique_ptr<QTextDocument> build(const QStringList& lines);
    // What the document is about, for its title and file name ("Project Alpha").
    static QString title(Kind kind, const ProjectData& dm);

    // Writes the document as OpenDocument text; throws when the file cannot be written.
    static void write(const QTextDocument& document, const QString& fileName);
    // Writes it into a folder under a name made from the title that no file there has yet
    // ("Project Alpha.odt", "Project Alpha (2).odt"); returns the file's path.
    static QString writeNew(const QTextDocument& document, const QString& folder,
                            const QString& title);
    // A title made safe as a file name: no separators, control characters or leading dots.
    static QString fileBaseName(const QString& title);
};
