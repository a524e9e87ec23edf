#pragma once

#include <QObject>
#include <QRectF>
#include <QString>

class TDataModule2;
class TForm1;
class TForm4;

namespace vok {
class Report;
class ReportBand;
class ReportFieldText;
class ReportLabel;
class ReportShape;
class ReportSysData;
class Table;
} // namespace vok

// The time line report: one bar per major activity and action of a project against a scale of
// days or months, with the current date and the project's end as lines over every page. Never
// shown: its report is previewed or printed from TForm4, whose choices it reads while it runs.
class TForm5 : public QObject {
    Q_OBJECT
public:
    TForm5(TForm1* form1, TDataModule2* dm, TForm4* form4, QObject* parent = nullptr);

    vok::Report* QuickRep1;
    vok::ReportBand* QRBand1;      // page header
    vok::ReportBand* QRBand2;      // one per project
    vok::ReportBand* QRSubDetail1; // one per major activity
    vok::ReportBand* QRSubDetail2; // one per action

    vok::ReportLabel* QRLabel1; // title
    vok::ReportSysData* QRSysData1;
    vok::ReportSysData* QRSysData2;
    vok::ReportSysData* QRSysData3; // current-date marker
    vok::ReportFieldText* QRDBText1;
    vok::ReportShape* QRShape4;
    vok::ReportShape* QRShape6;
    vok::ReportShape* QRShape8;
    vok::ReportShape* QRShape10;

    vok::ReportFieldText* QRDBText2;
    vok::ReportLabel* QRLabel8; // "Project End date"
    vok::ReportFieldText* QRDBText5;

    vok::ReportFieldText* QRDBText3;
    vok::ReportShape* QRShape2;
    vok::ReportFieldText* MajorFromDate;
    vok::ReportFieldText* MajorEndDate;
    vok::ReportLabel* MajorDateLabel;
    vok::ReportShape* QRShapeComplete1;

    vok::ReportFieldText* QRDBText4;
    vok::ReportShape* QRShape3;
    vok::ReportFieldText* ActionFromDate;
    vok::ReportFieldText* ActionEndDate;
    vok::ReportLabel* ActionDateLabel;
    vok::ReportShape* QRShapeComplete2;

    vok::ReportShape* QRShape1;  // separator between names and chart
    vok::ReportShape* QRShape11; // current date
    vok::ReportShape* QRShape7;  // project end

    // Report events, in the order the engine raises them.
    void QuickRep1BeforePrint();
    void Setlines();
    void QRBand1BeforePrint(bool& PrintBand);
    void QRSubDetail1BeforePrint(bool& PrintBand);
    void QRSubDetail2BeforePrint(bool& PrintBand);

private:
    // The elements of a major activity or action row and where its fields are.
    struct BarRow {
        vok::Table* table = nullptr;
        QString prefix; // "Major" or "Action": fields prefix + "_from_date"...
        vok::ReportFieldText* name = nullptr;
        vok::ReportShape* bar = nullptr;
        vok::ReportFieldText* fromText = nullptr;
        vok::ReportLabel* arrow = nullptr;
        vok::ReportFieldText* toText = nullptr;
        vok::ReportShape* overlay = nullptr;
    };
    struct RowLayout {
        const char* name;
        const char* nameField;
        QRectF nameBox;
        const char* bar;
        const char* overlay;
        qreal barTop;
        qreal dateWidth;
        qreal textHeight;
    };

    void buildHeader();
    void buildProjectRow();
    void buildBarRows();
    BarRow buildRow(vok::ReportBand* band, vok::Table* table, const QString& prefix,
                    const RowLayout& layout);
    void buildPageLines();
    void placeBar(const BarRow& row) const;
    // The scale's start as a day number with the time of day as fraction: the project's start,
    // or now.
    double startInstant() const;
    int scaleFactor() const;
    double projectDate(const char* field) const;

    TDataModule2* dm_;
    TForm4* form4_;
    BarRow majorRow_;
    BarRow actionRow_;
};
