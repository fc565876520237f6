#include "platform/qt/qt_platform_services.h"

#include <QCoreApplication>
#include <QStandardPaths>

namespace glugmo {

namespace {
std::optional<QString> userDataFolder() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (folder.isEmpty()) return std::nullopt;
    return folder;
}

std::optional<QString> userPictures() {
    const std::optional<QString> data = userDataFolder();
    if (!data) return std::nullopt;
    return userPictureFolder(*data);
}
}  // namespace

QtPlatformServices::QtPlatformServices()
    : files(userDataFolder() ? std::optional(userDataFolder()->toStdString()) : std::nullopt),
      resources(findResourceFolder(QCoreApplication::applicationDirPath()), userPictures()),
      platform{runLoop, clock, random, settings, files, resources, images, windows, application} {}

}  // namespace glugmo
