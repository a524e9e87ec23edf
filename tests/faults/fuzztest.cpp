// The readers of what users type, fed a few hundred thousand random inputs each: the short-date
// reader of the entry fields, the number masks of the reports and the command line's dates. None
// may crash, and none may take nonsense for a value. And the rules that stand between stored text
// and the outside: locations shown without their password, names that become paths, CSV cells a
// spreadsheet reads.
#include "cli/dateoption.h"
#include "faultsuites.h"
#include "framework/dataset/shortdate.h"
#include "framework/io/plainfilename.h"
#include "framework/io/shownlocation.h"
#include "framework/io/showntext.h"
#include "framework/report/numbermask.h"
#include "reports/csvwriter.h"

#include <QLocale>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QtTest>
#include <cmath>
#include <limits>

using vok::NumberMask;
using vok::PlainFileName;
using vok::ShortDate;
using vok::ShownLocation;
using vok::ShownText;

namespace {

constexpr int Inputs = 300000;

// Random text from an alphabet that favours what a date or number is made of, with the odd
// letter, control character and non-ASCII digit.
QString randomText(QRandomGenerator& random, const QString& alphabet, int maxLength) {
    QString text;
    const int length = random.bounded(maxLength + 1);
    for (int i = 0; i < length; ++i)
        text += alphabet[random.bounded(static_cast<int>(alphabet.size()))];
    return text;
}

const QString dateAlphabet = QStringLiteral("0123456789012345678901234567890123456789///..--  "
                                            "aZ+T:\t") +
                             QChar(0x0663) + QChar(0xFF11) + QChar(0) + QChar(0x00B2);

// A text close to a real date: a date in some order and form, then changed a little.
QString nearDate(QRandomGenerator& random) {
    const QDate d = QDate(1, 1, 1).addDays(random.bounded(3652058));
    static const QStringList forms{
        QStringLiteral("MM/dd/yyyy"), QStringLiteral("M/d/yy"),
        QStringLiteral("dd.MM.yyyy"), QStringLiteral("yyyy-MM-dd"),
        QStringLiteral("d-M-yyyy"),   QStringLiteral("yyyy-MM-ddTHH:mm")};
    QString text = d.startOfDay()
                       .addSecs(random.bounded(86400))
                       .toString(forms[random.bounded(static_cast<int>(forms.size()))]);
    switch (random.bounded(6)) {
    case 0: // a character changed
        if (!text.isEmpty())
            text[random.bounded(static_cast<int>(text.size()))] =
                dateAlphabet[random.bounded(static_cast<int>(dateAlphabet.size()))];
        break;
    case 1: // one removed
        if (!text.isEmpty())
            text.remove(random.bounded(static_cast<int>(text.size())), 1);
        break;
    case 2: // one added
        text.insert(random.bounded(static_cast<int>(text.size()) + 1),
                    dateAlphabet[random.bounded(static_cast<int>(dateAlphabet.size()))]);
        break;
    default:
        break;
    }
    return text;
}

// The digit groups of a text, when it is made of ASCII digits and separators only.
QList<int> digitGroups(const QString& text, bool* plain) {
    static const QRegularExpression groups(QStringLiteral("[0-9]+"));
    static const QRegularExpression allowed(QStringLiteral("^[0-9 ./-]*$"));
    *plain = allowed.match(text).hasMatch();
    QList<int> out;
    for (auto it = groups.globalMatch(text); it.hasNext();)
        out << it.next().captured().toInt();
    return out;
}

// Expands a two-digit year as the reader does.
int fullYear(int year, int digits) {
    return digits == 2 ? year + (year < 50 ? 2000 : 1900) : year;
}

} // namespace

