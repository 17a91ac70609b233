// What gmftool writes besides fonts: standard output, and the files -o names, over failing targets.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <stdio_ext.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>

#include "tests/gmftool/run_gmftool.h"
#include "tests/support/font_bytes.h"
#include "tests/support/read_only.h"
#include "tests/support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using testing_support::FontBytes;
using testing_support::Glyph;
using testing_support::GmftoolResult;
using testing_support::ReadAll;

// A font whose dump is some 6 KB.
FontBytes HundredGlyphs() {
    std::vector<font::GlyphRecord> glyphs;
    for (int i = 0; i < 100; ++i) glyphs.push_back(Glyph((i % 25) * 10 / 256.0f, (i / 25) * 16 / 256.0f, ((i % 25) * 10 + 8) / 256.0f));
    return FontBytes::LayoutA(glyphs);
}

// gmftool with its standard output on /dev/full: every write there fails, as on a full disk.
GmftoolResult ToFullDevice(const std::vector<std::string>& arguments) {
    std::fflush(stdout);
    const int saved = ::dup(1);
    const int full = ::open("/dev/full", O_WRONLY);
    EXPECT_GE(full, 0);
    ::dup2(full, 1);
    ::close(full);
    testing::internal::CaptureStderr();
    GmftoolResult result;
    result.status = gmftool::Run(arguments);
    result.err = testing::internal::GetCapturedStderr();
    __fpurge(stdout);  // what could not be written must not reach the test's own output
    std::clearerr(stdout);
    ::dup2(saved, 1);
    ::close(saved);
    return result;
}

// gmftool with the bytes coming through a pipe on its standard input.
GmftoolResult FromPipe(const std::vector<std::string>& arguments, const std::string& input) {
    int ends[2];
    EXPECT_EQ(::pipe(ends), 0);
    EXPECT_EQ(::write(ends[1], input.data(), input.size()), static_cast<ssize_t>(input.size()));  // less than a pipe holds
    ::close(ends[1]);
    const int saved = ::dup(0);
    ::dup2(ends[0], 0);
    ::close(ends[0]);
    std::clearerr(stdin);
    GmftoolResult result = testing_support::RunGmftool(arguments);
    ::dup2(saved, 0);
    ::close(saved);
    std::clearerr(stdin);
    return result;
}

std::vector<std::string> Names(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class Output : public ::testing::Test {
protected:
    void SetUp() override {
        font = dir.Write("font1.gmf", HundredGlyphs().bytes());
        ASSERT_EQ(testing_support::RunGmftool({"dump", font, "-o", dir.Path("good.txt")}).status, 0);
        good = ReadAll(dir.Path("good.txt"));
    }

    testing_support::TempDir dir;
    std::string font;
    std::vector<std::byte> good;
};

TEST_F(Output, AStandardOutputThatCannotBeWrittenIsAFailure) {
    const std::string other = dir.Write("other.gmf", FontBytes::LayoutA({Glyph(0.25f, 0.5f, 0.3125f)}).bytes());
    const std::vector<std::string> calls[] = {
        {"info", font}, {"info", font, "--json"}, {"dump", font}, {"check", other}, {"diff", font, other},
        {"--help"}, {"dump", "--help"}, {"--version"}, {"restore", font, dir.Path("good.txt"), "--dry-run"},
    };
    for (const auto& call : calls) {
        const GmftoolResult result = ToFullDevice(call);
        EXPECT_EQ(result.status, 2) << call[0] << " " << call.back();
        EXPECT_EQ(result.err, "gmftool: cannot write standard output: No space left on device\n") << call[0] << " " << call.back();
    }
    // Nothing on standard output, nothing to fail.
    const GmftoolResult quiet = ToFullDevice({"dump", font, "-o", dir.Path("again.txt")});
    EXPECT_EQ(quiet.status, 0) << quiet.err;
    EXPECT_EQ(ReadAll(dir.Path("again.txt")), good);
}

TEST_F(Output, AFailedOutputFileLeavesThePreviousOneAsItWas) {
    const auto before = Names(dir.Path(""));
    // The outputs run past a 1 KB file size limit half way, as on a full disk.
    EXPECT_TRUE(testing_support::InChildObeyingPermissions([&] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{1024, 1024};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) return false;
        const GmftoolResult dump = testing_support::RunGmftool({"dump", font, "-o", dir.Path("good.txt")});
        const GmftoolResult overview = testing_support::RunGmftool({"overview", font, "-o", dir.Path("good.txt"), "--scale", "2"});
        return dump.status == 2 && dump.err.find("good.txt") != std::string::npos && overview.status == 2;
    }));
    EXPECT_EQ(ReadAll(dir.Path("good.txt")), good);
    EXPECT_EQ(Names(dir.Path("")), before) << "no half-written file left beside it";

    // A folder where no new file can be made, over a file that could itself be written.
    {
        testing_support::ReadOnlyFolder readOnly(dir.Path(""));
        fs::permissions(dir.Path("good.txt"), fs::perms::owner_write, fs::perm_options::add);
        EXPECT_TRUE(testing_support::InChildObeyingPermissions([&] {
            return testing_support::RunGmftool({"dump", font, "-o", dir.Path("good.txt")}).status == 2 &&
                   testing_support::RunGmftool({"overview", font, "-o", dir.Path("good.txt")}).status == 2;
        }));
    }
    EXPECT_EQ(ReadAll(dir.Path("good.txt")), good);
    EXPECT_EQ(Names(dir.Path("")), before);

    const GmftoolResult missing = testing_support::RunGmftool({"dump", font, "-o", dir.Path("no/such/folder.txt")});
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("no/such/folder.txt"), std::string::npos) << missing.err;
}

