#include "gui/Gui.h"
#include "gui/GuiInternal.h"

#include <QDir>
#include <QEventLoop>
#include <memory>

namespace kalvara::gui {

using namespace detail;

int Run(int& argc, char** argv, EntryPoints entryPoints) {
    std::unique_ptr<QApplication> application;
    if (QCoreApplication::instance() == nullptr) {
        application = std::make_unique<QApplication>(argc, argv);
    }
    GuiContext& c = Context();
    InstallEntryPoints(std::move(entryPoints));
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.emplace_back(argv[i] != nullptr ? argv[i] : "");
    }
    c.SetArguments(std::move(arguments));
    QApplication::setQuitOnLastWindowClosed(false);
    c.RunInitialise();
    c.RunMainLoop();
    c.Dispatch(AppFormName, 0, EventClose);
    c.UnloadAll();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    if (application != nullptr) {
        // Pictures and fonts cannot outlive the application they were made in.
        c.ResetAll();
    }
    return 0;
}

void InstallEntryPoints(EntryPoints entryPoints) {
    Context().SetEntryPoints(std::move(entryPoints));
}

void ResetForTesting() {
    Context().ResetForTesting();
}

std::any& FormRecordSlot(const std::string& form) {
    return Context().FormRecord(form);
}

std::any* FindFormRecordSlot(const std::string& form) {
    return Context().FindFormRecord(form);
}

void DropFormRecord(const std::string& form) {
    Context().DropFormRecord(form);
}

std::vector<std::string> CommandLineArguments() {
    return Context().Arguments();
}

std::string ProgramFolder() {
    if (QCoreApplication::instance() == nullptr) {
        return {};
    }
    return FromQt(QDir::toNativeSeparators(QCoreApplication::applicationDirPath()));
}

void AllowEvents(EventClass eventClass, bool on) {
    if (eventClass == EventClass::Key) {
        Context().SetKeyEventsEverywhere(on);
    }
}

void AllowFormKeyEvents(const std::string& form) {
    if (Form* target = FormOf(form)) {
        target->keyEvents = true;
    }
}

} // namespace kalvara::gui
