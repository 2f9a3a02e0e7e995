#include "EventRecorder.h"

#include <QAction>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <algorithm>
#include <tuple>

namespace kalvara::gui {
namespace {

using GuiControls = testing::EventRecorder;
using ::testing::ElementsAre;

// One row is the UI font's line and columns scale with the text; a missing
// face falls back to the UI font at its own size and style.
TEST_F(GuiControls, TextMeasuresInCharacterUnitsAndFontsFallBack) {
    const double once = MeasureText(0, "Kalvara").width;
    EXPECT_DOUBLE_EQ(MeasureText(0, "").width, 0.0);
    EXPECT_DOUBLE_EQ(MeasureText(0, "").height, 1.0);
    EXPECT_GT(once, 3.0);
    EXPECT_NEAR(MeasureText(0, "KalvaraKalvara").width, 2 * once, 0.01);
    // An undefined font measures in the UI font; a negative one counts as 0.
    EXPECT_DOUBLE_EQ(MeasureText(777, "Kalvara").width, once);
    EXPECT_DOUBLE_EQ(MeasureText(-3, "Kalvara").width, once);

    DefineFont(6, "No Such Face Anywhere", 9, " L+V");
    DefineFont(7, "No Such Face Anywhere", 12, " BV");
    Open("KV", 30, 10, [] {
        UseFont(6);
        AddLabel(100, 1, 1, 20, 1, "Plain", "L");
        UseFont(7);
        AddLabel(105, 1, 3, 20, 1, "Bold", "L");
        UseInlineFont("Another Missing Face", 16, "BI");
        AddLabel(110, 1, 5, 20, 2, "Name", "C");
    });
    for (const auto& [id, size, bold, italic] :
         {std::tuple{100, 9.0, false, false}, {105, 12.0, true, false}, {110, 16.0, true, true}}) {
        const QFont font = ControlWidget("KV", id)->font();
        EXPECT_EQ(
            std::tuple(font.family().toStdString(), font.pointSizeF(), font.bold(), font.italic()),
            std::tuple(QApplication::font().family().toStdString(), size, bold, italic))
            << "control " << id;
    }
    EXPECT_GT(MeasureText(7, "Width").width, MeasureText(6, "Width").width);
}

TEST_F(GuiControls, NumberedColoursClassicPaletteAndSystemColours) {
    DefineColor(37, 300, -5, 20);
    DefineSystemColor(34, 15);
    EXPECT_EQ(ColorValue(4), 0x800000); // red, so the parts are in RGB order
    EXPECT_EQ(ColorValue(36), -1);
    EXPECT_EQ(ColorValue(37), 0xFF0014);
    EXPECT_EQ(ColorValue(34),
              static_cast<int>(QApplication::palette().color(QPalette::Button).rgb() & 0xFFFFFF));
}

TEST_F(GuiControls, EditFieldPlacedInCharacterUnitsReportsChangesWithTheNewText) {
    Open("KV", 53.5, 20.75, [] { AddTextField(100, 31.25, 16.75, 9.5, 1.625, "", "CENST[4]"); });
    auto& field = Widget<QLineEdit>("KV", 100);
    EXPECT_EQ(field.pos(), QPoint(ColumnsToPixels(31.25), RowsToPixels(16.75)));
    EXPECT_NEAR(field.width(), ColumnsToPixels(9.5), 1);
    EXPECT_NEAR(field.height(), RowsToPixels(1.625), 1);
    QTest::keyClicks(&field, "201");
    EXPECT_THAT(IdsOf("KV", EventChange), ElementsAre(100, 100, 100));
    EXPECT_EQ(Of("KV", EventChange).back().text, "201");
    QTest::keyClicks(&field, "59");
    EXPECT_EQ(GetText("KV", 100), "2015"); // "[4]" allows four characters
    SetText("KV", 100, "1999");
    EXPECT_EQ(Of("KV", EventChange).back().text, "1999");
    SetSelection("KV", 100, 1, 99); // clamped to the text
    EXPECT_EQ(field.selectedText(), "999");
}

TEST_F(GuiControls, RadioGroupsStartAtGAndOnlyClicksReport) {
    Open("MS", 20, 8, [] {
        AddRadio(100, 1, 1, 10, 1, "Single", "GT");
        AddRadio(105, 1, 2, 10, 1, "All", "T");
        AddRadio(110, 1, 3, 10, 1, "January", "GT");
        AddRadio(115, 1, 4, 10, 1, "February", "T");
    });
    SetCheck("MS", 100, 1);
    SetCheck("MS", 110, 1);
    QTest::mouseClick(ControlWidget("MS", 115), Qt::LeftButton);
    EXPECT_THAT(IdsOf("MS", EventClick), ElementsAre(115));
    const auto checks = [] {
        return std::vector{GetCheck("MS", 100), GetCheck("MS", 105), GetCheck("MS", 110),
                           GetCheck("MS", 115)};
    };
    EXPECT_THAT(checks(), ElementsAre(1, 0, 0, 1));
    DisableControl("MS", 115);
    EXPECT_EQ(GetCheck("MS", 115), 1); // a disabled one keeps its choice
    SetCheck("MS", 115, 0);
    EXPECT_THAT(checks(), ElementsAre(1, 0, 0, 0));
}

// Layer 0 always shows, of the others one at a time.
TEST_F(GuiControls, LayersLoadingEventsProgressAndRichText) {
    DefineFont(7, "Missing Face", 14, "B");
    handlers["AB"] = [](int id, int code, int&, int&) {
        if (id == 115 && code == EventControlLoading) {
            UseFont(7);
            SetLoadString("Thanks|to everyone");
        }
    };
    Open("AB", 30, 12, [] {
        SetLayer(1);
        AddLabel(100, 1, 1, 20, 1, "About", "C");
        AllowLoadingEvents(true);
        AddLabel(115, 1, 3, 20, 1, "", "L");
        SetLayer(2);
        AddRichText(125, 1, 1, 20, 5, "", "");
        SetLayer(0);
        AddButton(135, 1, 8, 10, 1.5, "&View Program History", "T");
        AddProgressBar(140, 1, 10, 20, 1, "", "");
    });
    const auto shown = [] {
        const auto visible = [](int id) { return ControlWidget("AB", id)->isVisible(); };
        return std::vector{visible(100), visible(125), visible(135)};
    };
    EXPECT_THAT(shown(), ElementsAre(true, false, true));
    DisplayLayer("AB", 2);
    EXPECT_THAT(shown(), ElementsAre(false, true, true));
    EXPECT_THAT(IdsOf("AB", EventControlLoading), ElementsAre(115, 125, 135, 140));
    EXPECT_EQ(Widget<QLabel>("AB", 115).text(), "Thanks\nto everyone");
    EXPECT_TRUE(ControlWidget("AB", 115)->font().bold());
    EXPECT_FALSE(ControlWidget("AB", 100)->font().bold());

    SetProgress("AB", 140, 400);
    EXPECT_EQ(GetText("AB", 140), "100");
    SetRichTextLimit("AB", 125, 5);
    SetRichText("AB", 125, "Plain text that is long");
    EXPECT_EQ(GetText("AB", 125), "Plain");
}

// The menu bar and the status bar both sit outside the client area.
TEST_F(GuiControls, MenusReportClicksAndTheStatusBarCentresItsParts) {
    DefineMainMenu(9000, "&Program");
    Open("KV", 40, 10, [] {
        const int bar = GetMenu("KV", 0);
        AddMenuItem(bar, 9100, "&Help");
        const int program = DefineSubMenu(9005, "&Preferences");
        AddMenuItem(program, 9010, "-");
        AddMenuItem(program, 9015, "E&xit");
        SetSubMenu(bar, 9000, program);
        AddStatusBar(175, "", "");
    });
    EXPECT_EQ(GetMenu("KV", 2), 0);
    const auto actions = FormWidget("KV")->findChildren<QAction*>();
    const auto exitItem = std::find_if(actions.begin(), actions.end(),
                                       [](QAction* action) { return action->data() == 9015; });
    ASSERT_NE(exitItem, actions.end());
    (*exitItem)->trigger();
    EXPECT_THAT(IdsOf("KV", EventClick), ElementsAre(9015));
    EXPECT_EQ(Of("KV", EventClick).front().text, "E&xit");
    const QMenuBar* bar = qobject_cast<QMainWindow*>(FormWidget("KV"))->menuBar();
    const QAction* first = bar->actions().value(0);
    EXPECT_TRUE(first != nullptr && first->menu() != nullptr); // the first item has the popup

    SetStatusBarParts("KV", 175, {70, 30});
    SetStatusBarText("KV", 175, 1, "\tMaker's notice");
    SetStatusBarText("KV", 175, 2, "\tVersion: 5.3.0.0");
    SetStatusBarText("KV", 175, 3, "no such part");
    auto& status = Widget<QStatusBar>("KV", 175);
    const auto parts = status.findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly);
    ASSERT_EQ(parts.size(), 2);
    EXPECT_EQ(parts[1]->text(), "Version: 5.3.0.0");
    EXPECT_TRUE(parts[1]->alignment() & Qt::AlignHCenter);
    EXPECT_EQ(GetText("KV", 175), "Maker's notice");
    EXPECT_GE(status.y(), bar->height() + RowsToPixels(10));
}

// A larger picture is shrunk whole, a smaller one kept as is, and a stretched
// one keeps its own pixels for Qt to scale.
TEST_F(GuiControls, PicturesFromTheFolderFromResourcesAndMissingOnes) {
    const QTemporaryDir folder;
    SetPictureFolder(folder.path().toStdString());
    const auto Save = [&](const QString& name, int width, int height) {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(Qt::red);
        EXPECT_TRUE(image.save(folder.filePath(name)));
        return folder.filePath(name).toStdString();
    };
    Save("calyear.bmp", 30, 20);
    Save("tall.png", 40, 172);
    DefinePictureResource("CALMONTH", Save("month.png", 10, 12));
    const int year = LoadPicture("calyear.bmp");
    const int month = LoadPicture("$CALMONTH");
    EXPECT_EQ(LoadPicture("calyear.bmp"), year);
    EXPECT_EQ(LoadPicture("missing.bmp"), 0);
    EXPECT_EQ(LoadPicture("$UNKNOWN"), 0);
    EXPECT_EQ(GetPictureSize(month).height, 12);
    EXPECT_EQ(GetPictureSize(0).width, 0);

    Open("KV", 30, 26, [] {
        AddPicture(140, 1, 1, 20, 5, "calyear.bmp", "C");
        AddPicture(141, 1, 7, 20, 5, "missing.bmp", "C");
        AddPicture(142, 1, 13, 20, 5, "tall.png", "C");
        AddPicture(143, 1, 19, 20, 5, "tall.png", "S");
    });
    auto& picture = Widget<QLabel>("KV", 140);
    EXPECT_EQ(picture.pixmap().size(), QSize(30, 20));
    EXPECT_TRUE(Widget<QLabel>("KV", 141).pixmap().isNull());
    EXPECT_EQ(Widget<QLabel>("KV", 143).pixmap().height(), 172);
    SetImage("KV", 140, month);
    EXPECT_EQ(picture.pixmap().width(), 10);
    SetImage("KV", 140, 0);
    EXPECT_TRUE(picture.pixmap().isNull());
    SetFormIcon("KV", year);
    EXPECT_FALSE(FormWidget("KV")->windowIcon().isNull());

    auto& shrunk = Widget<QLabel>("KV", 142);
    const int room = shrunk.contentsRect().height();
    ASSERT_LT(room, 172);
    // Shown again, as when the style changes, it is shrunk the same way.
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(shrunk.pixmap().height(), room);
        EXPECT_NEAR(shrunk.pixmap().width(), 40.0 * room / 172, 1.0);
        SetImage("KV", 142, LoadPicture("tall.png"));
    }
}

// Placed out of reading order on purpose: the lower button before the upper ones.
TEST_F(GuiControls, TabFollowsReadingOrder) {
    Open("AX", 40, 12, [] {
        AddTextField(100, 20, 1, 6, 1, "", "T");
        AddButton(120, 1, 8, 10, 1, "Lower", "T");
        AddRadio(110, 1, 3, 10, 1, "First", "GT");
        AddRadio(111, 1, 5, 10, 1, "Second", "T");
        AddCheckBox(115, 20, 3, 10, 1, "Check", "T");
    });
    const std::vector<int> reading{100, 110, 115, 111, 120};
    for (std::size_t i = 1; i < reading.size(); ++i) {
        QWidget* next = ControlWidget("AX", reading[i - 1])->nextInFocusChain();
        while (!(next->focusPolicy() & Qt::TabFocus)) {
            next = next->nextInFocusChain();
        }
        EXPECT_EQ(next, ControlWidget("AX", reading[i])) << "after control " << reading[i - 1];
    }
}

} // namespace
} // namespace kalvara::gui
