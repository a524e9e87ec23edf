#include "engineconfig.h"

#include "databaseerror.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTextStream>

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
    if (QFileInfo::exists(path_)) {
        load();
        return;
    }
    nodes_ = defaults();
    save();
}

void EngineConfig::load() {
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        throw DatabaseError(QStringLiteral("Cannot read the engine configuration %1: %2")
                                .arg(path_, file.errorString()),
                            DatabaseError::Kind::Engine);
    nodes_.clear();
    QTextStream in(&file);
    Node* current = nullptr;
    while (!in.atEnd()) {
        const QString line = in.readLine();
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
}

void EngineConfig::save() const {
    QDir().mkpath(QFileInfo(path_).absolutePath());
    QSaveFile file(path_);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        throw DatabaseError(QStringLiteral("Cannot write the engine configuration %1: %2")
                                .arg(path_, file.errorString()),
                            DatabaseError::Kind::Engine);
    QTextStream out(&file);
    out << "# Vok storage engine configuration\n";
    for (const Node& n : nodes_) {
        out << '[' << n.path << "]\n";
        for (const Entry& e : n.entries)
            out << e.name << '=' << e.value << '\n';
    }
    out.flush();
    if (!file.commit())
        throw DatabaseError(QStringLiteral("Cannot write the engine configuration %1: %2")
                                .arg(path_, file.errorString()),
                            DatabaseError::Kind::Engine);
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
    for (Node& n : nodes_) {
        if (n.path != nodePath)
            continue;
        for (Entry& e : n.entries) {
            if (e.name == name) {
                e.value = value;
                save();
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