class TestFuzz : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void shortDateReaderTakesOnlyRealDates_data() {
        QTest::addColumn<QString>("locale");
        QTest::newRow("US: month first") << "en_US";
        QTest::newRow("Germany: day first, dots") << "de_DE";
        QTest::newRow("Sweden: year first") << "sv_SE";
    }
    void shortDateReaderTakesOnlyRealDates() {
        QFETCH(QString, locale);
        QLocale::setDefault(QLocale(locale));
        const QString pattern = ShortDate::pattern();
        const qsizetype day = pattern.indexOf(QLatin1Char('d'));
        const qsizetype month = pattern.indexOf(QLatin1Char('M'));
        const qsizetype year = pattern.indexOf(QLatin1Char('y'));
        const quint32 seed = faultSeed();
        QRandomGenerator random(seed);
        int accepted = 0;
        for (int i = 0; i < Inputs / 3; ++i) {
            const QString text = i % 2 ? nearDate(random) : randomText(random, dateAlphabet, 14);
            const QDate d = ShortDate::parse(text);
            if (!d.isValid())
                continue;
            ++accepted;
            const auto fail = [&](const char* why) {
                QFAIL(qPrintable(QStringLiteral("'%1' read as %2: %3 (seed %4)")
                                     .arg(text, d.toString(Qt::ISODate), QLatin1String(why))
                                     .arg(seed)));
            };
            bool plain = false;
            const QList<int> groups = digitGroups(text.trimmed(), &plain);
            if (!plain || groups.size() != 3)
                return fail("not three numbers and separators");
            // ISO first, else the order of the pattern.
            const bool iso = text.trimmed().indexOf(QLatin1Char('-')) == 4 && groups[0] == d.year();
            const QString t = text.trimmed();
            const QStringList digitsOf =
                t.split(QRegularExpression(QStringLiteral("[^0-9]+")), Qt::SkipEmptyParts);
            int y = 0;
            int m = 0;
            int dd = 0;
            if (iso) {
                y = groups[0];
                m = groups[1];
                dd = groups[2];
            } else {
                QList<std::pair<qsizetype, int>> order{{day, 0}, {month, 1}, {year, 2}};
                std::sort(order.begin(), order.end());
                for (int k = 0; k < 3; ++k) {
                    if (order[k].second == 0)
                        dd = groups[k];
                    else if (order[k].second == 1)
                        m = groups[k];
                    else
                        y = fullYear(groups[k], static_cast<int>(digitsOf[k].size()));
                }
            }
            if (QDate(y, m, dd) != d)
                return fail("not the numbers typed");
            if (d.year() < 1 || d.year() > 9999)
                return fail("a year out of range");
            if (ShortDate::parse(ShortDate::format(d)) != d)
                return fail("shown differently from how it is read");
        }
        QVERIFY2(accepted > 1000, qPrintable(QString::number(accepted)));
    }

    void numberMasksShowTheValue() {
        const quint32 seed = faultSeed();
        QRandomGenerator random(seed);
        const QLocale us(QLocale::English, QLocale::UnitedStates);
        static const QStringList prefixes{QString(), QStringLiteral("$"), QStringLiteral("Total: "),
                                          QStringLiteral("(")};
        static const QStringList suffixes{QString(), QStringLiteral(" h"), QStringLiteral(")"),
                                          QStringLiteral(" EUR")};
        const auto section = [&]() -> QString {
            QString integer;
            const int n = 1 + random.bounded(8);
            for (int k = 0; k < n; ++k)
                integer += QStringLiteral("#0,")[random.bounded(3)];
            if (!integer.contains(QLatin1Char('#')) && !integer.contains(QLatin1Char('0')))
                integer += QLatin1Char('0');
            QString fraction;
            if (random.bounded(2)) {
                fraction = QStringLiteral(".");
                const int d = random.bounded(7);
                for (int k = 0; k < d; ++k)
                    fraction += QStringLiteral("0#")[random.bounded(2)];
            }
            return prefixes[random.bounded(4)] + integer + fraction + suffixes[random.bounded(4)];
        };
        const auto value = [&]() -> double {
            switch (random.bounded(10)) {
            case 0: {
                static const double specials[] = {0.0,
                                                  -0.0,
                                                  std::numeric_limits<double>::quiet_NaN(),
                                                  std::numeric_limits<double>::infinity(),
                                                  -std::numeric_limits<double>::infinity(),
                                                  1e308,
                                                  -1e308,
                                                  5e-324,
                                                  0.005,
                                                  -0.005,
                                                  0.125,
                                                  -2.5};
                return specials[random.bounded(12)];
            }
            case 1:
                return (random.generateDouble() - 0.5) * std::pow(10.0, random.bounded(-12, 40));
            default:
                return (random.generateDouble() - 0.5) * std::pow(10.0, random.bounded(-4, 13));
            }
        };
        for (int i = 0; i < Inputs; ++i) {
            // Garbage masks only have to survive; masks of the documented form must show the value.
            if (i % 10 == 0) {
                const QString mask =
                    randomText(random, QStringLiteral("#0,.;;-()$ ab0#0#.,") + QChar(0x2007), 40);
                NumberMask(mask).format(value(), us);
                continue;
            }
            const int sections = 1 + random.bounded(3);
            QStringList parts;
            for (int s = 0; s < sections; ++s)
                parts << section();
            const QString mask = parts.join(QLatin1Char(';'));
            const double v = value();
            const QString shown = NumberMask(mask).format(v, us);
            const auto fail = [&](const char* why) {
                QFAIL(qPrintable(
                    QStringLiteral("%1 with \"%2\" shows \"%3\": %4 (seed %5)")
                        .arg(QString::number(v, 'g', 17), mask, shown, QLatin1String(why))
                        .arg(seed)));
            };
            if (shown.contains(QLatin1String("nan"), Qt::CaseInsensitive) ||
                shown.contains(QLatin1String("inf"), Qt::CaseInsensitive))
                return fail("a non-number shown as text");
            if (!std::isfinite(v) || std::abs(v) >= 1e15)
                continue;
            // The section the value is shown by: its decimals and whether it shows a sign.
            const QString first = parts[0];
            const qsizetype point = first.indexOf(QLatin1Char('.'));
            int decimals = 0;
            for (qsizetype k = point + 1; point >= 0 && k < first.size(); ++k)
                decimals += first[k] == QLatin1Char('0') || first[k] == QLatin1Char('#');
            const double rounded =
                std::round(std::abs(v) * std::pow(10.0, decimals)) / std::pow(10.0, decimals);
            const bool zero = rounded == 0;
            QString section = parts[0];
            if (zero && sections == 3)
                section = parts[2];
            else if (!zero && v < 0 && sections >= 2)
                section = parts[1];
            else if (!zero && v < 0 && !shown.startsWith(QLatin1Char('-')))
                return fail("a negative value without its sign");
            // What is left once the section's own text is taken away is the number.
            QString number = shown;
            if (number.startsWith(QLatin1Char('-')) && section == parts[0] && v < 0)
                number.remove(0, 1);
            for (const QString& text : prefixes + suffixes) {
                if (!text.isEmpty() && section.startsWith(text) && number.startsWith(text))
                    number.remove(0, text.size());
                if (!text.isEmpty() && section.endsWith(text) && number.endsWith(text))
                    number.chop(text.size());
            }
            number.remove(us.groupSeparator());
            if (number.endsWith(QLatin1Char('.'))) // a point the mask shows with no decimals
                number.chop(1);
            if (zero && sections == 3)
                continue; // the zero section shows 0 by its own decimals
            bool ok = true;
            const double read = number.isEmpty() ? 0.0 : us.toDouble(number, &ok);
            const double sectionScale = [&] {
                const qsizetype p = section.indexOf(QLatin1Char('.'));
                int d = 0;
                for (qsizetype k = p + 1; p >= 0 && k < section.size(); ++k)
                    d += section[k] == QLatin1Char('0') || section[k] == QLatin1Char('#');
                return std::pow(10.0, -d);
            }();
            if (!ok || std::abs(read - std::abs(v)) > sectionScale / 2 + std::abs(v) * 1e-12)
                return fail("not the value");
        }
    }

    void commandLineDatesAreIsoOnly() {
        const quint32 seed = faultSeed();
        QRandomGenerator random(seed);
        static const QRegularExpression iso(
            QStringLiteral("^[0-9]{4}-[0-9]{2}-[0-9]{2}(T[0-9]{2}:[0-9]{2})?$"));
        int accepted = 0;
        for (int i = 0; i < Inputs; ++i) {
            const QString text = i % 2 ? nearDate(random) : randomText(random, dateAlphabet, 18);
            const QDate d = DateOption::date(text);
            const QDateTime dt = DateOption::dateTime(text);
            const auto fail = [&](const char* why) {
                QFAIL(qPrintable(
                    QStringLiteral("'%1': %2 (seed %3)").arg(text, QLatin1String(why)).arg(seed)));
            };
            if (d.isValid() && d.toString(Qt::ISODate) != text)
                return fail("a date read from more or less than its ISO form");
            if (dt.isValid()) {
                ++accepted;
                if (!iso.match(text).hasMatch())
                    return fail("a date and time read from what is not ISO");
                const QString back = text.size() == 10
                                         ? dt.date().toString(Qt::ISODate)
                                         : dt.toString(QStringLiteral("yyyy-MM-ddTHH:mm"));
                if (back != text)
                    return fail("read as another date or time");
            }
        }
        QVERIFY2(accepted > 1000, qPrintable(QString::number(accepted)));
    }

    void locationsNeverShowTheirPassword() {
        const quint32 seed = faultSeed();
        QRandomGenerator random(seed);
        // Pieces of locations, well formed and not, around a password that must never show.
        static const QStringList schemes{QStringLiteral("postgresql://"),
                                         QStringLiteral("postgres://"),
                                         QStringLiteral("postgresql:/"), QString()};
        static const QStringList hosts{QStringLiteral("db.example"), QStringLiteral("[::1]:5432"),
                                       QStringLiteral(""),           QStringLiteral("h:5432/vok"),
                                       QStringLiteral("[::1"),       QStringLiteral("%zz")};
        const QString pieces = QStringLiteral("ab@:/?&=%[]# '\\x");
        for (int i = 0; i < Inputs / 3; ++i) {
            const QString password =
                QStringLiteral("S3cr") + randomText(random, pieces, 6) + QStringLiteral("tZ");
            QString location = schemes[random.bounded(4)];
            const int form = random.bounded(4);
            switch (form) {
            case 0: // user:password@host
                location += QStringLiteral("vok:") + password + QLatin1Char('@') +
                            hosts[random.bounded(6)] + randomText(random, pieces, 4);
                break;
            case 1: // a password parameter in the query
                location += QStringLiteral("vok@") + hosts[random.bounded(6)] +
                            QStringLiteral("?port=5432&password=") + password +
                            (random.bounded(2) ? QStringLiteral("&sslmode=disable") : QString());
                break;
            case 2: // key=value words
                location += QStringLiteral("host=h password = '") + password +
                            QStringLiteral("' dbname=vok");
                break;
            default: // no password: shown as it is
                location += hosts[random.bounded(6)] + randomText(random, pieces, 8);
                break;
            }
            const QString shown = ShownLocation::of(location);
            // Nor the end of a user's password: a '@' in it must not cut it in two.
            if (shown.contains(QLatin1String("S3cr")) ||
                (form == 0 && shown.contains(QLatin1String("tZ"))))
                QFAIL(qPrintable(
                    QStringLiteral("'%1' shown as '%2' (seed %3)").arg(location, shown).arg(seed)));
            if (!location.contains(QLatin1String("S3cr")) && !location.contains(QLatin1Char('@')) &&
                !location.contains(QLatin1String("password"), Qt::CaseInsensitive) &&
                shown != location.trimmed() && !location.endsWith(QLatin1Char('?')) &&
                !location.endsWith(QLatin1Char('&')))
                QFAIL(qPrintable(QStringLiteral("'%1' without a password shown as '%2' (seed %3)")
                                     .arg(location, shown)
                                     .arg(seed)));
        }
    }

    void namesThatBecomePathsStayInTheirFolder() {
        const quint32 seed = faultSeed();
        QRandomGenerator random(seed);
        const QString alphabet = QStringLiteral("ab .-_/\\:*?\"<>|~$") + QChar(0) + QChar(0x1b) +
                                 QChar(0x7f) + QChar(0x85) + QChar(0x202e) + QChar(0x2066) +
                                 QChar(0x200f) + QChar(0x00e9) + QChar(0xd83d) + QChar(0xde00);
        int accepted = 0;
        for (int i = 0; i < Inputs / 3; ++i) {
            const QString name = randomText(random, alphabet, i % 100 == 0 ? 300 : 12);
            const auto fail = [&](const QString& what, const char* why) {
                QFAIL(qPrintable(QStringLiteral("'%1': %2 (seed %3)")
                                     .arg(ShownText::escaped(what), QLatin1String(why))
                                     .arg(seed)));
            };
            const bool plain = PlainFileName::refusal(name).isEmpty();
            if (plain) {
                ++accepted;
                if (name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')) ||
                    name.contains(QLatin1String("..")) || name.trimmed().isEmpty() ||
                    name.toUtf8().size() > 255)
                    return fail(name, "taken as a plain file name");
                for (const QChar c : name) {
                    if (ShownText::needsEscape(c))
                        return fail(name, "taken with a control or direction character");
                }
            }
            // A name made from a title is always one the rule takes.
            const QString made = PlainFileName::from(name, QStringLiteral("Report"), 16);
            if (!PlainFileName::refusal(made).isEmpty() || made.toUtf8().size() > 255 - 16)
                return fail(made, "made from a title, but refused");
            // What a terminal shows holds no control character.
            for (const QChar c : ShownText::escaped(name)) {
                if (ShownText::needsEscape(c))
                    return fail(name, "shown with a control character");
            }
        }
        QVERIFY2(accepted > 1000, qPrintable(QString::number(accepted)));
    }

    void csvCellsAreNeverFormulas() {
        const quint32 seed = faultSeed();
        QRandomGenerator random(seed);
        const QString alphabet = QStringLiteral("=+-@\t\r0123456789.eE ,\"'aZ(") + QChar(0xff1d);
        static const QRegularExpression number(
            QStringLiteral("^[+-]?([0-9]+([.][0-9]*)?|[.][0-9]+)([eE][+-]?[0-9]+)?$"));
        for (int i = 0; i < Inputs; ++i) {
            const QString text = randomText(random, alphabet, 10);
            const QString cell = CsvWriter::cell(text);
            const auto fail = [&](const char* why) {
                QFAIL(qPrintable(
                    QStringLiteral("'%1' written as '%2': %3 (seed %4)")
                        .arg(ShownText::escaped(text), ShownText::escaped(cell), QLatin1String(why))
                        .arg(seed)));
            };
            const bool isNumber = number.match(text).hasMatch();
            if (isNumber && cell != text)
                return fail("a number no longer a number");
            if (!isNumber && !cell.isEmpty() && QStringLiteral("=+-@\t\r").contains(cell.front()))
                return fail("a formula a spreadsheet would run");
            if (cell != text && cell != QLatin1Char('\'') + text)
                return fail("more changed than a leading quote");
        }
    }
};

int runFuzzTests(int argc, char** argv) {
    TestFuzz t;
    return QTest::qExec(&t, argc, argv);
}

#include "fuzztest.moc"
