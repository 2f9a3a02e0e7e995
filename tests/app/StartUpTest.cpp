// Start-up: one instance, the output folder, the command line and the
// executable itself.

#include "AppHarness.h"
#include "app/DesktopCommandLine.h"
#include "app/MainWindow.h"
#include "app/SingleInstance.h"
#include "gui/Gui.h"

#include <QProcess>
#include <QWidget>
#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace kalvara::test {
namespace {

// Sets an environment variable for the rest of the test only.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value)
        : name_(name), was_set_(qEnvironmentVariableIsSet(name)), saved_(qgetenv(name)) {
        qputenv(name, QByteArray::fromStdString(value));
    }
    ~ScopedEnv() { was_set_ ? qputenv(name_, saved_) : qunsetenv(name_); }

private:
    const char* name_;
    bool was_set_;
    QByteArray saved_;
};

TEST(SingleInstanceGuard, SecondInstanceOfTheSameFolderFindsTheFirst) {
    SingleInstance first("ZORV5", "/some/program/");
    SingleInstance second("ZORV5", "/some/program/");
    SingleInstance elsewhere("ZORV5", "/another/program/");
    EXPECT_EQ(first.SocketPath(), second.SocketPath());
    EXPECT_NE(first.SocketPath(), elsewhere.SocketPath());
    EXPECT_TRUE(first.SocketPath().startsWith(qgetenv("XDG_RUNTIME_DIR") + "/ZORV5-"));

    // A socket file left by a program that crashed answers nobody and is
    // taken over.
    WriteFile(first.SocketPath().toStdString(), "left over");
    EXPECT_FALSE(first.ActivateOtherInstance());
    ASSERT_TRUE(first.Claim());
    EXPECT_FALSE(elsewhere.ActivateOtherInstance());
    // What the first one does when found: SecondProgramRaisesTheFirstAndEnds.
    EXPECT_TRUE(second.ActivateOtherInstance());
}

TEST(SingleInstanceGuard, WithoutARuntimeFolderTheSocketGoesIntoAPrivateFolder) {
    TempFolder temp;
    ScopedEnv runtime("XDG_RUNTIME_DIR", "");
    ScopedEnv tmp("TMPDIR", temp.Path().string());
    const fs::path private_folder = temp.Path() / ("kalvara-" + std::to_string(::getuid()));

    SingleInstance own("ZORV5", "/some/program/");
    EXPECT_EQ(fs::path(own.SocketPath().toStdString()).parent_path(), private_folder);
    EXPECT_EQ(fs::status(private_folder).permissions() & fs::perms::all, fs::perms::owner_all);

    // A folder of that name that others may enter is not used.
    fs::permissions(private_folder, fs::perms::all);
    SingleInstance exposed("ZORV5", "/some/program/");
    EXPECT_NE(fs::path(exposed.SocketPath().toStdString()).parent_path(), private_folder);
    EXPECT_FALSE(exposed.ActivateOtherInstance());
}

TEST(SingleInstanceGuard, SecondProgramRaisesTheFirstAndEnds) {
    AppHarness harness;
    harness.Start();
    QWidget* window = gui::FormWidget(MainFormName);
    window->showMinimized();
    Pump();
    ASSERT_TRUE(window->isMinimized());

    QProcess second;
    second.start(KALVARA_DESKTOP_EXECUTABLE,
                 {"--home", QString::fromStdString(harness.ProgramFolder())});
    ASSERT_TRUE(second.waitForStarted());
    // The first program must keep answering while the second one waits.
    for (int i = 0; i < 3000 && second.state() != QProcess::NotRunning; ++i) {
        Pump(1);
        second.waitForFinished(5);
    }
    ASSERT_EQ(second.state(), QProcess::NotRunning);
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0) << second.readAllStandardError().toStdString();
    for (int i = 0; i < 200 && window->isMinimized(); ++i) {
        Pump(1);
    }
    EXPECT_FALSE(window->isMinimized());
    EXPECT_TRUE(window->isVisible());
    // The second program wrote no calendar and kept the first one's files.
    EXPECT_TRUE(harness.Calendars().empty());
}

TEST(StartUp, ARuntimeFolderThatTakesNoSocketDoesNotStopTheProgram) {
    AppHarness harness;
    // Local socket paths are limited to about a hundred bytes.
    const std::string deep = harness.ProgramFolder() + std::string(120, 'r');
    fs::create_directories(deep);
    ScopedEnv runtime("XDG_RUNTIME_DIR", deep);
    harness.Start();
    EXPECT_TRUE(gui::FormExists(MainFormName));
    EXPECT_EQ(harness.App().Instance(), nullptr);
}

