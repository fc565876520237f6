#include <cstdio>
#include <string>
#include <vector>

#include "app/app_delegate.h"
#include "app/autostart.h"
#include "app/command_line.h"
#include "platform/event_loop.h"
#include "platform/posix/posix_file_system.h"
#include "platform/posix/posix_paths.h"

namespace {

int switchAutostart(bool on) {
    const std::optional<std::string> config = glugmo::configHome();
    const std::optional<std::string> executable = glugmo::executablePath();
    glugmo::PosixFileSystem files(std::nullopt);
    if (!config || !executable || !glugmo::setAutostart(files, *config, on, *executable)) {
        std::fprintf(stderr, "glugmo: could not %s the autostart entry\n", on ? "write" : "remove");
        return 1;
    }
    std::printf("%s %s\n", on ? "Glugmo will start at login:" : "Glugmo will no longer start at login:",
                glugmo::autostartPath(*config).c_str());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string program = argc > 0 ? argv[0] : "glugmo";
    const glugmo::CommandLine line = glugmo::parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    switch (line.action) {
        case glugmo::CommandLine::Action::Help:
            std::fputs(glugmo::usageText(program).c_str(), stdout);
            return 0;
        case glugmo::CommandLine::Action::Version:
            std::printf("glugmo %s\n", GLUGMO_VERSION);
            return 0;
        case glugmo::CommandLine::Action::Usage:
            std::fprintf(stderr, "glugmo: %s\n\n%s", line.error.c_str(), glugmo::usageText(program).c_str());
            return 2;
        case glugmo::CommandLine::Action::Autostart:
            return switchAutostart(line.autostartOn);
        case glugmo::CommandLine::Action::Run:
            break;
    }
    glugmo::AppDelegate delegate;
    // Qt reads only the program name: every option is ours.
    int qtArgc = 1;
    return glugmo::runEventLoop(qtArgc, argv, delegate);
}
