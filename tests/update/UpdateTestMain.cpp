// The update flow's tests need a QApplication, offscreen, and a home of their
// own so that nothing of the real user's is read or written.

#include <QApplication>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    const fs::path home =
        fs::temp_directory_path() / ("kalvara-update-home-" + std::to_string(::getpid()));
    fs::create_directories(home / "config");
    fs::create_directories(home / "cache");
    fs::create_directories(home / "data");
    ::setenv("HOME", home.c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (home / "config").c_str(), 1);
    ::setenv("XDG_CACHE_HOME", (home / "cache").c_str(), 1);
    ::setenv("XDG_DATA_HOME", (home / "data").c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // Loopback only: a proxy from the environment must not see our requests.
    for (const char* name :
         {"http_proxy", "https_proxy", "all_proxy", "HTTP_PROXY", "HTTPS_PROXY", "ALL_PROXY"}) {
        ::unsetenv(name);
    }
    ::setenv("no_proxy", "127.0.0.1,localhost", 1);

    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    std::error_code error;
    fs::remove_all(home, error);
    return result;
}
