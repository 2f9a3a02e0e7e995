#include "app/PdfReaderProbe.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStringList>

namespace kalvara {

namespace {

constexpr int XdgMimeWaitMs = 10000;
// A .desktop file is a few kilobytes; anything far larger is not one.
constexpr qint64 MaxDesktopFileSize = 1 << 20;

// The first word of an Exec line, with the quoting rules of the desktop entry
// format: double quotes group, a backslash escapes inside them.
QString FirstExecWord(const QString& exec) {
    QString word;
    int i = 0;
    while (i < exec.size() && exec[i].isSpace()) {
        ++i;
    }
    if (i < exec.size() && exec[i] == '"') {
        for (++i; i < exec.size() && exec[i] != '"'; ++i) {
            if (exec[i] == '\\' && i + 1 < exec.size()) {
                ++i;
            }
            word += exec[i];
        }
        return word;
    }
    for (; i < exec.size() && !exec[i].isSpace(); ++i) {
        word += exec[i];
    }
    return word;
}

} // namespace

PdfReaderProbe::PdfReaderProbe(QProcessEnvironment environment)
    : environment_(std::move(environment)) {}

QString PdfReaderProbe::FindReader() const {
    const QString desktop_id = DefaultDesktopEntry();
    if (desktop_id.isEmpty()) {
        return {};
    }
    const QString entry = LocateDesktopEntry(desktop_id);
    if (entry.isEmpty()) {
        return {};
    }
    return ProgramOfEntry(entry);
}

QString PdfReaderProbe::DefaultDesktopEntry() const {
    QProcess process;
    process.setProcessEnvironment(environment_);
    process.setProgram(QStandardPaths::findExecutable(
        "xdg-mime", environment_.value("PATH", "/usr/bin:/bin").split(':', Qt::SkipEmptyParts)));
    if (process.program().isEmpty()) {
        return {};
    }
    process.setArguments({"query", "default", "application/pdf"});
    process.setStandardInputFile(QProcess::nullDevice());
    process.start();
    if (!process.waitForFinished(XdgMimeWaitMs)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        return {};
    }
    // xdg-mime may list several entries separated by ";", best first.
    const QString output = QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
    const QString first = output.split(';', Qt::SkipEmptyParts).value(0).trimmed();
    if (!first.endsWith(".desktop") || first.startsWith('.') ||
        first.contains(QRegularExpression("[/*?\\[\\]\\\\]"))) {
        return {};
    }
    return first;
}

QString PdfReaderProbe::LocateDesktopEntry(const QString& desktop_id) const {
    QString data_home = environment_.value("XDG_DATA_HOME");
    if (data_home.isEmpty() || !QDir::isAbsolutePath(data_home)) {
        data_home = environment_.value("HOME") + "/.local/share";
    }
    QString data_dirs = environment_.value("XDG_DATA_DIRS");
    if (data_dirs.isEmpty()) {
        data_dirs = "/usr/local/share:/usr/share";
    }
    QStringList folders{data_home};
    folders += data_dirs.split(':', Qt::SkipEmptyParts);

    // "kde-okular.desktop" may also live as kde/okular.desktop.
    QStringList candidates{desktop_id};
    for (qsizetype dash = desktop_id.indexOf('-'); dash > 0;
         dash = desktop_id.indexOf('-', dash + 1)) {
        QString nested = desktop_id;
        nested[dash] = '/';
        candidates += nested;
    }
    for (const QString& folder : folders) {
        if (!QDir::isAbsolutePath(folder)) {
            continue;
        }
        for (const QString& candidate : candidates) {
            const QString path = folder + "/applications/" + candidate;
            if (QFileInfo(path).isFile()) {
                return path;
            }
        }
    }
    // xdg-mime names an entry in a subfolder by its file name alone when the
    // default it was given does not exist, so look for that name too.
    for (const QString& folder : folders) {
        if (!QDir::isAbsolutePath(folder)) {
            continue;
        }
        QDirIterator entries(folder + "/applications", {desktop_id}, QDir::Files,
                             QDirIterator::Subdirectories);
        if (entries.hasNext()) {
            return entries.next();
        }
    }
    return {};
}

QString PdfReaderProbe::ProgramOfEntry(const QString& desktop_file) const {
    QFile file(desktop_file);
    if (file.size() > MaxDesktopFileSize || !file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return {};
    }
    bool in_entry = false;
    QString type;
    QString exec;
    QString try_exec;
    bool hidden = false;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith('[')) {
            in_entry = line == "[Desktop Entry]";
            continue;
        }
        if (!in_entry) {
            continue;
        }
        const qsizetype equals = line.indexOf('=');
        if (equals <= 0) {
            continue;
        }
        const QString key = line.left(equals).trimmed();
        const QString value = line.mid(equals + 1).trimmed();
        if (key == "Type") {
            type = value;
        } else if (key == "Exec") {
            exec = value;
        } else if (key == "TryExec") {
            try_exec = value;
        } else if (key == "Hidden") {
            hidden = value == "true";
        }
    }
    if (hidden || (!type.isEmpty() && type != "Application")) {
        return {};
    }
    const QStringList path =
        environment_.value("PATH", "/usr/bin:/bin").split(':', Qt::SkipEmptyParts);
    auto resolve = [&path](const QString& program) -> QString {
        if (program.isEmpty()) {
            return {};
        }
        if (QDir::isAbsolutePath(program)) {
            const QFileInfo info(program);
            return info.isFile() && info.isExecutable() ? program : QString();
        }
        return QStandardPaths::findExecutable(program, path);
    };
    if (!try_exec.isEmpty() && resolve(try_exec).isEmpty()) {
        return {};
    }
    return resolve(FirstExecWord(exec));
}

} // namespace kalvara