TEST_F(Output, AWholeOutputReplacesTheFileTheNameLeadsTo) {
    // A longer file of the same name, with its own permission bits.
    dir.Write("out.txt", std::vector<std::byte>(good.size() * 2, std::byte{'x'}));
    fs::permissions(dir.Path("out.txt"), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(testing_support::RunGmftool({"dump", font, "-o", dir.Path("out.txt")}).status, 0);
    EXPECT_EQ(ReadAll(dir.Path("out.txt")), good);
    EXPECT_EQ(fs::status(dir.Path("out.txt")).permissions(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

    // Through a link: the file it names is replaced, and the link stays.
    dir.Write("target.txt", {std::byte{'x'}});
    fs::create_symlink("target.txt", dir.Path("link.txt"));
    EXPECT_EQ(testing_support::RunGmftool({"dump", font, "-o", dir.Path("link.txt")}).status, 0);
    EXPECT_TRUE(fs::is_symlink(dir.Path("link.txt")));
    EXPECT_EQ(ReadAll(dir.Path("target.txt")), good);

    // What is no file, such as a pipe, is written to as it is. Opened for reading first, the pipe
    // takes the whole dump without blocking, and a gmftool that never writes it cannot hang the test.
    ASSERT_EQ(::mkfifo(dir.Path("pipe").c_str(), 0600), 0);
    const int pipe = ::open(dir.Path("pipe").c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(pipe, 0);
    EXPECT_EQ(testing_support::RunGmftool({"dump", font, "-o", dir.Path("pipe")}).status, 0);
    std::vector<std::byte> received(good.size() + 1);
    const ssize_t got = ::read(pipe, received.data(), received.size());
    ::close(pipe);
    received.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    EXPECT_EQ(received, good);
    EXPECT_TRUE(fs::is_fifo(dir.Path("pipe")));
    EXPECT_EQ(Names(dir.Path("")), (std::vector<std::string>{"font1.gmf", "good.txt", "link.txt", "out.txt", "pipe", "target.txt"}));
}

TEST_F(Output, ADumpFromStandardInput) {
    const std::string text(reinterpret_cast<const char*>(good.data()), good.size());
    const std::vector<std::byte> original = ReadAll(font);
    std::vector<std::byte> changed = original;
    changed[8] = std::byte{0x42};
    const struct { const char* name; std::string input; int status; std::string said; } rows[] = {
        {"-", text, 0, "changed 0 glyphs and 1 header value\n"},
        {"/dev/stdin", text, 0, "changed 0 glyphs and 1 header value\n"},
        {"-", "", 2, "gmftool: standard input: line 1: the dump ends without"},
        {"-", text.substr(0, text.size() - 1), 2, "gmftool: standard input: line 108: the line is cut short"},
        {"/dev/zero", "", 2, "gmftool: /dev/zero: more than 16777216 bytes\n"},
        {"/", "", 2, "gmftool: cannot open /: it is a folder\n"},
    };
    for (const auto& row : rows) {
        dir.Write("font1.gmf", changed);
        const GmftoolResult result = FromPipe({"restore", font, row.name}, row.input);
        EXPECT_EQ(result.status, row.status) << row.name << ": " << result.err;
        EXPECT_EQ((row.status == 0 ? result.out : result.err).substr(0, row.said.size()), row.said) << row.name;
        EXPECT_EQ(ReadAll(font), row.status == 0 ? original : changed) << row.name;
    }
}

}  // namespace
