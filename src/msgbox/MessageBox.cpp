#include "msgbox/MessageBox.h"

// Placeholder bodies while the box is being built.

namespace kalvara::msgbox {

int ShowMessageBox(const std::string&, const std::string&, const std::string&, const std::string&,
                   const std::string&, const std::string&, const std::string&, int,
                   const std::string&) {
    return ResultEscape;
}
void ShowNotice(const std::string&, const std::string&, const std::string&) {}
void InstallNoticeHook() {}
void DesignMessageBoxForm(const std::string&) {}
void MessageBoxEvent(const std::string&, int, int, int&, int&) {}

} // namespace kalvara::msgbox
