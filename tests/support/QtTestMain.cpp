// GoogleTest main for the suites that need Qt widgets: one application
// object for the whole run, on the offscreen platform unless told otherwise,
// with a home, XDG and runtime folders of the run's own, so that nothing of
// the real user's is read or written and parallel runs never meet.

#include "support/TempFolder.h"

#include <QApplication>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    const kalvara::test::TempFolder home;
    for (const char* folder : {"config", "cache", "data", "runtime"}) {
        fs::create_directories(home.Path() / folder);
    }
    fs::permissions(home.Path() / "runtime", fs::perms::owner_all, fs::perm_options::replace);
    ::setenv("HOME", home.Path().c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", home.File("config").c_str(), 1);
    ::setenv("XDG_CACHE_HOME", home.File("cache").c_str(), 1);
    ::setenv("XDG_DATA_HOME", home.File("data").c_str(), 1);
    ::setenv("XDG_RUNTIME_DIR", home.File("runtime").c_str(), 1);
    ::unsetenv("KALVARA_HOME");
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // Loopback only: a proxy from the environment must not see our requests.
    for (const char* name :
         {"http_proxy", "https_proxy", "all_proxy", "HTTP_PROXY", "HTTPS_PROXY", "ALL_PROXY"}) {
        ::unsetenv(name);
    }
    ::setenv("no_proxy", "127.0.0.1,localhost", 1);

    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
