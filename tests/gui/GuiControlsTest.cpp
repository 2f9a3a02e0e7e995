// Controls and their state: placement in character units, edit fields, radio
// groups, layers, loading events, status bar, menus, pictures, numbered fonts
// and colours.

#include "EventRecorder.h"

#include <QAction>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QStatusBar>
#include <QTemporaryDir>

namespace kalvara::gui {
namespace {

using GuiUnits = testing::EventRecorder;
using GuiFonts = testing::EventRecorder;
using GuiControls = testing::EventRecorder;

TEST_F(GuiUnits, OneRowIsTheUiFontsLineAndColumnsScaleWithText) {
    const TextExtent empty = MeasureText(0, "");
    EXPECT_DOUBLE_EQ(empty.width, 0.0);
    EXPECT_DOUBLE_EQ(empty.height, 1.0);
    const TextExtent once = MeasureText(0, "Kalvara");
    const TextExtent twice = MeasureText(0, "KalvaraKalvara");
    EXPECT_GT(once.width, 3.0);
    EXPECT_NEAR(twice.width, 2 * once.width, 0.01);
    // An undefined font measures in the UI font; a negative one counts as 0.
    EXPECT_DOUBLE_EQ(MeasureText(777, "Kalvara").width, once.width);
    EXPECT_DOUBLE_EQ(MeasureText(-3, "Kalvara").width, once.width);
    EXPECT_NEAR(PixelsToColumns(ColumnsToPixels(40)), 40, 0.1);
    EXPECT_NEAR(PixelsToRows(RowsToPixels(20)), 20, 0.1);
}

TEST_F(GuiFonts, MissingFacesFallBackToTheUiFontAtTheirSize) {
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
    const QFont plain = ControlWidget("KV", 100)->font();
    const QFont bold = ControlWidget("KV", 105)->font();
    const QFont inlineFont = ControlWidget("KV", 110)->font();
    EXPECT_EQ(plain.family(), QApplication::font().family());
    EXPECT_DOUBLE_EQ(plain.pointSizeF(), 9.0);
    EXPECT_FALSE(plain.bold());
    EXPECT_TRUE(bold.bold());
    EXPECT_DOUBLE_EQ(bold.pointSizeF(), 12.0);
    EXPECT_TRUE(inlineFont.bold());
    EXPECT_TRUE(inlineFont.italic());
    EXPECT_GT(MeasureText(7, "Width").width, MeasureText(6, "Width").width);
}

TEST_F(GuiFonts, NumberedColoursClassicPaletteAndSystemColours) {
    EXPECT_EQ(ColorValue(0), 0x000000);
    EXPECT_EQ(ColorValue(4), 0x800000);
    EXPECT_EQ(ColorValue(15), 0xFFFFFF);
    EXPECT_EQ(ColorValue(36), -1);
    DefineColor(36, 255, 111, 185);
    EXPECT_EQ(ColorValue(36), 0xFF6FB9);
    DefineColor(37, 300, -5, 20);
    EXPECT_EQ(ColorValue(37), 0xFF0014);
    DefineSystemColor(34, 15);
    EXPECT_EQ(ColorValue(34),
              static_cast<int>(QApplication::palette().color(QPalette::Button).rgb() & 0xFFFFFF));
}

TEST_F(GuiControls, PlacedInCharacterUnitsOnTheClientArea) {
    Open("KV", 53.5, 20.75, [] { AddButton(145, 31.25, 16.75, 9.5, 1.625, "&Generate", "T"); });
    const QRect geometry = ControlWidget("KV", 145)->geometry();
    EXPECT_EQ(geometry.x(), ColumnsToPixels(31.25));
    EXPECT_EQ(geometry.y(), RowsToPixels(16.75));
    EXPECT_NEAR(geometry.width(), ColumnsToPixels(9.5), 1);
    EXPECT_NEAR(geometry.height(), RowsToPixels(1.625), 1);
}

TEST_F(GuiControls, EditFieldReportsChangesWithTheNewText) {
    Open("KV", 20, 5, [] { AddTextField(100, 1, 1, 7.5, 1.625, "", "CENST[4]"); });
    auto* field = qobject_cast<QLineEdit*>(ControlWidget("KV", 100));
    ASSERT_NE(field, nullptr);
    QTest::keyClicks(field, "201");
    const auto changes = Of("KV", EventChange);
    ASSERT_EQ(changes.size(), 3u);
    EXPECT_EQ(changes.back().id, 100);
    EXPECT_EQ(changes.back().text, "201");
    QTest::keyClicks(field, "59");
    EXPECT_EQ(GetText("KV", 100), "2015"); // "[4]" allows four characters
    SetText("KV", 100, "1999");
    EXPECT_EQ(Of("KV", EventChange).back().text, "1999");
    SetSelection("KV", 100, 4, 4);
    EXPECT_EQ(field->cursorPosition(), 4);
    SetSelection("KV", 100, 1, 99); // clamped to the text
    EXPECT_EQ(field->selectedText(), "999");
}

TEST_F(GuiControls, RadioGroupsStartAtG) {
    Open("MS", 20, 8, [] {
        AddRadio(100, 1, 1, 10, 1, "Single", "GT");
        AddRadio(105, 1, 2, 10, 1, "All", "T");
        AddRadio(110, 1, 3, 10, 1, "January", "GT");
        AddRadio(115, 1, 4, 10, 1, "February", "T");
    });
    SetCheck("MS", 100, 1);
    SetCheck("MS", 110, 1);
    EXPECT_TRUE(Of("MS", EventClick).empty()); // setting reports nothing
    QTest::mouseClick(qobject_cast<QRadioButton*>(ControlWidget("MS", 115)), Qt::LeftButton);
    EXPECT_EQ(GetCheck("MS", 110), 0);
    EXPECT_EQ(GetCheck("MS", 115), 1);
    EXPECT_EQ(GetCheck("MS", 100), 1); // the other group is untouched
    ASSERT_EQ(Of("MS", EventClick).size(), 1u);
    EXPECT_EQ(Of("MS", EventClick).front().id, 115);
    DisableControl("MS", 115);
    EXPECT_FALSE(IsEnabled("MS", 115));
    EXPECT_EQ(GetCheck("MS", 115), 1); // disabled keeps its choice
    SetCheck("MS", 115, 0);
    EXPECT_EQ(GetCheck("MS", 115), 0);
    EnableControl("MS", 115);
    EXPECT_TRUE(IsEnabled("MS", 115));
}

TEST_F(GuiControls, LayersShowOneAtATimeAndLayerZeroAlways) {
    Open("AB", 30, 12, [] {
        SetLayer(1);
        AddLabel(100, 1, 1, 20, 1, "About", "C");
        SetLayer(2);
        AddRichText(125, 1, 1, 20, 5, "", "");
        SetLayer(0);
        AddButton(135, 1, 8, 10, 1.5, "&View Program History", "T");
    });
    const auto shown = [] {
        std::vector<bool> visible;
        for (int id : {100, 125, 135}) {
            visible.push_back(ControlWidget("AB", id)->isVisibleTo(FormWidget("AB")));
        }
        return visible;
    };
    EXPECT_EQ(shown(), (std::vector<bool>{true, false, true}));
    DisplayLayer("AB", 2);
    EXPECT_EQ(shown(), (std::vector<bool>{false, true, true}));
}

TEST_F(GuiControls, LoadingEventsLetTheProgramChooseFontAndText) {
    DefineFont(7, "Missing Face", 14, "B");
    handlers["AB"] = [](int id, int code, int&, int&) {
        if (id == 115 && code == EventControlLoading) {
            UseFont(7);
            SetLoadString("Thanks|to everyone");
        }
    };
    Open("AB", 30, 8, [] {
        AddLabel(100, 1, 1, 20, 1, "Before", "L");
        AllowLoadingEvents(true);
        AddLabel(115, 1, 3, 20, 1, "", "L");
    });
    const auto loading = Of("AB", EventControlLoading);
    ASSERT_EQ(loading.size(), 1u);
    EXPECT_EQ(loading.front().id, 115);
    EXPECT_EQ(GetText("AB", 115), "Thanks|to everyone");
    EXPECT_EQ(qobject_cast<QLabel*>(ControlWidget("AB", 115))->text(), "Thanks\nto everyone");
    EXPECT_TRUE(ControlWidget("AB", 115)->font().bold());
    EXPECT_FALSE(ControlWidget("AB", 100)->font().bold());
}

TEST_F(GuiControls, StatusBarPartsAndCentredText) {
    Open("KV", 40, 10, [] { AddStatusBar(175, "", ""); });
    SetStatusBarParts("KV", 175, {70, 30});
    SetStatusBarText("KV", 175, 1, "\tMaker's notice");
    SetStatusBarText("KV", 175, 2, "\tVersion: 5.3.0.0");
    SetStatusBarText("KV", 175, 3, "no such part");
    auto* bar = qobject_cast<QStatusBar*>(ControlWidget("KV", 175));
    ASSERT_NE(bar, nullptr);
    const auto parts = bar->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly);
    ASSERT_EQ(parts.size(), 2);
    EXPECT_EQ(parts[1]->text(), "Version: 5.3.0.0");
    EXPECT_TRUE(parts[1]->alignment() & Qt::AlignHCenter);
    EXPECT_EQ(GetText("KV", 175), "Maker's notice");
    // Below the client area, not inside it.
    EXPECT_EQ(bar->parentWidget(), FormWidget("KV"));
    EXPECT_GT(bar->height(), 0);
    EXPECT_GE(bar->y(), RowsToPixels(10));
}

TEST_F(GuiControls, MenusReportClicksWithTheirIds) {
    int saved = 0;
    DefineMainMenu(9000, "&Program");
    Open("KV", 40, 10, [&] {
        const int bar = GetMenu("KV", 0);
        AddMenuItem(bar, 9100, "&Help");
        const int program = DefineSubMenu(9005, "&Preferences");
        AddMenuItem(program, 9010, "-");
        AddMenuItem(program, 9015, "E&xit");
        SaveMenu("KV", 1, program);
        SaveMenu("KV", 3, bar);
        SetSubMenu(bar, 9000, program);
        saved = program;
    });
    EXPECT_NE(GetMenu("KV", 0), 0);
    EXPECT_EQ(GetMenu("KV", 1), saved);
    EXPECT_EQ(GetMenu("KV", 2), 0);
    EXPECT_EQ(GetMenu("KV", 3), GetMenu("KV", 0));

    auto* window = qobject_cast<QMainWindow*>(FormWidget("KV"));
    QAction* exitItem = nullptr;
    for (QAction* action : window->findChildren<QAction*>()) {
        if (action->data().toInt() == 9015) {
            exitItem = action;
        }
    }
    ASSERT_NE(exitItem, nullptr);
    exitItem->trigger();
    const auto clicks = Of("KV", EventClick);
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks.front().id, 9015);
    EXPECT_EQ(clicks.front().text, "E&xit");
    // The menu bar's first item carries the popup.
    ASSERT_FALSE(window->menuBar()->actions().isEmpty());
    EXPECT_NE(window->menuBar()->actions().front()->menu(), nullptr);
}

