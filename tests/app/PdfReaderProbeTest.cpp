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

TEST(ReaderProbe, TheDefaultEntrysProgramIsTheReaderWhenItCanRunAndHostileNamesAreRefused) {
    TempFolder root;
    fs::create_directories(root / "config");
    const std::string reader = root / "bin/fakereader";
    WriteFile(reader, "#!/bin/sh\nexit 0\n");
    fs::permissions(reader, fs::perms::owner_all);
    QProcessEnvironment environment;
    environment.insert("PATH", QString::fromStdString(root / "bin") + ":/usr/bin:/bin");
    environment.insert("HOME", QString::fromStdString(root.Path().string()));
    for (const char* name :
         {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_DATA_DIRS", "XDG_CONFIG_DIRS"}) {
        environment.insert(name,
                           QString::fromStdString(root / (name[4] == 'D' ? "data" : "config")));
    }
    const auto find = [&] { return PdfReaderProbe(environment).FindReader().toStdString(); };
    EXPECT_EQ(find(), "");
    // The entry written under data/applications/, the name the default list
    // gives, whether its program is found. Hostile names point at entries
    // that do exist.
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
    // Without xdg-mime on the PATH nobody names a reader.
    WriteFile(root / "data/applications/mimeapps.list",
              "[Default Applications]\napplication/pdf=fakereader.desktop\n");
    ASSERT_EQ(find(), reader);
    environment.insert("PATH", QString::fromStdString(root / "bin"));
    EXPECT_EQ(find(), "");
}

} // namespace
} // namespace kalvara::test
