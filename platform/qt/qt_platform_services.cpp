#include "platform/qt/qt_platform_services.h"

#include <QCoreApplication>
#include <QStandardPaths>

namespace glugmo {

namespace {
std::optional<std::string> userDataFolder() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (folder.isEmpty()) return std::nullopt;
    return folder.toStdString();
}

std::optional<QString> userPictures() {
    const std::optional<std::string> data = userDataFolder();
    if (!data) return std::nullopt;
    return userPictureFolder(QString::fromStdString(*data));
}
}  // namespace

QtPlatformServices::QtPlatformServices()
    : QtPlatformServices(findResourceFolder(QCoreApplication::applicationDirPath())) {}

QtPlatformServices::QtPlatformServices(const std::optional<QString>& resourceFolder)
    : files(userDataFolder()),
      resources(resourceFolder, userPictures()),
      windows(resourceFolder),
      platform{runLoop, clock, random, settings, files, resources, images, windows, application} {}

}  // namespace glugmo
