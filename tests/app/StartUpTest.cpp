// Start-up: one instance, the output folder, the PDF reader probe, the
// command line and the executable itself.

#include "AppHarness.h"
#include "app/DesktopCommandLine.h"
#include "app/MainWindow.h"
#include "app/PdfReaderProbe.h"
#include "app/SingleInstance.h"
#include "gui/Gui.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QWidget>
#include <filesystem>
#include <gmock/gmock.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace kalvara::test {
namespace {

using ::testing::AllOf;
using ::testing::FieldsAre;
using ::testing::HasSubstr;

// Sets an environment variable for the rest of the test; empty counts as unset.
struct ScopedEnv {
    ScopedEnv(const char* name, const std::string& value) : Name(name), Saved(qgetenv(name)) {
        qputenv(name, QByteArray::fromStdString(value));
    }
    ~ScopedEnv() { qputenv(Name, Saved); }
    const char* Name;
    QByteArray Saved;
};

TEST(SingleInstanceGuard, WithoutARuntimeFolderTheSocketGoesIntoAPrivateFolder) {
    TempFolder temp;
    ScopedEnv runtime("XDG_RUNTIME_DIR", "");
    ScopedEnv tmp("TMPDIR", temp.Path().string());
    const fs::path private_folder = temp.Path() / ("kalvara-" + std::to_string(::getuid()));
    const auto folder_of = [](const SingleInstance& instance) {
        return fs::path(instance.SocketPath().toStdString()).parent_path();
    };
    EXPECT_EQ(folder_of(SingleInstance("ZORV5", "/some/program/")), private_folder);
    EXPECT_EQ(fs::status(private_folder).permissions() & fs::perms::all, fs::perms::owner_all);
    // A folder of that name that others may enter is not used.
    fs::permissions(private_folder, fs::perms::all);
    SingleInstance exposed("ZORV5", "/some/program/");
    EXPECT_NE(folder_of(exposed), private_folder);
    EXPECT_FALSE(exposed.ActivateOtherInstance());
}

TEST(SingleInstanceGuard, SecondProgramOfTheSameFolderRaisesTheFirstAndEnds) {
    AppHarness harness;
    const QString folder = QString::fromStdString(harness.ProgramFolder());
    const SingleInstance same(InstanceName, folder);
    EXPECT_NE(same.SocketPath(), SingleInstance(InstanceName, folder + "x/").SocketPath());
    EXPECT_TRUE(same.SocketPath().startsWith(qgetenv("XDG_RUNTIME_DIR") + "/ZORV5-"));
    // A socket left by a program that crashed answers nobody and is taken over.
    WriteFile(same.SocketPath().toStdString(), "left over");
    harness.Start();
    ASSERT_NE(harness.App().Instance(), nullptr);
    QWidget* window = gui::FormWidget(MainFormName);
    window->showMinimized();
    Pump();
    ASSERT_TRUE(window->isMinimized());
    QProcess second;
    second.start(KALVARA_DESKTOP_EXECUTABLE, {"--home", folder});
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
    EXPECT_TRUE(harness.Calendars().empty());
}

// The program folder given through a link, and a runtime folder too deep
// for a socket: local socket paths are limited to about a hundred bytes.
TEST(StartUp, ThroughALinkOldCalendarsGoWithoutASocketItRunsAndAPdfErrorIsExplained) {
    AppHarness harness;
    WriteFile(harness.OutputFolder() + "002Calendar.PDF", "old");
    WriteFile(harness.OutputFolder() + "notes.pdf", "the user's");
    // A folder under the next calendar's name survives the clean-up.
    fs::create_directories(harness.OutputFolder() + "001Calendar.PDF");
    harness.folder_given =
        harness.ProgramFolder().substr(0, harness.ProgramFolder().size() - 1) + "-link";
    fs::create_directory_symlink(harness.ProgramFolder(), harness.folder_given);
    const std::string deep = harness.ProgramFolder() + std::string(120, 'r');
    fs::create_directories(deep);
    ScopedEnv runtime("XDG_RUNTIME_DIR", deep);
    harness.Start();
    EXPECT_EQ(harness.Calendars(), (std::vector<std::string>{"001Calendar.PDF", "notes.pdf"}));
    EXPECT_EQ(harness.App().Instance(), nullptr);
    Click(MainFormName, GenerateButtonId);
    Pump();
    ASSERT_EQ(harness.message_titles, std::vector<std::string>{"PDF Error"});
    EXPECT_THAT(harness.message_texts[0],
                AllOf(HasSubstr(harness.OutputFolder() + "001Calendar.PDF"),
                      HasSubstr(std::make_error_code(std::errc::is_a_directory).message())));
    EXPECT_TRUE(harness.opened.empty());
    EXPECT_FALSE(gui::FormExists(MainFormName));
}

TEST(ReaderProbe, TheDefaultEntrysProgramIsTheReaderWhenItCanRunAndHostileNamesAreRefused) {
    TempFolder root;
    const std::string reader = root / "bin/fakereader";
    WriteFile(reader, "#!/bin/sh\nexit 0\n");
    fs::permissions(reader, fs::perms::owner_all);
    QProcessEnvironment environment;
    environment.insert("PATH", QString::fromStdString(root / "bin") + ":/usr/bin:/bin");
    environment.insert("HOME", QString::fromStdString(root.Path().string()));
    for (const char* name :
         {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_DATA_DIRS", "XDG_CONFIG_DIRS"}) {
        environment.insert(name, QString::fromStdString(root / "data"));
    }
    const auto find = [&] { return PdfReaderProbe(environment).FindReader().toStdString(); };
    // The entry written, the name the default list gives, whether its program
    // is found. Hostile names point at entries that do exist.
    const std::string good = "Exec=fakereader %f\n";
    for (const auto& [path, id, body, found] :
         std::vector<std::tuple<std::string, std::string, std::string, bool>>{
             {"", "missing.desktop", "", false},
             {"fakereader.desktop", "fakereader.desktop", good, true},
             {"vendor/other.desktop", "vendor-other.desktop", "Exec=\"" + reader + "\" --open %U\n",
              true},
             {"broken.desktop", "broken.desktop", "Exec=no-such-reader-here %f\n", false},
             {"broken.desktop", "broken.desktop", good + "Hidden=true\n", false},
             {"broken.desktop", "broken.desktop", good + "TryExec=no-such-reader-here\n", false},
             {"../../bin/sh.desktop", "../../bin/sh.desktop", good, false},
             {"sub/dir.desktop", "sub/dir.desktop", good, false},
             {".hidden.desktop", ".hidden.desktop", good, false},
             {"notadesktopfile", "notadesktopfile", good, false}}) {
        SCOPED_TRACE(id + ": " + body);
        if (!path.empty()) {
            WriteFile(root / ("data/applications/" + path),
                      "[Desktop Entry]\nType=Application\nName=Fake Reader\n" + body +
                          "MimeType=application/pdf;\n");
        }
        WriteFile(root / "data/applications/mimeapps.list",
                  "[Default Applications]\napplication/pdf=" + id + "\n");
        EXPECT_EQ(find(), found ? reader : "");
    }
}

// For a run the folder, marked "+" when "/update" came first; for a refusal
// the word it names as typed.
TEST(CommandLine, UpdateCountsOnlyFirstTheLastHomeCountsHelpOrVersionWinElseRefused) {
    using Action = DesktopCommandLine::Action;
    for (const auto& [args, action, text] :
         std::vector<std::tuple<std::vector<std::string>, Action, std::string>>{
             {{"/update", "--home", "/data/k"}, Action::Run, "+/data/k"},
             {{"--home", "/a", "--home=/b"}, Action::Run, "/b"},
             {{"/update", "-h"}, Action::Help, ""},
             {{"--home", "/x", "/update"}, Action::Error, "/update"},
             {{"/UPDATE"}, Action::Error, "/UPDATE"},
             {{"--home"}, Action::Error, "--home"},
             {{"--home="}, Action::Error, "--home"},
             {{"--frobnicate=1"}, Action::Error, "--frobnicate=1"},
             {{"-q"}, Action::Error, "-q"}}) {
        SCOPED_TRACE(args.back());
        const DesktopCommandLine parsed = ParseDesktopCommandLine(args);
        EXPECT_EQ(parsed.action, action);
        if (action == Action::Run) {
            EXPECT_EQ((parsed.after_update ? "+" : "") + parsed.home, text);
        } else {
            EXPECT_THAT(parsed.error, HasSubstr(text));
        }
    }
}

TEST(Executable, VersionHelpBadArgumentsAndNoDisplay) {
    TempFolder root;
    QProcessEnvironment environment;
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
    EXPECT_THAT(run({"--help"}), FieldsAre(0, HasSubstr("--home DIR"), ""));
    EXPECT_THAT(run({"--frobnicate"}), FieldsAre(2, "", HasSubstr("--frobnicate")));
    // Without a display the program points at kalvara-cli and writes
    // nothing; naming the X11 platform without an X display is no display.
    for (const char* platform : {"", "xcb"}) {
        environment.insert("QT_QPA_PLATFORM", platform);
        EXPECT_THAT(run({"--home", QString::fromStdString(root / "program")}),
                    FieldsAre(1, "", HasSubstr("kalvara-cli")))
            << platform;
    }
    EXPECT_FALSE(fs::exists(root / "program"));
}

} // namespace
} // namespace kalvara::test
