#include "app/autostart.h"

namespace glugmo {

namespace {
// Exec= takes arguments separated by spaces and reserves a few characters:
// quote the path so any folder name works.
std::string quotedForExec(const std::string& path) {
    std::string quoted = "\"";
    for (char c : path) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += "\\\\";
        if (c == '%') quoted += '%';
        quoted += c;
    }
    return quoted + "\"";
}
}  // namespace

std::string autostartEntry(const std::string& executablePath) {
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Glugmo\n"
           "Name[zh_CN]=咕噜宝\n"
           "Comment=A desktop pet that reminds you to drink water\n"
           "Exec=" + quotedForExec(executablePath) + "\n"
           "Icon=glugmo\n"
           "Terminal=false\n"
           "X-GNOME-Autostart-enabled=true\n";
}

std::string autostartPath(const std::string& configHome) {
    return configHome + "/autostart/glugmo.desktop";
}

bool setAutostart(FileSystem& files, const std::string& configHome, bool on,
                  const std::string& executablePath) {
    const std::string path = autostartPath(configHome);
    if (!on) return files.removeFile(path);
    return files.createDirectories(configHome + "/autostart") &&
           files.writeFileAtomically(path, autostartEntry(executablePath));
}

}  // namespace glugmo
