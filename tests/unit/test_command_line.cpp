#include <gtest/gtest.h>

#include "app/autostart.h"
#include "app/command_line.h"
#include "tests/fake/fake_services.h"

namespace glugmo {
namespace {

using Action = CommandLine::Action;

TEST(CommandLine, RecognisesEachOptionAndRejectsTheRest) {
    const std::pair<std::vector<std::string>, Action> cases[] = {
        {{}, Action::Run},           {{"--help"}, Action::Help},          {{"-h"}, Action::Help},
        {{"--version"}, Action::Version}, {{"--autostart", "on"}, Action::Autostart},
        {{"--autostart=off"}, Action::Autostart}, {{"--autostart"}, Action::Usage},
        {{"--autostart", "maybe"}, Action::Usage}, {{"--bogus"}, Action::Usage}, {{"file.txt"}, Action::Usage},
        {{"--help", "--version"}, Action::Usage},
    };
    for (const auto& [args, action] : cases)
        EXPECT_EQ(parseCommandLine(args).action, action) << (args.empty() ? "" : args[0]);
    EXPECT_TRUE(parseCommandLine({"--autostart", "on"}).autostartOn);
    EXPECT_FALSE(parseCommandLine({"--autostart=off"}).autostartOn);
    EXPECT_NE(parseCommandLine({"--bogus"}).error.find("--bogus"), std::string::npos);
}

TEST(Autostart, WritesAnEntryThatRunsThisExecutableAndRemovesIt) {
    fake::FakeFileSystem files;
    ASSERT_TRUE(setAutostart(files, "/home/u/.config", true, "/opt/my pets/bin/glugmo"));
    const std::string entry = files.files.at("/home/u/.config/autostart/glugmo.desktop");
    EXPECT_NE(entry.find("\nExec=\"/opt/my pets/bin/glugmo\"\n"), std::string::npos);
    EXPECT_EQ(entry.rfind("[Desktop Entry]\n", 0), 0u);
    ASSERT_TRUE(setAutostart(files, "/home/u/.config", false, "/opt/my pets/bin/glugmo"));
    EXPECT_FALSE(files.files.contains("/home/u/.config/autostart/glugmo.desktop"));
    EXPECT_TRUE(setAutostart(files, "/home/u/.config", false, "x"));  // already gone is fine
}

TEST(Autostart, ReservedCharactersInThePathAreEscapedAndUnwritablePathsRefused) {
    // Quoted-argument escapes first, then the string escapes doubling every backslash.
    const std::optional<std::string> entry = autostartEntry("/home/a\"b/100%/$x\\y");
    ASSERT_TRUE(entry);
    EXPECT_NE(entry->find("Exec=\"/home/a\\\\\"b/100%%/\\\\$x\\\\\\\\y\"\n"), std::string::npos) << *entry;

    fake::FakeFileSystem files;
    for (const std::string path : {"/opt/new\nline/glugmo", "/opt/tab\t/glugmo", "/opt/\xff/glugmo"}) {
        EXPECT_FALSE(autostartEntry(path)) << path;
        EXPECT_FALSE(setAutostart(files, "/home/u/.config", true, path)) << path;
    }
    EXPECT_TRUE(files.files.empty());
}

}  // namespace
}  // namespace glugmo
