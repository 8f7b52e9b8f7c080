#include "shell/file_kinds.h"
#include "platform/dialogs.h"
#include "shell/common_tables.h"
#include "shell/globals.h"

#include <QDir>
#include <QFileInfo>
#include <array>
#include <map>
#include <utility>

namespace dovrane {

namespace {

constexpr int kKinds = 15;

struct Handlers {
    std::map<std::pair<int, int>, FileLoader> loaders;
    std::map<int, FileWriter> writers;
};

Handlers& handlers() {
    static Handlers h;
    return h;
}

bool validKind(int kind) { return kind >= 0 && kind < kKinds; }

const FileLoader* findLoader(int kind, int subKind) {
    auto& l = handlers().loaders;
    auto it = l.find({kind, subKind});
    if (it == l.end()) it = l.find({kind, 0});
    return it == l.end() ? nullptr : &it->second;
}

constexpr std::array<const char*, kKinds> kData{
    "database source", "BDXC list", "station-database list", "station-database list", "log",
    "tracking list",   "spectrum scan", "propagation", "memory", "frequency scratchpad",
    ".320 list",       "scan frequency list", "scan frequency pairs", "RTTY text", "propagation print",
};

} // namespace

void registerLoader(int kind, int subKind, FileLoader loader) {
    if (!validKind(kind)) return;
    if (loader)
        handlers().loaders[{kind, subKind}] = std::move(loader);
    else
        handlers().loaders.erase({kind, subKind});
}

void registerWriter(int kind, FileWriter writer) {
    if (!validKind(kind)) return;
    if (writer)
        handlers().writers[kind] = std::move(writer);
    else
        handlers().writers.erase(kind);
}

void clearFileKindHandlers() { handlers() = Handlers{}; }

bool hasLoader(int kind, int subKind) { return findLoader(kind, subKind) != nullptr; }

bool hasWriter(int kind) { return handlers().writers.count(kind) > 0; }

bool runLoader(int kind, int subKind) {
    const FileLoader* l = findLoader(kind, subKind);
    if (!l) return false;
    // A copy, so a loader that re-registers itself does not pull the ground away.
    const FileLoader loader = *l;
    return loader();
}

std::optional<bool> runWriter(int kind) {
    auto it = handlers().writers.find(kind);
    if (it == handlers().writers.end()) return std::nullopt;
    const FileWriter writer = it->second;
    return writer();
}

QString fileKindData(int kind, int subKind) {
    if (kind == 3 && subKind == 1) return QStringLiteral("ILG station list");
    if (kind == 3 && subKind == 2) return QStringLiteral("aero station list");
    if (!validKind(kind)) return QString();
    return QString::fromLatin1(kData[size_t(kind)]);
}

QStringList loadableFiles(int kind, int subKind, int rxType) {
    if (!validKind(kind) || FileKindPath[size_t(kind)].isEmpty()) return {};
    const QString mask = fileKindMaskFor(kind, subKind, rxType);
    if (mask.isEmpty()) return {};
    QDir dir(FileKindPath[size_t(kind)]);
    if (!dir.exists()) return {};
    // Without QDir::CaseSensitive the patterns match in any letter case, so a
    // file saved under the proposed lower-case name is listed under "LOG_*.TXT".
    return dir.entryList(mask.split(QLatin1Char(';'), Qt::SkipEmptyParts), QDir::Files,
                         QDir::Name | QDir::IgnoreCase);
}

QStringList filesInFolder(const QString& folder) {
    if (folder.isEmpty()) return {};
    QDir dir(folder);
    if (!dir.exists()) return {};
    return dir.entryList(QDir::Files, QDir::Name | QDir::IgnoreCase);
}

bool safeFileName(const QString& name) {
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..")) return false;
    for (QChar c : name) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\')) return false;
        if (c.unicode() < 0x20 || c.unicode() == 0x7F || c.category() == QChar::Other_Control) return false;
    }
    return true;
}

bool validSaveName(int kind, const QString& name) {
    if (!validKind(kind) || name.isEmpty()) return false;
    const QString prefix = FileKindPrefix[size_t(kind)];
    if (prefix.isEmpty() || name.left(4).toUpper() != prefix) return false;
    if (name.right(4).toUpper() != QLatin1String(".TXT")) return false;
    // Character positions count from 1: the last "." at 17 leaves 16 before it.
    if (name.lastIndexOf(QLatin1Char('.')) + 1 > 17) return false;
    if (!safeFileName(name)) return false;
    const QString folder = QDir(FileKindPath[size_t(kind)]).absolutePath();
    return QFileInfo(QDir(folder).filePath(name)).absolutePath() == folder;
}

bool checkfileexists(int kind, const QString& name, bool ask) {
    if (!validKind(kind) || !safeFileName(name) || FileKindPath[size_t(kind)].isEmpty()) return false;
    const QFileInfo info(QDir(FileKindPath[size_t(kind)]).filePath(name));
    if (!info.exists()) return true;
    if (!info.isFile()) return false;
    if (!ask) return true;
    const auto answer = dialogs::message(QStringLiteral("This file already exist.\nDo you want to replace it ?"),
                                         dialogs::Buttons::YesNoCancel, dialogs::Icon::Question,
                                         QStringLiteral("Save File"));
    if (answer == dialogs::Answer::Yes) return true;
    dialogs::message(QStringLiteral("File save action aborted"), dialogs::Buttons::Ok, dialogs::Icon::Information,
                     QStringLiteral("Save File"));
    return false;
}

bool checkfileexists(bool ask) {
    if (!validKind(FileKind)) return false;
    return checkfileexists(FileKind, FileKindName[size_t(FileKind)], ask);
}

} // namespace dovrane
