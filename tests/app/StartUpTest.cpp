// Start-up: one instance, the output folder, the command line and the
// executable itself.

#include "AppHarness.h"
#include "app/DesktopCommandLine.h"
#include "app/HelpViewer.h"
#include "app/MainWindow.h"
#include "app/SingleInstance.h"
#include "gui/Gui.h"

#include <QCoreApplication>
#include <QProcess>
#include <QUrl>
#include <QWidget>
#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace kalvara::test {
namespace {

TEST(SingleInstanceGuard, SecondInstanceOfTheSameFolderFindsTheFirst) {
    TempFolder root;
    IsolateEnvironment(root);
    SingleInstance first("ZORV5", "/some/program/");
    SingleInstance second("ZORV5", "/some/program/");
    SingleInstance elsewhere("ZORV5", "/another/program/");
    EXPECT_EQ(first.SocketPath(), second.SocketPath());
    EXPECT_NE(first.SocketPath(), elsewhere.SocketPath());
    EXPECT_EQ(first.SocketPath().toStdString().rfind(root / "runtime/ZORV5-", 0), 0u);

    // A socket file left by a program that crashed answers nobody and is
    // taken over.
    WriteFile(first.SocketPath().toStdString(), "left over");
    EXPECT_FALSE(first.ActivateOtherInstance());
    ASSERT_TRUE(first.Claim());
    int activations = 0;
    first.SetActivationHandler([&activations] { ++activations; });

    EXPECT_FALSE(elsewhere.ActivateOtherInstance());
    EXPECT_TRUE(second.ActivateOtherInstance());
    for (int i = 0; i < 200 && activations == 0; ++i) {
        Pump(1);
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    }
    EXPECT_EQ(activations, 1);
}

TEST(SingleInstanceGuard, WithoutARuntimeFolderTheSocketGoesIntoAPrivateFolder) {
    TempFolder root;
    IsolateEnvironment(root);
    const QByteArray saved_runtime = qgetenv("XDG_RUNTIME_DIR");
    const QByteArray saved_tmp = qgetenv("TMPDIR");
    qunsetenv("XDG_RUNTIME_DIR");
    const fs::path temp = root / "tmp";
    qputenv("TMPDIR", QByteArray::fromStdString(temp.string()));
    fs::create_directories(temp);
    const fs::path private_folder = temp / ("kalvara-" + std::to_string(::getuid()));

    SingleInstance own("ZORV5", "/some/program/");
    EXPECT_EQ(fs::path(own.SocketPath().toStdString()).parent_path(), private_folder);
    EXPECT_EQ(fs::status(private_folder).permissions() & fs::perms::all, fs::perms::owner_all);

    // A folder of that name that others may enter is not used.
    fs::permissions(private_folder, fs::perms::all);
    SingleInstance exposed("ZORV5", "/some/program/");
    EXPECT_NE(fs::path(exposed.SocketPath().toStdString()).parent_path(), private_folder);
    EXPECT_FALSE(exposed.ActivateOtherInstance());

    qputenv("XDG_RUNTIME_DIR", saved_runtime);
    qputenv("TMPDIR", saved_tmp);
}

TEST(SingleInstanceGuard, SecondProgramRaisesTheFirstAndEnds) {
    AppHarness harness;
    harness.Start();
    QWidget* window = gui::FormWidget(MainFormName);
    ASSERT_NE(window, nullptr);
    window->showMinimized();
    Pump();
    ASSERT_TRUE(window->isMinimized());

    QProcess second;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    second.setProcessEnvironment(environment);
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
    ::setenv("XDG_RUNTIME_DIR", deep.c_str(), 1);
    harness.Start();
    EXPECT_TRUE(gui::FormExists(MainFormName));
    EXPECT_EQ(harness.App().Instance(), nullptr);
}

TEST(StartUp, ClearsOldCalendarsAndKeepsOtherFiles) {
    AppHarness harness;
    WriteFile(harness.OutputFolder() + "001Calendar.PDF", "old");
    WriteFile(harness.OutputFolder() + "notes.pdf", "old");
    WriteFile(harness.OutputFolder() + "keep.txt", "mine");
    fs::create_directories(harness.OutputFolder() + "folder.PDF");
    harness.Start();
    EXPECT_EQ(harness.Calendars(), (std::vector<std::string>{"folder.PDF", "keep.txt"}));
    EXPECT_TRUE(harness.App().PdfReaderFound());
    EXPECT_EQ(harness.App().PdfReaderPath(), "/usr/bin/true");
}

TEST(StartUp, ProgramFolderGivenThroughALinkIsTheRealFolder) {
    AppHarness harness;
    const std::string link =
        harness.ProgramFolder().substr(0, harness.ProgramFolder().size() - 1) + "-link";
    fs::create_directory_symlink(harness.ProgramFolder(), link);
    harness.SetProgramFolderGiven(link);
    harness.Start();
    const ProgramPaths& paths = harness.App().Paths();
    EXPECT_EQ(paths.SettingsFile, harness.ProgramFolder() + "Zorv.ini");
    EXPECT_EQ(paths.OutputFolder, harness.ProgramFolder() + "PDF/");
    EXPECT_TRUE(fs::is_directory(paths.OutputFolder));
}

TEST(StartUp, HelpCommandsOtherThanContentsIndexAndTopicDoNothing) {
    AppHarness harness;
    harness.Start();
    harness.App().ShowHelp(3, 10);
    harness.App().ShowHelp(0, 10);
    EXPECT_EQ(harness.App().Help(), nullptr);
    harness.App().ShowHelp(HelpViewer::DisplayIndex, 0);
    ASSERT_NE(harness.App().Help(), nullptr);
    EXPECT_EQ(harness.App().Help()->CurrentTab(), 1);
    EXPECT_TRUE(harness.App().Help()->isVisible());
    // A topic that is not installed explains itself instead of failing.
    harness.App().ShowHelp(HelpViewer::DisplayTopic, 12345);
    EXPECT_TRUE(harness.App().Help()->CurrentPage().isEmpty());
    for (int topic : {10, 20, 25, 45}) {
        EXPECT_FALSE(harness.App().Help()->TopicFile(topic).isEmpty()) << topic;
    }
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
}

struct DesktopRun {
    int exit_code = -1;
    std::string out;
    std::string err;
};

DesktopRun RunDesktop(const QStringList& arguments, const QProcessEnvironment& environment) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(KALVARA_DESKTOP_EXECUTABLE, arguments);
    DesktopRun run;
    if (!process.waitForFinished(30000)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.exit_code = process.exitCode();
    run.out = process.readAllStandardOutput().toStdString();
    run.err = process.readAllStandardError().toStdString();
    return run;
}

TEST(Executable, VersionHelpBadArgumentsAndNoDisplay) {
    TempFolder root;
    QProcessEnvironment environment;
    environment.insert("PATH", "/usr/bin:/bin");
    environment.insert("HOME", QString::fromStdString(root.Path().string()));
    DesktopRun run = RunDesktop({"--version"}, environment);
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_EQ(run.out, "kalvara 5.3.0.0\n");
    run = RunDesktop({"--help"}, environment);
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_NE(run.out.find("--home DIR"), std::string::npos);
    run = RunDesktop({"--frobnicate"}, environment);
    EXPECT_EQ(run.exit_code, 2);
    EXPECT_NE(run.err.find("--frobnicate"), std::string::npos);

    // Without a display the program points at kalvara-cli and writes
    // nothing; naming the X11 platform without an X display is no display.
    run = RunDesktop({"--home", QString::fromStdString(root / "program")}, environment);
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_NE(run.err.find("kalvara-cli"), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(root / "program/Zorv.ini"));
    environment.insert("QT_QPA_PLATFORM", "xcb");
    run = RunDesktop({}, environment);
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_NE(run.err.find("kalvara-cli"), std::string::npos) << run.err;
}

} // namespace
} // namespace kalvara::test
