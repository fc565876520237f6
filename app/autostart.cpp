#include "app/autostart.h"

#include "menu/utf8.h"

namespace glugmo {

namespace {
// Exec= holds arguments separated by spaces, so the path is quoted. Inside
// quotes `"`, `` ` ``, `$` and `\` take a backslash; the value as a whole is
// then a desktop-entry string, where every backslash is itself escaped, and a
// literal % is written %%. A path with control characters or bytes that are
// not UTF-8 cannot be written at all.
std::optional<std::string> quotedForExec(const std::string& path) {
    if (!isWellFormedUtf8(path)) return std::nullopt;
    std::string quoted = "\"";
    for (char c : path) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) return std::nullopt;
        if (c == '"' || c == '`' || c == '$') quoted += "\\\\";
        if (c == '\\') quoted += "\\\\\\";
        if (c == '%') quoted += '%';
        quoted += c;
    }
    return quoted + "\"";
}
}  // namespace

std::optional<std::string> autostartEntry(const std::string& executablePath) {
    const std::optional<std::string> exec = quotedForExec(executablePath);
    if (!exec) return std::nullopt;
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Glugmo\n"
           "Name[zh_CN]=咕噜宝\n"
           "Comment=A desktop pet that reminds you to drink water\n"
           "Exec=" + *exec + "\n"
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
    const std::optional<std::string> entry = autostartEntry(executablePath);
    return entry && files.createDirectories(configHome + "/autostart") &&
           files.writeFileAtomically(path, *entry);
}

}  // namespace glugmo
