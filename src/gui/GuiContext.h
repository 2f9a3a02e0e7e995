#pragma once
// The state of the window layer: the entry points, the loaded forms, the
// numbered fonts, colours, pictures and menus, and the settings that apply to
// the next form or control. There is one instance for the program, as there
// is one message loop; the layer's calls reach its state only through the
// operations below.

#include "gui/Form.h"
#include "gui/Gui.h"

#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QPointer>
#include <any>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class QPainter;
class QEventLoop;

namespace kalvara::gui {

class GuiContext {
public:
    static GuiContext& Instance();

    // --- Entry points and the loop
    void SetEntryPoints(EntryPoints entryPoints) { entry_ = std::move(entryPoints); }
    void SetArguments(std::vector<std::string> arguments) { arguments_ = std::move(arguments); }
    const std::vector<std::string>& Arguments() const { return arguments_; }
    // Runs the program's InitialiseGui; a failure is reported, not thrown.
    void RunInitialise();
    // Runs the message loop until the last form has been unloaded.
    void RunMainLoop();

    // Reports one event to the program's DispatchEvent; returns the cancel flag.
    int Dispatch(const std::string& form, int id, int code, int value = 0,
                 const std::string& text = {});
    // The text that goes with the event being handled.
    const std::string& EventText() const { return eventText_; }
    // The form whose event is being handled; none outside any event.
    std::optional<std::string> EventForm() const;

    // --- Forms
    void AddForm(const std::string& name, Form* form);
    Form* FindForm(const std::string& name) const;
    bool HasForms() const { return !forms_.empty(); }
    // The form created last of those still loaded; empty when none is.
    std::string NewestForm() const;
    QWidget* FindControl(const std::string& form, int id) const;
    // Runs the program's DesignForm for the form, with fresh design settings
    // that do not leak into the form being designed around it.
    void Design(Form* form);
    Form* Designing() const;
    // Closes the form; reports EventClose first when asked to.
    void Unload(const std::string& name, bool reportClose);
    void UnloadAll();

    // --- Numbered fonts and colours
    void DefineFont(int number, const QFont& font) { fonts_[number] = font; }
    QFont FontOf(int number) const;
    void DefineColor(int number, const QColor& color) { colors_[number] = color; }
    std::optional<QColor> ColorOf(int number) const;
    double ColumnPixels();
    double RowPixels();

    // --- Settings for the next form or controls
    void SetColors(int foreground, int background);
    std::optional<QColor> NextForeground() const { return ColorOf(foreground_); }
    std::optional<QColor> NextBackground() const { return ColorOf(background_); }
    void SetNextFont(const QFont& font) { currentFont_ = font; }
    void SetAutoSize(std::string properties) { autoSize_ = std::move(properties); }
    void SetLayer(int layer) { layer_ = std::max(0, layer); }
    void SetLoadingEvents(bool on) { loadingEvents_ = on; }
    void SetLoadString(std::string text) { loadString_ = std::move(text); }
    void SetPendingMainMenu(int id, std::string caption) {
        pendingMainMenu_ = std::make_pair(id, std::move(caption));
    }
    std::optional<std::pair<int, std::string>> TakePendingMainMenu() {
        return std::exchange(pendingMainMenu_, std::nullopt);
    }

    // Puts a freshly made widget on the form being designed at the given
    // place, with the current font, colours, layer and autosize, and reports
    // its loading event when those are on. Deletes the widget when no form
    // is being designed; returns whether it was placed.
    bool Place(int id, double column, double row, double width, double height, QWidget* widget,
               ControlKind kind, const std::string& properties);

    // --- Pictures
    void SetPictureFolder(std::string folder) { pictureFolder_ = std::move(folder); }
    const std::string& PictureFolder() const { return pictureFolder_; }
    void DefinePictureResource(const std::string& name, const std::string& path) {
        pictureResources_[name] = path;
    }
    std::optional<std::string> PictureResource(const std::string& name) const;
    const QPixmap* Picture(int handle) const;
    // The handle of a picture already read from this path, 0 if none.
    int PictureAt(const std::string& canonicalPath) const;
    int KeepPicture(const std::string& canonicalPath, const QPixmap& pixmap);

    // --- Menus
    int RegisterMenu(QWidget* menu);
    QWidget* MenuOf(int handle) const;

    // --- Keys and tooltips
    void SetKeyEventsEverywhere(bool on) { keyEventsEverywhere_ = on; }
    bool KeyEventsEverywhere() const { return keyEventsEverywhere_; }
    void SetTooltipWrapColumns(int columns) { tooltipWrapColumns_ = columns; }
    int TooltipWrapColumns() const { return tooltipWrapColumns_; }
    // Asks the program for a control's tooltip through EventTooltip.
    std::string AskTooltip(const std::string& form, int id);
    // The program's answer; ignored outside AskTooltip.
    void AnswerTooltip(const std::string& text);

    // --- Owner-drawn buttons
    // Asks the program to paint `button` through EventOwnerDraw; returns
    // whether it did. False at once while another button is being painted.
    bool AskOwnerDraw(const std::string& form, int id, QPainter& painter, QWidget* button);
    QPainter* DrawPainter() const { return drawPainter_; }
    QWidget* DrawButton() const { return drawButton_; }
    void MarkDrawn() { drawDone_ = true; }

    // --- Records the program keeps with its forms
    std::any& FormRecord(const std::string& form) { return records_[form]; }
    std::any* FindFormRecord(const std::string& form);
    void DropFormRecord(const std::string& form) { records_.erase(form); }

    // Everything back to the state before the first form, entry points and
    // arguments included.
    void ResetForTesting();
    // Fonts, colours, pictures and menus forgotten; they cannot outlive the
    // application object they were made for.
    void ResetAll();

private:
    GuiContext();
    void ResetDesignSettings();

    EntryPoints entry_;
    std::vector<std::string> arguments_;
    std::map<std::string, QPointer<Form>> forms_;
    std::vector<std::string> creationOrder_;
    std::vector<std::string> eventStack_;
    std::vector<QPointer<Form>> designStack_;
    QPointer<QEventLoop> mainLoop_;

    // Settings for the next form or controls.
    int foreground_ = -1;
    int background_ = -1;
    std::optional<QFont> currentFont_;
    std::string autoSize_;
    int layer_ = 0;
    bool loadingEvents_ = false;
    std::optional<std::pair<int, std::string>> pendingMainMenu_;
    // The text for the control whose loading event is being reported.
    std::optional<std::string> loadString_;

    std::map<int, QFont> fonts_;
    std::map<int, QColor> colors_;

    std::string pictureFolder_;
    std::map<std::string, std::string> pictureResources_;
    std::map<int, QPixmap> pictures_;
    std::map<std::string, int> pictureByPath_;
    int nextPicture_ = 1;

    std::map<int, QPointer<QWidget>> menus_;
    int nextMenu_ = 1;

    bool keyEventsEverywhere_ = false;
    int tooltipWrapColumns_ = 0;
    std::optional<std::string> tooltipText_;
    std::string eventText_;

    // The owner-drawn button being painted, during its EventOwnerDraw.
    QPainter* drawPainter_ = nullptr;
    QWidget* drawButton_ = nullptr;
    bool drawDone_ = false;

    std::map<std::string, std::any> records_;

    double columnPixels_ = 0;
    double rowPixels_ = 0;
};

} // namespace kalvara::gui
