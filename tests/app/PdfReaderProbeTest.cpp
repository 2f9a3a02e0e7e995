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

    // Makes the entry at `path` the default, named by its path unless `id` says.
    void MakeDefaultEntry(const std::string& path, const std::string& body,
                          const std::string& id = "") {
        WriteFile(root_ / ("data/applications/" + path),
                  "[Desktop Entry]\nType=Application\nName=Fake Reader\n" + body +
                      "MimeType=application/pdf;\n");
        MakeDefault(id.empty() ? path : id);
    }

    std::string Find() const { return PdfReaderProbe(environment_).FindReader().toStdString(); }

    TempFolder root_;
    std::string reader_;
    QProcessEnvironment environment_;
};

TEST_F(ReaderProbe, TheDefaultEntrysProgramIsTheReaderWhenItCanRun) {
    EXPECT_EQ(Find(), "");
    MakeDefault("missing.desktop");
    EXPECT_EQ(Find(), "");
    // Quoted absolute programs count, and entries in a vendor subfolder.
    for (const auto& [path, body, id, found] :
         std::vector<std::tuple<std::string, std::string, std::string, bool>>{
             {"fakereader.desktop", "Exec=fakereader %f\n", "", true},
             {"vendor/other.desktop", "Exec=\"" + reader_ + "\" --open %U\n",
              "vendor-other.desktop", true},
             {"broken.desktop", "Exec=no-such-reader-here %f\n", "", false},
             {"broken.desktop", "Exec=fakereader %f\nHidden=true\n", "", false},
             {"broken.desktop", "Exec=fakereader %f\nTryExec=no-such-reader-here\n", "", false}}) {
        SCOPED_TRACE(body);
        MakeDefaultEntry(path, body, id);
        EXPECT_EQ(Find(), found ? reader_ : "");
    }
    // Without xdg-mime on the PATH nobody names a reader.
    MakeDefaultEntry("fakereader.desktop", "Exec=fakereader %f\n");
    environment_.insert("PATH", QString::fromStdString(root_ / "bin"));
    EXPECT_EQ(Find(), "");
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
