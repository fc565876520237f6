#include "app/command_line.h"

namespace glugmo {

CommandLine parseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine line;
    const auto fail = [&line](std::string error) {
        line.action = CommandLine::Action::Usage;
        line.error = std::move(error);
        return line;
    };
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (line.action != CommandLine::Action::Run) return fail("too many arguments");
        if (argument == "--help" || argument == "-h") {
            line.action = CommandLine::Action::Help;
        } else if (argument == "--version" || argument == "-v") {
            line.action = CommandLine::Action::Version;
        } else if (argument == "--autostart" || argument.starts_with("--autostart=")) {
            std::string value;
            if (argument == "--autostart") {
                if (++i == arguments.size()) return fail("--autostart needs on or off");
                value = arguments[i];
            } else {
                value = argument.substr(std::string("--autostart=").size());
            }
            if (value != "on" && value != "off") return fail("--autostart takes on or off, not '" + value + "'");
            line.action = CommandLine::Action::Autostart;
            line.autostartOn = value == "on";
        } else {
            return fail("unknown option '" + argument + "'");
        }
    }
    return line;
}

std::string usageText(const std::string& programName) {
    return "Usage: " + programName + " [--help | --version | --autostart on|off]\n"
           "\n"
           "咕噜宝 (Glugmo), a desktop pet that keeps you company and reminds you to drink water.\n"
           "Started without options, it shows the pet. If one already runs, it brings that one\n"
           "back and opens its menu beside it: the way to every menu item without a tray.\n"
           "\n"
           "  -h, --help            show this help and exit\n"
           "  -v, --version         show the version and exit\n"
           "  --autostart on|off    start the pet when you log in, or stop doing so\n"
           "\n"
           "Your own pictures: a file in ~/.local/share/Glugmo/pictures/ (under $XDG_DATA_HOME\n"
           "when set) named like a built-in one (idle.png, icon.png, 08_多喝水.gif, ...) is shown\n"
           "instead of it; the README lists the names. Read at start.\n";
}

}  // namespace glugmo
