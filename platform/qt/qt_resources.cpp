#include "platform/qt/qt_resources.h"

#include <QDir>
#include <QFileInfo>
#include <cstdio>

#include "platform/qt/qt_image_loader.h"

namespace glugmo {

std::optional<QString> findResourceFolder(const QString& executableFolder) {
    const QDir base(executableFolder);
    for (const char* relative : {"resources", "../share/glugmo", "../Resources"}) {
        const QString candidate = QDir::cleanPath(base.filePath(QString::fromLatin1(relative)));
        if (QFileInfo(candidate).isDir()) return candidate;
    }
    return std::nullopt;
}

QString userPictureFolder(const QString& dataFolder) {
    return QDir(dataFolder).filePath(QStringLiteral("Glugmo/pictures"));
}

void QtResources::reportOnStderr(const std::string& line) { std::fprintf(stderr, "%s\n", line.c_str()); }

QtResources::QtResources(std::optional<QString> folder, std::optional<QString> userFolder,
                         const Report& report)
    : folder_(std::move(folder)) {
    if (!folder_ || !userFolder) return;
    // Filtered here: QDir's name filters are regular expressions, and would
    // page in PCRE for good.
    const QStringList files = QDir(*folder_).entryList(QDir::Files, QDir::Name);
    for (const QString& name : files) {
        if (!name.endsWith(QLatin1String(".png"), Qt::CaseInsensitive) &&
            !name.endsWith(QLatin1String(".gif"), Qt::CaseInsensitive)) {
            continue;
        }
        const QString path = QDir(*userFolder).filePath(name);
        const QFileInfo info(path);
        if (!info.exists() && !info.isSymLink()) continue;
        const LoadedPicture picture = loadPicture(path, true);
        if (picture.image) {
            userFiles_[name] = path.toStdString();
        } else {
            report("glugmo: " + path.toStdString() + " " + picture.problem +
                   "; showing the built-in picture instead");
        }
    }
}

std::optional<std::string> QtResources::pathFor(std::string_view name,
                                                std::string_view extension) const {
    if (!folder_) return std::nullopt;
    const QString file =
        QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())) + QLatin1Char('.') +
        QString::fromUtf8(extension.data(), static_cast<qsizetype>(extension.size()));
    if (const auto user = userFiles_.find(file); user != userFiles_.end()) return user->second;
    const QFileInfo info(QDir(*folder_).filePath(file));
    if (!info.isFile()) return std::nullopt;
    return info.filePath().toStdString();
}

}  // namespace glugmo
