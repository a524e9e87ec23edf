#include "engineconfig.h"

#include "framework/io/fileerror.h"
#include "framework/io/filereader.h"
#include "framework/io/filewriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTextStream>
#include <algorithm>

namespace vok {

const QString EngineConfig::systemInit = QStringLiteral("\\SYSTEM\\INIT\\");
const QString EngineConfig::paradoxInit = QStringLiteral("\\DRIVERS\\PARADOX\\INIT\\");
const QString EngineConfig::paradoxCreate = QStringLiteral("\\DRIVERS\\PARADOX\\TABLE CREATE\\");

QString EngineConfig::Settings::collation() const {
    // The Windows US language driver sorts text without regard to letter case.
    return langDriver.compare(QLatin1String("DBWINUS0"), Qt::CaseInsensitive) == 0
               ? QStringLiteral("NOCASE")
               : QStringLiteral("BINARY");
}

QString EngineConfig::defaultPath() {
    const QByteArray env = qgetenv("VOK_ENGINE_CONFIG");
    if (!env.isEmpty())
        return QString::fromLocal8Bit(env);
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Vok/vokengine.cfg");
}

EngineConfig::EngineConfig(QString path) : path_(std::move(path)) {}

QList<EngineConfig::Node> EngineConfig::defaults() {
    return {
        {systemInit,
         {{QStringLiteral("VERSION"), QStringLiteral("1.0")},
          {QStringLiteral("LOCAL SHARE"), QStringLiteral("FALSE")},
          {QStringLiteral("LANGDRIVER"), QString()},
          {QStringLiteral("MAXFILEHANDLES"), QStringLiteral("48")},
          {QStringLiteral("DEFAULT DRIVER"), QStringLiteral("PARADOX")}}},
        {paradoxInit,
         {{QStringLiteral("VERSION"), QStringLiteral("1.0")},
          {QStringLiteral("TYPE"), QStringLiteral("FILE")},
          {QStringLiteral("NET DIR"), QString()},
          {QStringLiteral("LANGDRIVER"), QStringLiteral("ascii")}}},
        {paradoxCreate,
         {{QStringLiteral("LEVEL"), QStringLiteral("4")},
          {QStringLiteral("BLOCK SIZE"), QStringLiteral("4096")},
          {QStringLiteral("FILL FACTOR"), QStringLiteral("95")},
          {QStringLiteral("STRICTINTEGRTY"), QStringLiteral("TRUE")}}},
    };
}

void EngineConfig::initialise() {
    notice_.clear();
    const bool existed = QFileInfo::exists(path_);
    const bool read = existed && load();
    if (read && !addMissingDefaults())
        return;
    if (!read)
        nodes_ = defaults();
    else
        addMissingDefaults();
    if (existed)
        notice_ = QStringLiteral("The engine settings %1 were %2; they are written afresh from "
                                 "the defaults.")
                      .arg(QDir::toNativeSeparators(path_),
                           !read ? QStringLiteral("unreadable") : QStringLiteral("incomplete"));
    try {
        save();
    } catch (const FileError&) {
        // Vok goes on with the defaults in memory; the next start tries again. Whoever writes the
        // entries (the start) saves again and tells the user if that fails too.
    }
}

bool EngineConfig::load() {
    // A pipe or a device in the file's place is unreadable at once, never waited on.
    QByteArray bytes;
    try {
        bytes = FileReader::read(path_, MaxBytes);
    } catch (const FileError&) {
        return false;
    }
    if (bytes.size() > MaxBytes)
        return false;
    nodes_.clear();
    QTextStream in(&bytes);
    Node* current = nullptr;
    while (!in.atEnd()) {
        QString line = in.readLine();
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            nodes_.append(Node{line.mid(1, line.size() - 2), {}});
            current = &nodes_.last();
            continue;
        }
        const int eq = line.indexOf(QLatin1Char('='));
        if (current == nullptr || eq < 0)
            continue;
        current->entries.append(Entry{line.left(eq), line.mid(eq + 1)});
    }
    return true;
}

bool EngineConfig::addMissingDefaults() {
    bool added = false;
    for (const Node& d : defaults()) {
        auto it = std::find_if(nodes_.begin(), nodes_.end(),
                               [&](const Node& n) { return n.path == d.path; });
        if (it == nodes_.end()) {
            nodes_.append(d);
            added = true;
            continue;
        }
        for (const Entry& e : d.entries) {
            if (std::none_of(it->entries.begin(), it->entries.end(),
                             [&](const Entry& have) { return have.name == e.name; })) {
                it->entries.append(e);
                added = true;
            }
        }
    }
    return added;
}

void EngineConfig::save() const {
    QDir().mkpath(QFileInfo(path_).absolutePath());
    QString text = QStringLiteral("# Vok storage engine configuration\n");
    for (const Node& n : nodes_) {
        text += QLatin1Char('[') + n.path + QStringLiteral("]\n");
        for (const Entry& e : n.entries)
            text += e.name + QLatin1Char('=') + e.value + QLatin1Char('\n');
    }
    FileWriter::write(path_, text.toUtf8());
}

const EngineConfig::Node* EngineConfig::node(const QString& nodePath) const {
    for (const Node& n : nodes_) {
        if (n.path == nodePath)
            return &n;
    }
    return nullptr;
}

bool EngineConfig::hasNode(const QString& nodePath) const {
    return node(nodePath) != nullptr;
}

QList<EngineConfig::Entry> EngineConfig::entries(const QString& nodePath) const {
    const Node* n = node(nodePath);
    return n ? n->entries : QList<Entry>{};
}

bool EngineConfig::writeEntry(const QString& nodePath, const QString& name, const QString& value) {
    if (!setEntry(nodePath, name, value))
        return false;
    save();
    return true;
}

bool EngineConfig::setEntry(const QString& nodePath, const QString& name, const QString& value) {
    for (Node& n : nodes_) {
        if (n.path != nodePath)
            continue;
        for (Entry& e : n.entries) {
            if (e.name == name) {
                e.value = value;
                return true;
            }
        }
    }
    return false;
}

QString EngineConfig::value(const QString& nodePath, const QString& name,
                            const QString& fallback) const {
    if (const Node* n = node(nodePath)) {
        for (const Entry& e : n->entries) {
            if (e.name == name)
                return e.value;
        }
    }
    return fallback;
}

EngineConfig::Settings EngineConfig::settings() const {
    Settings s;
    bool ok = false;
    const int block = value(paradoxCreate, QStringLiteral("BLOCK SIZE"), {}).toInt(&ok);
    // SQLite pages are powers of two from 512 to 65536 bytes; other sizes keep the default.
    if (ok && block >= 512 && block <= 65536 && (block & (block - 1)) == 0)
        s.pageSize = block;
    s.localShare = value(systemInit, QStringLiteral("LOCAL SHARE"), {})
                       .compare(QLatin1String("TRUE"), Qt::CaseInsensitive) == 0;
    s.langDriver = value(paradoxInit, QStringLiteral("LANGDRIVER"), {});
    if (s.langDriver.isEmpty())
        s.langDriver = value(systemInit, QStringLiteral("LANGDRIVER"), {});
    const int level = value(paradoxCreate, QStringLiteral("LEVEL"), {}).toInt(&ok);
    if (ok)
        s.level = level;
    return s;
}

} // namespace vok
