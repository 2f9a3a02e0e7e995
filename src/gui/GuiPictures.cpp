#include "gui/Gui.h"
#include "gui/GuiInternal.h"

#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QLabel>

namespace kalvara::gui {

using namespace detail;

void SetPictureFolder(const std::string& folder) {
    QString path = ToQt(folder);
    if (QDir::isRelativePath(path)) {
        path = QDir(ToQt(ProgramFolder())).filePath(path);
    }
    Context().SetPictureFolder(FromQt(path));
}

void DefinePictureResource(const std::string& name, const std::string& filePath) {
    Context().DefinePictureResource(name, filePath);
}

int LoadPicture(const std::string& name) {
    if (!HasApplication() || name.empty()) {
        return 0;
    }
    GuiContext& c = Context();
    std::string path;
    if (name[0] == '$') {
        const auto resource = c.PictureResource(name.substr(1));
        if (!resource) {
            return 0;
        }
        path = *resource;
    } else if (QDir::isAbsolutePath(ToQt(name))) {
        path = name;
    } else {
        const QString folder =
            c.PictureFolder().empty() ? ToQt(ProgramFolder()) : ToQt(c.PictureFolder());
        path = FromQt(QDir(folder).filePath(ToQt(name)));
    }
    const QString canonical = QFileInfo(ToQt(path)).absoluteFilePath();
    if (const int known = c.PictureAt(FromQt(canonical)); known != 0) {
        return known;
    }
    QPixmap pixmap;
    // Only a regular file: reading a FIFO put in a picture's place would
    // never return.
    if (!QFileInfo(canonical).isFile() || !pixmap.load(canonical)) {
        return 0;
    }
    return c.KeepPicture(FromQt(canonical), pixmap);
}

PictureSize GetPictureSize(int picture) {
    const QPixmap* found = Context().Picture(picture);
    if (found == nullptr) {
        return {};
    }
    return {found->width(), found->height()};
}

void SetImage(const std::string& form, int id, int picture) {
    if (auto* label = ControlAs<QLabel>(form, id)) {
        ShowPicture(label, picture);
    }
}

void SetFormIcon(const std::string& form, int picture) {
    Form* target = FormOf(form);
    const QPixmap* found = Context().Picture(picture);
    if (target != nullptr && found != nullptr) {
        target->setWindowIcon(QIcon(*found));
    }
}

} // namespace kalvara::gui
