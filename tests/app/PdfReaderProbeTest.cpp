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
        fs::create_directories(root_ / "data/applications");
        fs::create_directories(root_ / "config");
        fs::create_directories(root_ / "bin");
        reader_ = root_ / "bin/fakereader";
        WriteFile(reader_, "#!/bin/sh\nexit 0\n");
        fs::permissions(reader_, fs::perms::owner_all);
        environment_.insert("PATH", QString::fromStdString(root_ / "bin") + ":/usr/bin:/bin");
        environment_.insert("HOME", QString::fromStdString(root_.Path()));
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

TEST_F(ReaderProbe, FindsTheDefaultReadersProgram) {
    MakeEntry("fakereader.desktop", "Exec=fakereader %f\n");
    MakeDefault("fakereader.desktop");
    EXPECT_EQ(PdfReaderProbe(environment_).DefaultDesktopEntry(), "fakereader.desktop");
    EXPECT_EQ(Find().toStdString(), reader_);
}

TEST_F(ReaderProbe, QuotedAbsoluteProgramAndNestedEntry) {
    MakeEntry("vendor/fakereader.desktop", "Exec=\"" + reader_ + "\" --open %U\n");
    MakeDefault("vendor-fakereader.desktop");
    EXPECT_EQ(Find().toStdString(), reader_);
}

TEST_F(ReaderProbe, NoReaderWhenNothingIsRegistered) {
    EXPECT_TRUE(Find().isEmpty());
}

TEST_F(ReaderProbe, NoReaderWhenTheEntryIsMissingHiddenOrItsProgramIsGone) {
    MakeDefault("missing.desktop");
    EXPECT_TRUE(Find().isEmpty());

    MakeEntry("gone.desktop", "Exec=no-such-reader-here %f\n");
    MakeDefault("gone.desktop");
    EXPECT_TRUE(Find().isEmpty());

    MakeEntry("hidden.desktop", "Exec=fakereader %f\nHidden=true\n");
    MakeDefault("hidden.desktop");
    EXPECT_TRUE(Find().isEmpty());

    MakeEntry("tryexec.desktop", "Exec=fakereader %f\nTryExec=no-such-reader-here\n");
    MakeDefault("tryexec.desktop");
    EXPECT_TRUE(Find().isEmpty());
}

TEST_F(ReaderProbe, HostileDefaultsAreRefused) {
    for (const char* id :
         {"../../bin/sh.desktop", "sub/dir.desktop", ".hidden.desktop", "notadesktopfile"}) {
        MakeDefault(id);
        EXPECT_TRUE(PdfReaderProbe(environment_).DefaultDesktopEntry().isEmpty()) << id;
    }
}

TEST_F(ReaderProbe, WithoutXdgMimeThereIsNoReader) {
    MakeEntry("fakereader.desktop", "Exec=fakereader %f\n");
    MakeDefault("fakereader.desktop");
    environment_.insert("PATH", QString::fromStdString(root_ / "bin"));
    EXPECT_TRUE(Find().isEmpty());
}

} // namespace
} // namespace kalvara::test