TEST_F(GuiControls, PicturesFromTheFolderFromResourcesAndMissingOnes) {
    QTemporaryDir folder;
    QImage image(30, 20, QImage::Format_RGB32);
    image.fill(Qt::red);
    ASSERT_TRUE(image.save(folder.filePath("calyear.bmp")));
    ASSERT_TRUE(image.scaled(10, 12).save(folder.filePath("month.png")));
    SetPictureFolder(folder.path().toStdString());
    DefinePictureResource("CALMONTH", folder.filePath("month.png").toStdString());

    const int year = LoadPicture("calyear.bmp");
    const int month = LoadPicture("$CALMONTH");
    EXPECT_EQ(LoadPicture("calyear.bmp"), year);
    EXPECT_EQ(LoadPicture("missing.bmp"), 0);
    EXPECT_EQ(LoadPicture("$UNKNOWN"), 0);
    EXPECT_EQ(GetPictureSize(year).width, 30);
    EXPECT_EQ(GetPictureSize(month).height, 12);
    EXPECT_EQ(GetPictureSize(0).width, 0);

    Open("KV", 20, 14, [] {
        AddPicture(140, 1, 1, 10, 5, "calyear.bmp", "C");
        AddPicture(141, 1, 7, 10, 5, "missing.bmp", "C");
    });
    auto* picture = qobject_cast<QLabel*>(ControlWidget("KV", 140));
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->pixmap().width(), 30);
    EXPECT_TRUE(qobject_cast<QLabel*>(ControlWidget("KV", 141))->pixmap().isNull());
    SetImage("KV", 140, month);
    EXPECT_EQ(picture->pixmap().width(), 10);
    SetImage("KV", 140, 0);
    EXPECT_TRUE(picture->pixmap().isNull());
    SetFormIcon("KV", year);
    EXPECT_FALSE(FormWidget("KV")->windowIcon().isNull());
}

