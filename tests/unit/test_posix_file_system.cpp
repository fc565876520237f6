#include <gtest/gtest.h>
#include <sys/stat.h>
#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <thread>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/posix/posix_file_system.h"

namespace glugmo {
namespace {

namespace fs = std::filesystem;

constexpr uid_t kNobody = 65534;

class PosixFileSystemTest : public testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "glugmo-files-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        root_ = pattern;
        // Traversable, so a test running as another user can reach inside.
        ::chmod(root_.c_str(), 0755);
    }
    void TearDown() override { fs::remove_all(root_); }

    std::string path(const std::string& name) const { return (root_ / name).string(); }

    static void put(const std::string& file, const std::string& contents) {
        std::ofstream(file, std::ios::binary) << contents;
    }
    static std::string contentsOf(const std::string& file) {
        std::ostringstream out;
        out << std::ifstream(file, std::ios::binary).rdbuf();
        return out.str();
    }
    static std::vector<std::string> entriesOf(const fs::path& folder) {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder))
            names.push_back(entry.path().filename());
        return names;
    }

    fs::path root_;
    PosixFileSystem files_{std::nullopt};
};

TEST_F(PosixFileSystemTest, WrittenBytesReadBackUnchanged) {
    std::string lines;
    for (int i = 0; i < 100000; ++i) lines += "quote number " + std::to_string(i) + '\n';
    const std::string cases[] = {"", "one line", std::string("nul\0inside", 10),
                                 std::string(1 << 20, 'x'), lines};
    for (const auto& bytes : cases) {
        SCOPED_TRACE(bytes.size());
        ASSERT_TRUE(files_.writeFileAtomically(path("quotes.txt"), bytes));
        EXPECT_EQ(files_.readFile(path("quotes.txt")), bytes);
    }
    EXPECT_EQ(entriesOf(root_), std::vector<std::string>{"quotes.txt"});
}

TEST_F(PosixFileSystemTest, ReadsNothingFromWhatIsNotARegularFile) {
    fs::create_directory(path("folder"));
    ASSERT_EQ(::mkfifo(path("fifo").c_str(), 0644), 0);
    for (const std::string& target :
         {path("folder"), path("missing"), path("fifo"), std::string("/dev/null")}) {
        SCOPED_TRACE(target);
        EXPECT_EQ(files_.readFile(target), std::nullopt);
    }
}

TEST_F(PosixFileSystemTest, FileExistsFollowsSymbolicLinks) {
    put(path("target"), "x");
    fs::create_symlink(path("target"), path("link"));
    fs::create_symlink(path("gone"), path("dangling"));
    EXPECT_TRUE(files_.fileExists(path("target")));
    EXPECT_TRUE(files_.fileExists(path("link")));
    EXPECT_FALSE(files_.fileExists(path("dangling")));
    EXPECT_FALSE(files_.fileExists(path("missing")));
}

TEST_F(PosixFileSystemTest, WriteReplacesASymbolicLinkAndLeavesItsTargetAlone) {
    put(path("target"), "keep");
    fs::create_symlink(path("target"), path("pet_render.png"));
    ASSERT_TRUE(files_.writeFileAtomically(path("pet_render.png"), "new"));
    EXPECT_FALSE(fs::is_symlink(path("pet_render.png")));
    EXPECT_EQ(contentsOf(path("pet_render.png")), "new");
    EXPECT_EQ(contentsOf(path("target")), "keep");
}

