#include "app/HelpViewer.h"

#include "core/ProgramFolder.h"
#include "core/RegularFile.h"

#include <QApplication>
#include <QDesktopServices>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextList>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

namespace kalvara {

namespace {

constexpr char ContentsPage[] = "contents.html";
constexpr char IndexPage[] = "index.html";

// Pages of our own open inside the window; anything else (the maker's web
// site, mail) goes to the desktop.
bool IsLocalPage(const QUrl& url) {
    return url.isRelative() || url.isLocalFile() || url.scheme().isEmpty();
}

struct HelpTopic {
    QString Title;
    QUrl Page;
};

// The topics the contents page lists, in its order: the links of its lists,
// each resolved against the page. Links to other sites are left out, as the
// pane only opens help pages.
std::vector<HelpTopic> ListedTopics(const QString& contents_file) {
    std::vector<HelpTopic> topics;
    if (contents_file.isEmpty()) {
        return topics;
    }
    // A contents page is a few kilobytes; more than this is not ours.
    constexpr std::size_t MaxContentsBytes = 1 << 20;
    const RegularFile read = ReadRegularFile(contents_file.toStdString(), MaxContentsBytes);
    if (!read.WasRead()) {
        return topics;
    }
    QTextDocument page;
    page.setHtml(QString::fromUtf8(read.Bytes.data(), static_cast<qsizetype>(read.Bytes.size())));
    const QUrl base = QUrl::fromLocalFile(contents_file);
    for (QTextBlock block = page.begin(); block.isValid(); block = block.next()) {
        if (block.textList() == nullptr) {
            continue;
        }
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
            const QTextCharFormat format = fragment.fragment().charFormat();
            const QUrl link(format.anchorHref());
            if (format.isAnchor() && !link.isEmpty() && IsLocalPage(link)) {
                topics.push_back({block.text().trimmed(), base.resolved(link)});
                break;
            }
        }
    }
    return topics;
}

constexpr int kUsualBorderWidth = 16;
constexpr int kUsualBorderHeight = 48;

} // namespace

HelpViewer::HelpViewer(QString program_folder, QWidget* parent)
    : QWidget(parent, Qt::Window), program_folder_(std::move(program_folder)) {
    setWindowTitle(tr("Kalvara Help"));
    setObjectName("HelpViewer");

    tabs_ = new QTabWidget;
    contents_ = new QListWidget;
    index_ = new QTextBrowser;
    page_ = new QTextBrowser;
    contents_->setObjectName("HelpContents");
    index_->setObjectName("HelpIndex");
    page_->setObjectName("HelpPage");
    tabs_->setAccessibleName(tr("Help topics and index"));
    contents_->setAccessibleName(tr("Help topics"));
    index_->setAccessibleName(tr("Help index"));
    page_->setAccessibleName(tr("Help page"));
    tabs_->addTab(contents_, tr("&Contents"));
    tabs_->addTab(index_, tr("&Index"));

    // The side panes only choose; the page is read on the right.
    const auto open_topic = [this](const QListWidgetItem* item) {
        if (item != nullptr) {
            Open(item->data(Qt::UserRole).toUrl());
        }
    };
    connect(contents_, &QListWidget::itemActivated, this, open_topic);
    connect(contents_, &QListWidget::itemClicked, this, open_topic);
    index_->setOpenLinks(false);
    connect(index_, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) {
        if (!IsLocalPage(url)) {
            QDesktopServices::openUrl(url);
            return;
        }
        Open(index_->source().resolved(url));
    });
    page_->setOpenLinks(false);
    connect(page_, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) {
        if (!IsLocalPage(url)) {
            QDesktopServices::openUrl(url);
            return;
        }
        Open(url.isRelative() ? page_->source().resolved(url) : url);
    });

    // The window is named after the page being read.
    connect(page_, &QTextBrowser::sourceChanged, this, [this] {
        const QString title = page_->documentTitle();
        setWindowTitle(title.isEmpty() ? tr("Kalvara Help")
                                       : tr("Kalvara Help \u2014 %1").arg(title));
    });
    auto* close = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(close, &QShortcut::activated, this, &QWidget::close);

    // Back and Forward walk the pages read, as in any browser.
    back_ = new QPushButton(tr("&Back"));
    forward_ = new QPushButton(tr("&Forward"));
    back_->setEnabled(false);
    forward_->setEnabled(false);
    connect(back_, &QPushButton::clicked, page_, &QTextBrowser::backward);
    connect(forward_, &QPushButton::clicked, page_, &QTextBrowser::forward);
    connect(page_, &QTextBrowser::backwardAvailable, back_, &QWidget::setEnabled);
    connect(page_, &QTextBrowser::forwardAvailable, forward_, &QWidget::setEnabled);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(back_);
    buttons->addWidget(forward_);
    buttons->addStretch();
    auto* reading = new QWidget;
    auto* reading_layout = new QVBoxLayout(reading);
    reading_layout->setContentsMargins(0, 0, 0, 0);
    reading_layout->addLayout(buttons);
    reading_layout->addWidget(page_);

    auto* splitter = new QSplitter;
    splitter->addWidget(tabs_);
    splitter->addWidget(reading);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 3);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);
    resize(860, 600);
}

