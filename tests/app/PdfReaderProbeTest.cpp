// Finding the PDF reader through the desktop's default application, with a
// made-up desktop in a temporary XDG tree.

#include "app/PdfReaderProbe.h"

#include "AppHarness.h"

#include <QProcessEnvironment>
#include <filesystem>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace kalvara::test {
namespace {

class ReaderProbe : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(root_ / "config");
        reader_ = root_ / "bin/fakereader";
        WriteFile(reader_, "#!/bin/sh\nexit 0\n");
        fs::permissions(reader_, fs::perms::owner_all);
        environment_.insert("PATH", QString::fromStdString(root_ / "bin") + ":/usr/bin:/bin");
        environment_.insert("HOME", QString::fromStdString(root_.Path().string()));
        environment_.insert("XDG_DATA_HOME", QString::fromStdString(root_ / "data"));
        environment_.insert("XDG_CONFIG_HOME", QString::fromStdString(root_ / "config"));
        environment_.insert("XDG_DATA_DIRS", QString::fromStdString(root_ / "nothing"));
        environment_.insert("XDG_CONFIG_DIRS", QString::fromStdString(root_ / "nothing"));
    }

    void MakeDefault(const std::string& desktop_id) {
        WriteFile(root_ / "data/applications/mimeapps.list",
                  "[Default Applications]\napplication/pdf=" + desktop_id + "\n");
    }

    void MakeEntry(const std::string& relative_path, const std::string& body) {
        WriteFile(root_ / ("data/applications/" + relative_path),
                  "[Desktop Entry]\nType=Application\nName=Fake Reader\n" + body +
                      "MimeType=application/pdf;\n");
    }

    QString Find() const { return PdfReaderProbe(environment_).FindReader(); }

    TempFolder root_;
    std::string reader_;
    QProcessEnvironment environment_;
};

TEST_F(ReaderProbe, FindsTheProgramOfTheDefaultEntry) {
    MakeEntry("fakereader.desktop", "Exec=fakereader %f\n");
    MakeDefault("fakereader.desktop");
    EXPECT_EQ(Find().toStdString(), reader_);
    // Quoted absolute programs, and entries in a vendor subfolder.
    MakeEntry("vendor/other.desktop", "Exec=\"" + reader_ + "\" --open %U\n");
    MakeDefault("vendor-other.desktop");
    EXPECT_EQ(Find().toStdString(), reader_);
}

TEST_F(ReaderProbe, NoReaderWhenNothingUsableIsRegistered) {
    EXPECT_TRUE(Find().isEmpty());
    MakeDefault("missing.desktop");
    EXPECT_TRUE(Find().isEmpty());
    for (const char* body : {"Exec=no-such-reader-here %f\n", "Exec=fakereader %f\nHidden=true\n",
                             "Exec=fakereader %f\nTryExec=no-such-reader-here\n"}) {
        MakeEntry("broken.desktop", body);
        MakeDefault("broken.desktop");
        EXPECT_TRUE(Find().isEmpty()) << body;
    }
    // Without xdg-mime on the PATH nobody names a reader.
    MakeEntry("fakereader.desktop", "Exec=fakereader %f\n");
    MakeDefault("fakereader.desktop");
    environment_.insert("PATH", QString::fromStdString(root_ / "bin"));
    EXPECT_TRUE(Find().isEmpty());
}

TEST_F(ReaderProbe, HostileDefaultsAreRefused) {
    for (const char* id :
         {"../../bin/sh.desktop", "sub/dir.desktop", ".hidden.desktop", "notadesktopfile"}) {
        MakeDefault(id);
        EXPECT_TRUE(PdfReaderProbe(environment_).DefaultDesktopEntry().isEmpty()) << id;
    }
}

} // namespace
} // namespace kalvara::test
