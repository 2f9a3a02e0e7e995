#pragma once
// The window behind one named form: a QMainWindow whose central widget is the
// client area where controls sit at absolute positions. It reports its own
// window events (close, activation) and those of its controls (focus, keys,
// tooltips) to the layer's dispatcher.

#include <QEventLoop>
#include <QMainWindow>
#include <QPointer>
#include <map>
#include <string>
#include <vector>

class QButtonGroup;
class QKeyEvent;

namespace kalvara::gui {

enum class ControlKind {
    Label,
    TextField,
    Button,
    OwnerDrawnButton,
    CheckBox,
    Radio,
    Frame,
    Picture,
    ProgressBar,
    RichText,
    StatusBar
};

class Form : public QMainWindow {
    Q_OBJECT

public:
    struct Control {
        QPointer<QWidget> widget;
        ControlKind kind = ControlKind::Label;
        int layer = 0;
    };

    Form(std::string name, QWidget* parent, bool modal);

    const std::string& Name() const { return name_; }
    bool IsModal() const { return modal_; }
    QWidget* Client() const { return client_; }

    // Client size in pixels; the window grows by its menu bar and status bar.
    void SetClientSize(QSize size);
    void ApplyClientSize();

    // Registers a control so that its focus, key and tooltip events reach the
    // dispatcher. Replaces an earlier control of the same id.
    void AddControl(int id, QWidget* widget, ControlKind kind, int layer);
    const Control* FindControl(int id) const;
    // The id of the control that owns `widget` (or one of its children), 0 if none.
    int IdOf(const QWidget* widget) const;
    const std::map<int, Control>& Controls() const { return controls_; }

    void ShowLayer(int layer);

    // Widens labels, check boxes and radio buttons whose text does not fit,
    // as far as the free room to their right allows. The desktop's font may
    // be wider than the one the windows were laid out for; where there is
    // room, cutting words off helps nobody.
    void FitTextsIntoFreeRoom();
    // Names fields after their captions and sets the Tab order to reading
    // order; run when the form shows, once all its controls are placed.
    void ArrangeForKeyboardAndReaders();
    int DisplayedLayer() const { return displayedLayer_; }

    // Enter presses the focused push button or the first enabled default;
    // Escape presses the cancel button.
    void SetKeys(std::vector<int> defaultIds, int cancelId);

    // Radio buttons created after a "G" join the group opened by it.
    QButtonGroup* RadioGroup(bool startNew);

    std::map<int, int> userData;
    std::map<int, int> savedMenus;
    int menuBarHandle = 0;
    bool keyEvents = false;
    int tooltipControl = 0;

    // The nested loop of a modal form while its creating call waits.
    QPointer<QEventLoop> modalLoop;
    // Set once the form is being unloaded; no more events are reported.
    bool unloading = false;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // True for a key press on its way up from a child it was reported for.
    bool IsBubbling(const QObject* watched, const QEvent* event) const;
    bool HandleKey(QObject* watched, QEvent* event);
    // The control's tooltip, asked of the program, as its accessible
    // description; the program's own description is left alone.
    void DescribeByTooltip(QWidget* widget, int id);
    bool HandleTooltip(QObject* watched, QEvent* event);
    bool HandleDialogKey(const QKeyEvent& key);
    bool Press(int id);

    std::string name_;
    bool modal_ = false;
    QWidget* client_ = nullptr;
    QSize clientSize_;
    std::map<int, Control> controls_;
    int displayedLayer_ = 1;
    QButtonGroup* radioGroup_ = nullptr;
    std::vector<int> defaultIds_;
    int cancelId_ = 0;
    // The key press last reported and the object it was reported for. A press
    // that a control ignores bubbles up through its parents to the form and
    // must not be reported again. The address alone does not say that: Qt
    // builds each press on the stack, so Shift and then A, held together,
    // arrive at one address.
    const QEvent* reportedKeyEvent_ = nullptr;
    QPointer<QObject> reportedKeyTarget_;
};

} // namespace kalvara::gui
