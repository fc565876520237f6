#include "platform/qt/qt_resources.h"

#include <QDir>
#include <QFileInfo>

namespace glugmo {

std::optional<QString> findResourceFolder(const QString& executableFolder) {
    const QDir base(executableFolder);
    for (const char* relative : {"resources", "../share/glugmo", "../Resources"}) {
        const QString candidate = QDir::cleanPath(base.filePath(QString::fromLatin1(relative)));
        if (QFileInfo(candidate).isDir()) return candidate;
    }
    return std::nullopt;
}

QtResources::QtResources(std::optional<QString> folder) : folder_(std::move(folder)) {}

std::optional<std::string> QtResources::pathFor(std::string_view name,
                                                std::string_view extension) const {
    if (!folder_) return std::nullopt;
    const QString file =
        QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())) + QLatin1Char('.') +
        QString::fromUtf8(extension.data(), static_cast<qsizetype>(extension.size()));
    const QFileInfo info(QDir(*folder_).filePath(file));
    if (!info.isFile()) return std::nullopt;
    return info.filePath().toStdString();
}

}  // namespace glugmo
