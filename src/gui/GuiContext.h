#pragma once
// The state of the window layer: the entry points, the loaded forms, the
// numbered fonts, colours, pictures and menus, and the settings that apply to
// the next form or control. There is one instance for the program, as there
// is one message loop.

#include "gui/Form.h"
#include "gui/Gui.h"

#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QPointer>
#include <map>
#include <optional>
#include <string>
#include <vector>

class QPainter;
class QEventLoop;

namespace kalvara::gui {

class GuiContext {
public:
    static GuiContext& Instance();

    // Reports one event to the program's DispatchEvent; returns the cancel flag.
    int Dispatch(const std::string& form, int id, int code, int value = 0,
                 const std::string& text = {});

    Form* FindForm(const std::string& name) const;
    Form* Designing() const;
    QWidget* FindControl(const std::string& form, int id) const;
    // Closes the form; reports EventClose first when asked to.
    void Unload(const std::string& name, bool reportClose);
    void UnloadAll();

    QFont FontOf(int number) const;
    std::optional<QColor> ColorOf(int number) const;

    double ColumnPixels();
    double RowPixels();

    // Puts a freshly made widget on the form being designed at the given
    // place, with the current font, colours, layer and autosize, and reports
    // its loading event when those are on. Deletes the widget when no form
    // is being designed; returns whether it was placed.
    bool Place(int id, double column, double row, double width, double height, QWidget* widget,
               ControlKind kind, const std::string& properties);

    void ResetDesignSettings();
    void ResetAll();

    EntryPoints entry;
    std::vector<std::string> arguments;
    std::map<std::string, QPointer<Form>> forms;
    std::vector<std::string> creationOrder;
    std::vector<std::string> eventStack;
    std::vector<QPointer<Form>> designStack;
    QPointer<QEventLoop> mainLoop;

    // Settings for the next form or controls.
    int foreground = -1;
    int background = -1;
    std::optional<QFont> currentFont;
    std::string autoSize;
    int layer = 0;
    bool loadingEvents = false;
    std::optional<std::pair<int, std::string>> pendingMainMenu;

    // The control whose loading event is being reported.
    std::optional<std::string> loadString;

    std::map<int, QFont> fonts;
    std::map<int, QColor> colors;

    std::string pictureFolder;
    std::map<std::string, std::string> pictureResources;
    std::map<int, QPixmap> pictures;
    std::map<std::string, int> pictureByPath;
    int nextPicture = 1;

    std::map<int, QPointer<QWidget>> menus;
    int nextMenu = 1;

    bool keyEventsEverywhere = false;
    int tooltipWrapColumns = 0;
    std::optional<std::string> tooltipText;
    std::string eventText;

    // The owner-drawn button being painted, during its EventOwnerDraw.
    QPainter* drawPainter = nullptr;
    QWidget* drawButton = nullptr;
    bool drawDone = false;

private:
    GuiContext();
    double columnPixels_ = 0;
    double rowPixels_ = 0;
};

} // namespace kalvara::gui
