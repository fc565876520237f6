#include <gtest/gtest.h>
#include <sys/stat.h>
#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "platform/posix/posix_file_system.h"

namespace glugmo {
namespace {

namespace fs = std::filesystem;

constexpr uid_t kNobody = 65534;

struct PosixFileSystemTest : testing::Test {
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "glugmo-files-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        root = pattern;
        ::chmod(root.c_str(), 0755);  // so a test running as another user can reach inside
    }
    void TearDown() override { fs::remove_all(root); }

    std::string path(const std::string& name) const { return (root / name).string(); }
    static void put(const std::string& file, const std::string& bytes) { std::ofstream(file) << bytes; }
    std::string contentsOf(const std::string& file) const { return files.readFile(file).value_or("(none)"); }
    static std::vector<std::string> entriesOf(const fs::path& folder) {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename());
        return names;
    }

    fs::path root;
    PosixFileSystem files{std::nullopt};
};

TEST_F(PosixFileSystemTest, ReadsBackWhatItWroteAndNothingFromWhatIsNoFile) {
    for (const std::string& bytes : {std::string(), std::string("nul\0inside", 10), std::string(1 << 20, 'x')}) {
        ASSERT_TRUE(files.writeFileAtomically(path("quotes.txt"), bytes));
        EXPECT_EQ(files.readFile(path("quotes.txt")), bytes) << bytes.size();
    }
    EXPECT_EQ(entriesOf(root), std::vector<std::string>{"quotes.txt"});
    fs::create_directory(path("folder"));
    ASSERT_EQ(::mkfifo(path("fifo").c_str(), 0644), 0);
    for (const std::string& target : {path("folder"), path("missing"), path("fifo"), std::string("/dev/null")})
        EXPECT_EQ(files.readFile(target), std::nullopt) << target;
}

TEST_F(PosixFileSystemTest, WriteReplacesASymbolicLinkAndLeavesItsTargetAlone) {
    put(path("target"), "keep");
    fs::create_symlink(path("target"), path("pet_render.png"));
    fs::create_symlink(path("gone"), path("dangling"));
    EXPECT_TRUE(files.fileExists(path("pet_render.png")));
    EXPECT_FALSE(files.fileExists(path("dangling")));
    ASSERT_TRUE(files.writeFileAtomically(path("pet_render.png"), "new"));
    EXPECT_FALSE(fs::is_symlink(path("pet_render.png")));
    EXPECT_EQ(contentsOf(path("pet_render.png")), "new");
    EXPECT_EQ(contentsOf(path("target")), "keep");
}

TEST_F(PosixFileSystemTest, NewFilesGetTheUmasksModeEvenInOtherThreads) {
    const mode_t saved = ::umask(027);
    ASSERT_TRUE(files.writeFileAtomically(path("out"), "x"));
    EXPECT_EQ(fs::status(path("out")).permissions(), fs::perms(0640));
    // Qt runs threads of its own: a file one of them creates while we write
    // must get the umask's mode, never a stricter stand-in.
    std::atomic<bool> writing = true;
    std::thread writer([&] {
        for (int i = 0; i < 500; ++i) files.writeFileAtomically(path("out"), "x");
        writing = false;
    });
    int strayModes = 0;
    for (int i = 0; writing; ++i) {
        const std::string other = path("other" + std::to_string(i % 8));
        ::close(::open(other.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666));
        strayModes += fs::status(other).permissions() != fs::perms(0640);
        ::unlink(other.c_str());
    }
    writer.join();
    EXPECT_EQ(::umask(saved), 027) << "the umask must be left as it was";
    EXPECT_EQ(strayModes, 0);
}

TEST_F(PosixFileSystemTest, WriteRefusesWhatAnotherUserOwns) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to give a file away";
    put(path("theirs"), "theirs");
    fs::create_symlink(path("theirs"), path("their_link"));
    ASSERT_EQ(::chown(path("theirs").c_str(), kNobody, kNobody), 0);
    ASSERT_EQ(::lchown(path("their_link").c_str(), kNobody, kNobody), 0);
    for (const auto& name : {"theirs", "their_link"}) EXPECT_FALSE(files.writeFileAtomically(path(name), "mine"));
    EXPECT_EQ(contentsOf(path("theirs")), "theirs");
    EXPECT_TRUE(fs::is_symlink(path("their_link")));
    EXPECT_EQ(entriesOf(root).size(), 2u) << "no temporary file may be left";
}

}  // namespace
}  // namespace glugmo
