#pragma once

#include "framework/report/reportband.h"
#include "framework/report/reportfont.h"

#include <QColor>
#include <QRectF>
#include <span>

class ProjectData;

namespace vok {
class Report;
class ReportElement;
class Table;
} // namespace vok

// One of the data module's record-sets, named as a member: &ProjectData::Major.
using DataSet = vok::Table* ProjectData::*;

// A band of a report as a row of data. Bands are made in table order, which is the order in
// which the sub-details of one master print.
struct BandDef {
    const char* name = nullptr;
    vok::ReportBand::Kind kind = vok::ReportBand::Kind::Detail;
    qreal height = 0;
    DataSet dataset = nullptr;
    const char* master = nullptr; // the band a sub-detail prints under
    const char* header = nullptr; // printed once before the band's first record
    bool printIfEmpty = false;
    bool forceNewPage = false;
    bool frameBottom = false;
    bool cancelsSubDetails = false;
    bool keepWithNext = false; // never ends a page alone
};

// An element of a report as a row of data, in the band's units. Elements print in table order.
struct ElementDef {
    enum class Kind {
        Label,
        Field,
        Date,       // the date of the run after the text
        DateTime,   // the date and time of the run after the text
        PageNumber, // the page number after the text
        Sum,        // the sum of a field over the printings of the band sumOf
        Rectangle,
        HorizontalLine,
        VerticalLine,
        TopAndBottomLines,
    };

    const char* band = nullptr; // none: printed on every page, at page coordinates
    const char* name = nullptr;
    Kind kind = Kind::Label;
    const char* text = ""; // a label's caption, the prefix of system data and sums
    DataSet dataset = nullptr;
    const char* field = nullptr;
    // Width 0 sizes a text to its content; height 0 gives it one line of its font.
    QRectF box = {};
    vok::ReportFont font = {};
    Qt::Alignment align = Qt::AlignLeft;
    // Sized to its content, keeping the left edge, the right edge or the centre of its box.
    bool fit = false;
    bool centred = false; // centred on the band
    bool stretch = false; // grows downwards with a long text, and its band with it
    bool wordWrap = false;
    bool frameBottom = false;
    QColor fill = Qt::white;
    QColor pen = Qt::black;
    Qt::PenStyle penStyle = Qt::SolidLine;
    qreal penWidth = 1;
    const char* sumOf = nullptr;
    const char* mask = nullptr; // number mask of a sum
};

// Builds a report from its tables of bands and elements, and makes the rows most tables hold.
class ReportLayout {
public:
    // A caption at a place, sized to its text.
    static ElementDef label(const char* band, const char* name, const char* text, QPointF at,
                            const vok::ReportFont& font = {});
    // A field's text in a box; width 0 sizes it to its text.
    static ElementDef field(const char* band, const char* name, DataSet dataset, const char* field,
                            QRectF box, Qt::Alignment align = Qt::AlignLeft);
    // A field's text centred on the band.
    static ElementDef centredField(const char* band, const char* name, DataSet dataset,
                                   const char* field, qreal y);
    // The report's title, bold, centred on the band.
    static ElementDef title(const char* band, const char* name, const char* text, qreal y,
                            qreal size);
    // The date (or date and time) of the run after a prefix.
    static ElementDef runDate(const char* band, const char* name, ElementDef::Kind kind,
                              const char* prefix, QPointF at, const vok::ReportFont& font = {});
    // The page number after a prefix, ending at `right`.
    static ElementDef pageNumber(const char* band, const char* name, const char* prefix,
                                 qreal right, qreal y);

    static void addBands(vok::Report& report, ProjectData& dm, std::span<const BandDef> bands);
    static void addElements(vok::Report& report, ProjectData& dm,
                            std::span<const ElementDef> elements);

    static vok::ReportBand* band(const vok::Report& report, const char* name);
    static vok::ReportElement* element(const vok::Report& report, const QString& name);
};