TEST(StartUp, ProgramFolderGivenThroughALinkIsTheRealOneAndOldCalendarsGo) {
    AppHarness harness;
    WriteFile(harness.OutputFolder() + "001Calendar.PDF", "old");
    WriteFile(harness.OutputFolder() + "notes.pdf", "old");
    WriteFile(harness.OutputFolder() + "keep.txt", "mine");
    fs::create_directories(harness.OutputFolder() + "folder.PDF");
    harness.folder_given =
        harness.ProgramFolder().substr(0, harness.ProgramFolder().size() - 1) + "-link";
    fs::create_directory_symlink(harness.ProgramFolder(), harness.folder_given);
    harness.Start();
    EXPECT_EQ(harness.App().Paths().SettingsFile, harness.SettingsFile());
    EXPECT_EQ(harness.App().Paths().OutputFolder, harness.OutputFolder());
    // Only the numbered calendars are Kalvara's; the user's own PDF stays.
    EXPECT_EQ(harness.Calendars(),
              (std::vector<std::string>{"folder.PDF", "keep.txt", "notes.pdf"}));
}

TEST(CommandLine, Parsing) {
    using Action = DesktopCommandLine::Action;
    // Only the first argument, and only exactly so.
    EXPECT_EQ(ParseDesktopCommandLine({"--home", "/x", "/update"}).action, Action::Error);
    EXPECT_EQ(ParseDesktopCommandLine({"/UPDATE"}).action, Action::Error);
    const DesktopCommandLine home = ParseDesktopCommandLine({"/update", "--home", "/data/k"});
    EXPECT_EQ(home.action, Action::Run);
    EXPECT_TRUE(home.after_update);
    EXPECT_EQ(home.home, "/data/k");
    EXPECT_EQ(ParseDesktopCommandLine({"--home=/data/k"}).home, "/data/k");
    EXPECT_EQ(ParseDesktopCommandLine({"--home"}).action, Action::Error);
    EXPECT_EQ(ParseDesktopCommandLine({"--home="}).action, Action::Error);
    EXPECT_EQ(ParseDesktopCommandLine({"--home", "/x", "--help"}).action, Action::Help);
    EXPECT_EQ(ParseDesktopCommandLine({"/update", "-h"}).action, Action::Help);
    EXPECT_EQ(ParseDesktopCommandLine({"/update", "--version"}).action, Action::Version);
    // The last folder given counts.
    EXPECT_EQ(ParseDesktopCommandLine({"--home", "/a", "--home=/b"}).home, "/b");
    // A folder may start with a dash when it is the option's value.
    EXPECT_EQ(ParseDesktopCommandLine({"--home", "-dashed"}).home, "-dashed");
}

TEST(CommandLine, AnythingElseIsRefusedNamingTheWordAsTyped) {
    using Action = DesktopCommandLine::Action;
    for (const auto& [args, named] : std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{"--frobnicate"}, "--frobnicate"},
             {{"--frobnicate=1"}, "--frobnicate=1"},
             {{"-q"}, "-q"},
             {{"calendar.pdf"}, "calendar.pdf"},
             {{"/update", "/update"}, "/update"},
             {{"--", "--help"}, "--help"}}) {
        const DesktopCommandLine parsed = ParseDesktopCommandLine(args);
        EXPECT_EQ(parsed.action, Action::Error) << named;
        EXPECT_NE(parsed.error.find(named), std::string::npos) << parsed.error;
    }
}

TEST(Executable, VersionHelpBadArgumentsAndNoDisplay) {
    TempFolder root;
    QProcessEnvironment environment;
    environment.insert("PATH", "/usr/bin:/bin");
    environment.insert("HOME", QString::fromStdString(root.Path().string()));
    // Exit code, then what it wrote to stdout and stderr.
    const auto run = [&environment](const QStringList& arguments) {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(KALVARA_DESKTOP_EXECUTABLE, arguments);
        EXPECT_TRUE(process.waitForFinished(30000)) << arguments.join(' ').toStdString();
        return std::tuple(process.exitCode(), process.readAllStandardOutput().toStdString(),
                          process.readAllStandardError().toStdString());
    };
    EXPECT_EQ(run({"--version"}), std::tuple(0, "kalvara 5.3.0.0\n", ""));
    auto [code, out, err] = run({"--help"});
    EXPECT_EQ(code, 0);
    EXPECT_NE(out.find("--home DIR"), std::string::npos);
    std::tie(code, out, err) = run({"--frobnicate"});
    EXPECT_EQ(code, 2);
    EXPECT_NE(err.find("--frobnicate"), std::string::npos);

    // Without a display the program points at kalvara-cli and writes
    // nothing; naming the X11 platform without an X display is no display.
    std::tie(code, out, err) = run({"--home", QString::fromStdString(root / "program")});
    EXPECT_EQ(code, 1);
    EXPECT_NE(err.find("kalvara-cli"), std::string::npos) << err;
    EXPECT_FALSE(fs::exists(root / "program/Zorv.ini"));
    environment.insert("QT_QPA_PLATFORM", "xcb");
    std::tie(code, out, err) = run({});
    EXPECT_EQ(code, 1);
    EXPECT_NE(err.find("kalvara-cli"), std::string::npos) << err;
}

} // namespace
} // namespace kalvara::test