TEST_F(GuiControls, APictureLargerThanItsAreaIsShrunkWholeAndASmallerOneKeptAsIs) {
    QTemporaryDir folder;
    QImage tall(40, 172, QImage::Format_RGB32);
    tall.fill(Qt::blue);
    ASSERT_TRUE(tall.save(folder.filePath("tall.png")));
    ASSERT_TRUE(tall.scaled(10, 20).save(folder.filePath("small.png")));
    SetPictureFolder(folder.path().toStdString());
    const int picture = LoadPicture("tall.png");
    Open("KV", 30, 20, [] {
        AddPicture(140, 1, 1, 20, 5, "tall.png", "C");
        AddPicture(141, 1, 7, 20, 5, "small.png", "C");
        AddPicture(142, 1, 13, 20, 5, "tall.png", "S");
    });
    auto* shrunk = qobject_cast<QLabel*>(ControlWidget("KV", 140));
    ASSERT_NE(shrunk, nullptr);
    const QSize room = shrunk->contentsRect().size();
    ASSERT_LT(room.height(), 172);
    EXPECT_EQ(shrunk->pixmap().height(), room.height());
    EXPECT_NEAR(shrunk->pixmap().width(), 40.0 * room.height() / 172, 1.0);
    // Shown again, as when the style changes, it is shrunk the same way.
    SetImage("KV", 140, picture);
    EXPECT_EQ(shrunk->pixmap().height(), room.height());
    EXPECT_EQ(qobject_cast<QLabel*>(ControlWidget("KV", 141))->pixmap().size(), QSize(10, 20));
    // A picture stretched to its area keeps its own pixels for Qt to scale.
    EXPECT_EQ(qobject_cast<QLabel*>(ControlWidget("KV", 142))->pixmap().height(), 172);
}

TEST_F(GuiControls, ProgressBarAndRichText) {
    Open("ZD", 41.5, 6.875, [] {
        AddProgressBar(100, 1, 1, 30, 1, "", "");
        AddRichText(125, 1, 3, 30, 5, "", "");
    });
    SetProgress("ZD", 100, 40);
    EXPECT_EQ(GetText("ZD", 100), "40");
    SetProgress("ZD", 100, 400);
    EXPECT_EQ(GetText("ZD", 100), "100");
    SetRichText("ZD", 125, "{\\rtf1\\ansi Version 5.3\\par Fixed printing}");
    EXPECT_EQ(GetText("ZD", 125), "Version 5.3\nFixed printing");
    SetRichTextLimit("ZD", 125, 5);
    SetRichText("ZD", 125, "Plain text that is long");
    EXPECT_EQ(GetText("ZD", 125), "Plain");
}

} // namespace
} // namespace kalvara::gui
