#pragma once
// The program's help window: the help pages (HTML below "help/" in the data
// folders) in a browser, with the list of topics and the index beside it. One
// window serves the whole run; asking for help again brings it forward.

#include <QString>
#include <QWidget>

class QListWidget;
class QPushButton;
class QTabWidget;
class QTextBrowser;
class QUrl;

namespace kalvara {

class HelpViewer : public QWidget {
    Q_OBJECT

public:
    // The commands ShowHelp acts on; others do nothing.
    static constexpr int DisplayContents = 1;
    static constexpr int DisplayIndex = 2;
    static constexpr int DisplayTopic = 15;

    // The help pages are looked up below `program_folder` first, then in the
    // installed data folder (FindDataFile).
    explicit HelpViewer(QString program_folder, QWidget* parent = nullptr);

    // Command 1 the contents, 2 the index, 15 the page of topic `topic`. A
    // missing page shows a short explanation in the window instead.
    void ShowHelp(int command, int topic);

    // The page file of a help topic, "help/topic10.html" for 10, found with
    // FindDataFile; empty when it is not installed.
    QString TopicFile(int topic) const;

    // The page shown in the reading pane, for tests and the window title.
    QUrl CurrentPage() const;
    // 0 contents, 1 index: the tab in front.
    int CurrentTab() const;
    // Back and Forward through the pages read.
    QPushButton* BackButton() const { return back_; }
    QPushButton* ForwardButton() const { return forward_; }

private:
    QString HelpFile(const QString& name) const;
    void Open(const QUrl& page);
    void ShowMissing(const QString& what);
    void LoadSidePanes();
    void Present();
    void CentreOver(const QWidget* asking);

    QString program_folder_;
    QTabWidget* tabs_ = nullptr;
    QListWidget* contents_ = nullptr; // the topics of the contents page
    QTextBrowser* index_ = nullptr;
    QTextBrowser* page_ = nullptr;
    QPushButton* back_ = nullptr;
    QPushButton* forward_ = nullptr;
    bool side_panes_loaded_ = false;
    bool showing_missing_ = false; // the pane explains a missing page
};

} // namespace kalvara
