// Every test program keeps the player's files (settings, saved campaign, an installed game's edited files)
// in a folder of its own, so no test reads or writes the real ~/.config or ~/.local/share. The folder is
// made before any test runs and removed when the program ends; a test that wants its own points the
// variables elsewhere itself.

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <unistd.h>

namespace {

struct TestHome {
    std::filesystem::path folder;
    pid_t owner = 0;

    TestHome() {
        owner = ::getpid();
        folder = std::filesystem::temp_directory_path() / ("vantor_test_home_" + std::to_string(owner));
        std::error_code error;
        std::filesystem::create_directories(folder / "config", error);
        std::filesystem::create_directories(folder / "data", error);
        ::setenv("XDG_CONFIG_HOME", (folder / "config").c_str(), 1);
        ::setenv("XDG_DATA_HOME", (folder / "data").c_str(), 1);
    }
    ~TestHome() {
        // A forked child leaves the folder to the process that made it.
        if (::getpid() == owner) {
            std::error_code error;
            std::filesystem::remove_all(folder, error);
        }
    }
};

TestHome home;

} // namespace