TEST_F(PosixFileSystemTest, NewFileGetsOrdinaryPermissionsUnderTheUmask) {
    const mode_t saved = ::umask(027);
    const bool written = files_.writeFileAtomically(path("out"), "x");
    const mode_t after = ::umask(027);
    ASSERT_TRUE(written);
    EXPECT_EQ(after, 027) << "the umask must be left as it was";
    EXPECT_EQ(fs::status(path("out")).permissions(), fs::perms(0640));

    // Qt runs threads of its own: a file one of them creates while we write
    // must get the umask's mode, never a stricter stand-in.
    std::atomic<bool> writing = true;
    std::thread writer([&] {
        for (int i = 0; i < 500; ++i) files_.writeFileAtomically(path("out"), "x");
        writing = false;
    });
    int strayModes = 0;
    for (int i = 0; writing; ++i) {
        const std::string other = path("other" + std::to_string(i % 8));
        const int fd = ::open(other.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
        struct stat info {};
        ::fstat(fd, &info);
        if ((info.st_mode & 0777) != 0640) ++strayModes;
        ::close(fd);
        ::unlink(other.c_str());
    }
    writer.join();
    ::umask(saved);
    EXPECT_EQ(strayModes, 0);
}

TEST_F(PosixFileSystemTest, WriteRefusesWhatAnotherUserOwns) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to give a file away";
    put(path("theirs"), "theirs");
    fs::create_symlink(path("theirs"), path("their_link"));
    ASSERT_EQ(::chown(path("theirs").c_str(), kNobody, kNobody), 0);
    ASSERT_EQ(::lchown(path("their_link").c_str(), kNobody, kNobody), 0);
    for (const auto& name : {"theirs", "their_link"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(files_.writeFileAtomically(path(name), "mine"));
    }
    EXPECT_EQ(contentsOf(path("theirs")), "theirs");
    EXPECT_TRUE(fs::is_symlink(path("their_link")));
    EXPECT_EQ(entriesOf(root_).size(), 2u) << "no temporary file may be left";
}

TEST_F(PosixFileSystemTest, FailedWriteSaysWhyAndLeavesNoTemporaryFile) {
    fs::create_directory(path("in_the_way"));
    put(path("in_the_way/child"), "");
    const struct {
        const char* name;
        int error;
    } rows[] = {
        // The rename fails last, after the temporary file was written.
        {"in_the_way", EISDIR},
        {"missing/file", ENOENT},
        {"trailing/", EISDIR},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(files_.replaceFile(path(row.name), "x"), row.error);
        EXPECT_FALSE(files_.writeFileAtomically(path(row.name), "x"));
    }
    EXPECT_EQ(entriesOf(root_), std::vector<std::string>{"in_the_way"});
    EXPECT_EQ(entriesOf(path("in_the_way")), std::vector<std::string>{"child"});
}

TEST_F(PosixFileSystemTest, WriteIntoAnUnwritableFolderFails) {
    fs::create_directory(path("locked"));
    ::chmod(path("locked").c_str(), 0555);
    const std::string target = path("locked/file");
    if (::geteuid() == 0) {
        // Root writes anywhere; try as an ordinary user in a child process.
        EXPECT_EXIT(
            {
                if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) ::_exit(2);
                ::_exit(PosixFileSystem(std::nullopt).writeFileAtomically(target, "x") ? 1 : 0);
            },
            testing::ExitedWithCode(0), "");
    } else {
        EXPECT_FALSE(files_.writeFileAtomically(target, "x"));
    }
    EXPECT_TRUE(fs::is_empty(path("locked")));
}

TEST_F(PosixFileSystemTest, CreateDirectoriesLikeMkdirP) {
    put(path("file"), "");
    fs::create_directory(path("existing"));
    const struct {
        std::string path;
        bool created;
    } cases[] = {
        {path("a/b/c"), true}, {path("x//y/"), true},     {path("existing"), true},
        {path("file"), false}, {path("file/sub"), false}, {"", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(files_.createDirectories(c.path), c.created);
        EXPECT_EQ(fs::is_directory(c.path), c.created);
    }
}

TEST_F(PosixFileSystemTest, NewFoldersAreReadableByOthersUnderTheUmask) {
    const mode_t saved = ::umask(022);
    const bool created = files_.createDirectories(path("data/glugmo"));
    ::umask(saved);
    ASSERT_TRUE(created);
    EXPECT_EQ(fs::status(path("data")).permissions(), fs::perms(0755));
    EXPECT_EQ(fs::status(path("data/glugmo")).permissions(), fs::perms(0755));
}

}  // namespace
}  // namespace glugmo
