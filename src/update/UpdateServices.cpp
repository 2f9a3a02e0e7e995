#include "update/UpdateServices.h"

#include "core/DateNotice.h"
#include "msgbox/MessageBox.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStringList>
#include <QUrl>

namespace kalvara::update {

UpdateServices DesktopUpdateServices(UpdateServices overrides) {
    if (!overrides.show_message_box) {
        overrides.show_message_box = &msgbox::ShowMessageBox;
    }
    if (!overrides.open_url) {
        overrides.open_url = [](const std::string& url) {
            QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
        };
    }
    if (!overrides.start_process) {
        overrides.start_process = [](const std::string& program,
                                     const std::vector<std::string>& arguments) {
            QStringList list;
            for (const auto& argument : arguments) {
                list << QString::fromStdString(argument);
            }
            return QProcess::startDetached(QString::fromStdString(program), list);
        };
    }
    if (!overrides.today) {
        overrides.today = [] {
            std::string order = "MDY";
            return Date2JulianDate(TodayText(), order);
        };
    }
    return overrides;
}

} // namespace kalvara::update
