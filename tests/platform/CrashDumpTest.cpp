#include "platform/CrashDump.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Runs the test in a fresh temporary working directory and returns to the old one afterwards.
class CrashDumpTest : public ::testing::Test {
protected:
    void SetUp() override {
        previous_ = std::filesystem::current_path();
        char pattern[] = "/tmp/vantor-crash-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder_ = pattern;
        std::filesystem::current_path(folder_);
    }
    void TearDown() override {
        std::filesystem::current_path(previous_);
        std::filesystem::remove_all(folder_);
    }

    static std::string ReadFile(const std::filesystem::path& path) {
        std::ifstream file(path);
        std::stringstream text;
        text << file.rdbuf();
        return text.str();
    }

    std::filesystem::path previous_;
    std::filesystem::path folder_;
};

// Writes into a page that may not be touched: a genuine fault, not one the sanitizers report first.
[[gnu::noinline]] void CrashInto(void* page) {
    *static_cast<volatile int*>(page) = 42;
}

} // namespace

TEST_F(CrashDumpTest, TakesTheFirstFreeNumberWithoutOverwriting) {
    std::ofstream("crashDump1.dmp") << "first";
    std::ofstream("crashDump2.dmp") << "second";
    char name[32];
    const int fd = CreateCrashDumpFile(name, sizeof(name));
    ASSERT_GE(fd, 0);
    close(fd);
    EXPECT_STREQ(name, "crashDump3.dmp");
    EXPECT_EQ(ReadFile("crashDump1.dmp"), "first");
    EXPECT_EQ(ReadFile("crashDump2.dmp"), "second");

    std::filesystem::remove("crashDump2.dmp");
    const int again = CreateCrashDumpFile(name, sizeof(name));
    ASSERT_GE(again, 0);
    close(again);
    EXPECT_STREQ(name, "crashDump2.dmp") << "a gap left by a removed dump is reused";
}

TEST_F(CrashDumpTest, ReportsTheErrorWhenTheFileCannotBeCreated) {
    // A working directory that no longer exists refuses every new file, even to root.
    const std::filesystem::path gone = folder_ / "gone";
    std::filesystem::create_directory(gone);
    std::filesystem::current_path(gone);
    std::filesystem::remove(gone);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(WriteCrashDump(SIGSEGV, nullptr));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Failed to write minidump\n error code: 2\n");
}

TEST_F(CrashDumpTest, ARealCrashWritesADumpWithABacktrace) {
    std::ofstream("crashDump1.dmp") << "older crash";
    void* page = mmap(nullptr, 4096, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(page, MAP_FAILED);
    std::stringstream address;
    address << "fault address: " << page << "\n";
    int errorPipe[2];
    ASSERT_EQ(pipe(errorPipe), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        dup2(errorPipe[1], STDERR_FILENO);
        InstallCrashHandler();
        CrashInto(page);
        _exit(0);
    }
    close(errorPipe[1]);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    char errorText[256] = {};
    const ssize_t errorLength = read(errorPipe[0], errorText, sizeof(errorText) - 1);
    close(errorPipe[0]);
    EXPECT_GT(errorLength, 0);
    EXPECT_NE(std::string(errorText).find("details are in crashDump2.dmp"), std::string::npos) << errorText;
    EXPECT_TRUE(WIFSIGNALED(status) || (WIFEXITED(status) && WEXITSTATUS(status) != 0))
        << "the crashed process must not end as a success";

    ASSERT_TRUE(std::filesystem::exists("crashDump2.dmp"));
    const std::string dump = ReadFile("crashDump2.dmp");
    EXPECT_NE(dump.find("signal: 11 (SIGSEGV)"), std::string::npos) << dump;
    EXPECT_NE(dump.find(address.str()), std::string::npos) << dump;
    const size_t backtrace = dump.find("backtrace:\n");
    ASSERT_NE(backtrace, std::string::npos) << dump;
    EXPECT_GT(dump.size(), backtrace + 20) << "the backtrace has frames: " << dump;
    EXPECT_EQ(ReadFile("crashDump1.dmp"), "older crash");
    munmap(page, 4096);
}
