#pragma once
// Which program the desktop opens PDF files with: the default application
// that xdg-mime names for application/pdf, and the program its .desktop entry
// starts. Every lookup follows the environment given, so tests can point the
// XDG folders at a temporary tree.

#include <QProcessEnvironment>
#include <QString>

namespace kalvara {

class PdfReaderProbe {
public:
    explicit PdfReaderProbe(
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment());

    // The reader's executable as an absolute path; empty when the desktop
    // names no reader, its entry is missing or hidden, or the program it
    // starts is not installed.
    QString FindReader() const;

    // The desktop file id xdg-mime gives as the default ("org.gnome.Evince.desktop");
    // empty when none is set or xdg-mime is missing.
    QString DefaultDesktopEntry() const;

    // The path of a desktop file id in the application folders of the XDG
    // data folders, "-" in the id also standing for a subfolder; empty when
    // absent.
    QString LocateDesktopEntry(const QString& desktop_id) const;

    // The program of a .desktop file's Exec line, resolved on PATH; empty
    // when the entry is hidden, not an application, or the program is
    // missing.
    QString ProgramOfEntry(const QString& desktop_file) const;

private:
    QProcessEnvironment environment_;
};

} // namespace kalvara
