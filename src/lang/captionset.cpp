#include "captionset.h"

#include <QFile>
#include <QHash>
#include <algorithm>
#include <iterator>
#include <stdexcept>

namespace {

const QHash<QString, CaptionKind>& kinds() {
    static const QHash<QString, CaptionKind> names{
        {QStringLiteral("window"), CaptionKind::Window},
        {QStringLiteral("label"), CaptionKind::Label},
        {QStringLiteral("button"), CaptionKind::Button},
        {QStringLiteral("checkbox"), CaptionKind::CheckBox},
        {QStringLiteral("tabsheet"), CaptionKind::TabSheet},
        {QStringLiteral("groupbox"), CaptionKind::GroupBox},
        {QStringLiteral("speedbutton"), CaptionKind::SpeedButton},
        {QStringLiteral("radiogroup"), CaptionKind::RadioGroup},
        {QStringLiteral("hint"), CaptionKind::Hint},
        {QStringLiteral("column"), CaptionKind::Column},
        {QStringLiteral("item"), CaptionKind::Item},
        {QStringLiteral("menuitem"), CaptionKind::MenuItem},
        {QStringLiteral("reportlabel"), CaptionKind::ReportLabel},
        {QStringLiteral("sysdata"), CaptionKind::SysData},
        {QStringLiteral("text"), CaptionKind::Text},
    };
    return names;
}

[[noreturn]] void malformed(int line, const QString& why) {
    throw std::runtime_error(
        QStringLiteral("caption table, line %1: %2").arg(line).arg(why).toStdString());
}

} // namespace

QString Caption::target() const {
    QString t = window;
    if (!component.isEmpty())
        t += QLatin1Char('.') + component;
    const QString kind = kinds().key(this->kind);
    if (this->kind == CaptionKind::Column || this->kind == CaptionKind::Item)
        return t + QLatin1Char(' ') + kind + QLatin1Char(' ') + QString::number(index);
    return t + QLatin1Char(' ') + kind;
}

QList<Caption> CaptionSet::parse(const QString& table) {
    QList<Caption> captions;
    const QStringList lines = table.split(QLatin1Char('\n'));
    for (int n = 0; n < lines.size(); ++n) {
        const QString& line = lines[n];
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const QStringList cells = line.split(QLatin1Char('\t'));
        if (cells.size() != 7)
            malformed(n + 1, QStringLiteral("%1 columns instead of 7").arg(cells.size()));
        Caption c;
        c.window = cells[0];
        c.component = cells[1] == QLatin1String("-") ? QString() : cells[1];
        const auto kind = kinds().constFind(cells[2]);
        if (kind == kinds().constEnd())
            malformed(n + 1, QStringLiteral("unknown kind '%1'").arg(cells[2]));
        c.kind = *kind;
        if (cells[3] != QLatin1String("-")) {
            bool ok = false;
            c.index = cells[3].toInt(&ok);
            if (!ok || c.index < 0)
                malformed(n + 1, QStringLiteral("bad index '%1'").arg(cells[3]));
        }
        // Texts stand in double quotes so that their blanks, leading and trailing, are kept.
        for (int language = 0; language < 3; ++language) {
            const QString& cell = cells[4 + language];
            if (cell.size() < 2 || !cell.startsWith(QLatin1Char('"')) ||
                !cell.endsWith(QLatin1Char('"')))
                malformed(n + 1, QStringLiteral("text not in double quotes: %1").arg(cell));
            c.texts[language] = cell.mid(1, cell.size() - 2);
        }
        captions << c;
    }
    return captions;
}

namespace {

// The built-in table's rows, those of windows or the texts.
QList<Caption> builtIn(bool texts) {
    static const QList<Caption> table = [] {
        QFile file(QStringLiteral(":/lang/captions.tsv"));
        if (!file.open(QIODevice::ReadOnly))
            throw std::runtime_error("the caption table is missing from the program");
        return CaptionSet::parse(QString::fromUtf8(file.readAll()));
    }();
    QList<Caption> out;
    std::copy_if(table.cbegin(), table.cend(), std::back_inserter(out),
                 [texts](const Caption& c) { return (c.kind == CaptionKind::Text) == texts; });
    return out;
}

} // namespace

const QList<Caption>& CaptionSet::all() {
    static const QList<Caption> captions = builtIn(false);
    return captions;
}

const QList<Caption>& CaptionSet::texts() {
    static const QList<Caption> texts = builtIn(true);
    return texts;
}

Language CaptionSet::language(int index) {
    switch (index) {
    case 1:
        return Language::French;
    case 2:
        return Language::Spanish;
    default:
        return Language::English;
    }
}