QString HelpViewer::HelpFile(const QString& name) const {
    return QString::fromStdString(
        FindDataFile(program_folder_.toStdString(), "help/" + name.toStdString()));
}

QString HelpViewer::TopicFile(int topic) const {
    if (topic <= 0) {
        return {};
    }
    return HelpFile(QStringLiteral("topic%1.html").arg(topic));
}

void HelpViewer::LoadSidePanes() {
    if (side_panes_loaded_) {
        return;
    }
    side_panes_loaded_ = true;
    const QString contents = HelpFile(ContentsPage);
    const QString index = HelpFile(IndexPage);
    for (const HelpTopic& topic : ListedTopics(contents)) {
        auto* item = new QListWidgetItem(topic.Title, contents_);
        item->setData(Qt::UserRole, topic.Page);
    }
    if (contents_->count() == 0) {
        auto* item = new QListWidgetItem(tr("The help contents are not installed."), contents_);
        item->setFlags(Qt::NoItemFlags);
    }
    if (!index.isEmpty()) {
        index_->setSource(QUrl::fromLocalFile(index));
    } else {
        index_->setHtml(tr("<p>The help index is not installed.</p>"));
    }
}

void HelpViewer::Open(const QUrl& page) {
    // A linked page that is not a regular file (a FIFO would hold the read
    // forever) is as good as missing.
    if (page.isLocalFile() && !IsRegularFile(page.toLocalFile().toStdString())) {
        ShowMissing(page.fileName());
        return;
    }
    showing_missing_ = false;
    page_->setSource(page);
}

void HelpViewer::ShowMissing(const QString& what) {
    showing_missing_ = true;
    page_->setHtml(tr("<h2>Help page not found</h2><p>%1 is not installed. Reinstalling "
                      "Kalvara restores the help pages.</p>")
                       .arg(what.toHtmlEscaped()));
}

void HelpViewer::CentreOver(const QWidget* asking) {
    // Help opens where the user is looking: over the window that asked, or
    // the middle of the screen when none did; never beyond the screen's edge.
    const QScreen* screen = asking != nullptr ? asking->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    const QRect room = screen->availableGeometry();
    // Before the window manager has framed the window its frame is unknown:
    // room is kept for a usual title bar and border then.
    const QSize border = frameGeometry().size() - size();
    resize(size().boundedTo(room.size() -
                            border.expandedTo(QSize(kUsualBorderWidth, kUsualBorderHeight))));
    QRect frame(QPoint(0, 0), size() + border);
    frame.moveCenter(asking != nullptr && asking != this ? asking->frameGeometry().center()
                                                         : room.center());
    frame.moveLeft(std::clamp(frame.left(), room.left(), room.right() - frame.width() + 1));
    frame.moveTop(std::clamp(frame.top(), room.top(), room.bottom() - frame.height() + 1));
    move(frame.topLeft());
}

void HelpViewer::Present() {
    // A modal dialog blocks every other window, this one included: help asked
    // for from a dialog could be neither read nor closed while it is open. So
    // over a dialog the help is modal itself, and the dialog takes input
    // again once the help is closed; over the main window it is not.
    bool over_dialog = false;
    for (const QWidget* window : QApplication::topLevelWidgets()) {
        over_dialog |= window != this && window->isVisible() && window->isModal();
    }
    const Qt::WindowModality wanted = over_dialog ? Qt::ApplicationModal : Qt::NonModal;
    if (windowModality() != wanted) {
        // Modality takes effect only when the window is shown anew.
        hide();
        setWindowModality(wanted);
    }
    if (!isVisible()) {
        CentreOver(QApplication::activeWindow());
    }
    if (isMinimized()) {
        showNormal();
    } else {
        show();
    }
    raise();
    activateWindow();
}

void HelpViewer::ShowHelp(int command, int topic) {
    if (command != DisplayContents && command != DisplayIndex && command != DisplayTopic) {
        return;
    }
    LoadSidePanes();
    if (command == DisplayTopic) {
        const QString file = TopicFile(topic);
        if (file.isEmpty()) {
            ShowMissing(tr("Help topic %1").arg(topic));
        } else {
            Open(QUrl::fromLocalFile(file));
        }
    } else {
        tabs_->setCurrentIndex(command == DisplayContents ? 0 : 1);
        // Help Contents always brings the contents page back; the index
        // opens on it only when nothing has been read yet, so that the
        // reading pane is never blank.
        if (command == DisplayContents || page_->source().isEmpty() || showing_missing_) {
            const QString contents = HelpFile(ContentsPage);
            if (contents.isEmpty()) {
                ShowMissing(tr("The help contents"));
            } else {
                Open(QUrl::fromLocalFile(contents));
            }
        }
    }
    Present();
}

QUrl HelpViewer::CurrentPage() const {
    return showing_missing_ ? QUrl() : page_->source();
}

int HelpViewer::CurrentTab() const {
    return tabs_->currentIndex();
}

} // namespace kalvara
