// The viewer window: tool-button layout, the default menu in the report's language,
// margin panels and their arithmetic, the margins dialog, printer set-up, showing and
// closing with the parameters written back, and errors of handlers shown as messages.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QMenuBar>
#include <QScreen>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>

#include "engine/quillon.h"
#include "tests/viewers/viewer_test_support.h"
#include "viewers/margin_math.h"
#include "viewers/margins_dialog.h"
#include "viewers/qt_component.h"
#include "viewers/rtf_viewer.h"
#include "viewers/viewer_icons.h"

namespace quillon {
namespace {

using testing::FlushDeletes;
using testing::MenuAction;
using testing::MenuItems;
using testing::RecordingHost;
using testing::RecordingStorage;
using testing::ScriptedTxtViewer;

constexpr int W = TCustomWWWRepViewer::kButtonWidth;

class ViewerWindowTest : public ::testing::Test {
  protected:
    ~ViewerWindowTest() override {
        viewer_.CloseWindow();
        FlushDeletes();
    }

    // The left edge of each visible button on its panel, in TViewerBtn order; -1 for
    // hidden ones.
    std::vector<int> Lefts() {
        std::vector<int> lefts;
        for (int i = 0; i < kViewerBtnCount; ++i) {
            QToolButton& b = viewer_.Button(static_cast<TViewerBtn>(i));
            lefts.push_back(b.isHidden() ? -1 : b.x());
        }
        return lefts;
    }

    RecordingHost host_;
    TQuillon report_{"report", host_};
    ScriptedTxtViewer viewer_{host_};
};

TEST_F(ViewerWindowTest, ButtonsAreLaidOutInOrderLeavingNoGaps) {
    viewer_.SetVisibleButtons(ViewerBtnBit(vbPrint));
    EXPECT_EQ(Lefts(), (std::vector<int>{W, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1}));

    viewer_.SetVisibleButtons(0xFFF);
    EXPECT_EQ(Lefts(), (std::vector<int>{W, 2 * W, 3 * W, 4 * W, 5 * W, 6 * W, 7 * W, 8 * W, 10 * W,
                                         W, 2 * W, 3 * W}));
    EXPECT_EQ(viewer_.Button(vbPageNumber).width(), 2 * W);
    EXPECT_EQ(viewer_.Button(vbViewerHelp).parentWidget(), &viewer_.HistoryPanel());
    EXPECT_EQ(viewer_.Button(vbStorage).parentWidget(), &viewer_.ToolPanel());

    viewer_.SetVisibleButtons(ViewerBtnBit(vbNext) | ViewerBtnBit(vbStorage) |
                              ViewerBtnBit(vbViewerForward));
    EXPECT_EQ(Lefts(), (std::vector<int>{-1, -1, -1, -1, -1, W, -1, -1, 2 * W, -1, W, -1}));

    // Only the help button: one button width from the history panel's left edge.
    viewer_.SetVisibleButtons(ViewerBtnBit(vbViewerHelp));
    EXPECT_EQ(Lefts(), (std::vector<int>{-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, W}));
    EXPECT_FALSE(viewer_.ToolPanel().isHidden());

    // An empty set hides the tool panel and changes nothing else.
    viewer_.SetVisibleButtons(0);
    EXPECT_TRUE(viewer_.ToolPanel().isHidden());
    EXPECT_FALSE(viewer_.Button(vbViewerHelp).isHidden());
    EXPECT_EQ(viewer_.GetVisibleButtons(), 0);
}

TEST_F(ViewerWindowTest, ButtonsHaveTheirImagesAndPagingImagesADisabledGlyph) {
    for (int i = 0; i < kViewerBtnCount; ++i) {
        const auto b = static_cast<TViewerBtn>(i);
        SCOPED_TRACE(i);
        EXPECT_EQ(ViewerButtonIcon(b).isNull(), b == vbPageNumber);
    }
    const QIcon next = ViewerButtonIcon(vbNext);
    const QImage normal = next.pixmap(16, 16, QIcon::Normal).toImage();
    const QImage disabled = next.pixmap(16, 16, QIcon::Disabled).toImage();
    ASSERT_EQ(normal.size(), QSize(16, 16));
    // The arrow is black when enabled and grey when disabled.
    EXPECT_LT(qGray(normal.pixel(8, 7)), 64);
    EXPECT_GT(qGray(disabled.pixel(8, 7)), 128);
    EXPECT_EQ(qAlpha(normal.pixel(0, 0)), 0);
}

TEST_F(ViewerWindowTest, TheDefaultMenuSpeaksTheReportsLanguage) {
    viewer_.Show(report_, false);
    EXPECT_EQ(MenuItems(viewer_),
              (std::vector<std::string>{"Report", "Print", "Print TXT", "Printer Setup",
                                        "Show page margins", "Set page margins", "-",
                                        "&Skip to Page", "First Page", "&Previous Page",
                                        "&Next Page", "&Last Page", "&Find...", "Find Next", "-",
                                        "Select All", "Copy to Clipboard", "-", "Close"}));
    EXPECT_EQ(MenuAction(viewer_, "Print")->shortcut(), QKeySequence("Ctrl+P"));
    EXPECT_EQ(MenuAction(viewer_, "&Next Page")->shortcut(), QKeySequence("Ctrl+N"));
    EXPECT_EQ(MenuAction(viewer_, "&Find...")->shortcut(), QKeySequence("Ctrl+F"));
    EXPECT_EQ(viewer_.Button(vbStorage).toolTip().toStdString(), "Send (E-mail)");
    viewer_.CloseWindow();

    report_.SetLanguage(laGerman);
    viewer_.FFromPage = 2;
    viewer_.FToPage = 5;
    viewer_.Show(report_, false);
    EXPECT_EQ(MenuItems(viewer_),
              (std::vector<std::string>{
                  "Bericht", "Drucken", "Drucken als TXT", "Drucker einrichten   (2-5)",
                  "Seitenränder anzeigen", "Seitenränder einrichten", "-", "&Gehe zu Seite...",
                  "Erste Seite", "&Vorherige Seite", "&Nächste Seite", "&Letzte Seite", "&Suchen",
                  "Weitersuchen", "-", "Alles markieren", "Kopieren", "-", "Schließen"}));
    EXPECT_EQ(viewer_.Button(vbPrior).toolTip().toStdString(), "Voherige");
    viewer_.CloseWindow();

    report_.SetLanguage(laRussian);
    TrptRTFViewer rtf("rtf", host_);
    rtf.Show(report_, false);
    const std::vector<std::string> items = MenuItems(rtf);
    ASSERT_EQ(items.size(), 18u);  // no Print TXT in the RTF viewer
    EXPECT_EQ(items[0], "Ведомость");
    EXPECT_EQ(items[1], "Печатат");
    EXPECT_EQ(items[2], "Установка принтера");
    EXPECT_EQ(items[8], "Предыдущий лист");
    EXPECT_EQ(items[10], "Последний лист");
    EXPECT_EQ(items[17], "Закрыть");
    rtf.CloseWindow();
}

TEST_F(ViewerWindowTest, ShowingAgainBuildsOneMenuAndClosingRestoresTheApplications) {
    QMenuBar app_bar;
    app_bar.addMenu(QStringLiteral("File"));
    TQtWidgetRef app_menu(&app_bar);
    viewer_.SetMainMenu(&app_menu);
    EXPECT_EQ(viewer_.CurrentMenuBar(), &app_bar);
    for (int i = 0; i < 2; ++i) {
        viewer_.Show(report_, false);
        EXPECT_NE(viewer_.CurrentMenuBar(), &app_bar);
        viewer_.CloseWindow();
        FlushDeletes();
        EXPECT_EQ(viewer_.CurrentMenuBar(), &app_bar);
        EXPECT_EQ(viewer_.Form().findChildren<QMenuBar*>().size(), 1);
    }
    // Loading into the open window keeps the default menu until the window closes.
    viewer_.Show(report_, false);
    QMenuBar* shown = viewer_.CurrentMenuBar();
    report_.SetViewerExt(&viewer_);
    report_.Viewer().MainMenu.Set(&app_menu);
    report_.SetExtViewerProp(viewer_);
    EXPECT_EQ(viewer_.CurrentMenuBar(), shown);
    EXPECT_TRUE(app_bar.isHidden());
    viewer_.CloseWindow();
    EXPECT_EQ(viewer_.CurrentMenuBar(), &app_bar);
    // Without the default menu the application's menu stays in place.
    viewer_.SetDefaultMenuON(false);
    viewer_.Show(report_, false);
    EXPECT_EQ(viewer_.CurrentMenuBar(), &app_bar);
    viewer_.CloseWindow();
    EXPECT_EQ(viewer_.CurrentMenuBar(), &app_bar);
    viewer_.SetMainMenu(nullptr);
}

TEST(MarginMath, CentimetresAndPixels) {
    EXPECT_EQ(MarginPixels(1.0), 20);
    EXPECT_EQ(MarginPixels(1.25), 25);
    EXPECT_EQ(MarginPixels(0), 0);
    EXPECT_EQ(MarginPixels(-3), 0);
    EXPECT_DOUBLE_EQ(MarginFromPixels(25), 1.2);  // 12.5 mm rounds to even
    EXPECT_DOUBLE_EQ(MarginFromPixels(27), 1.4);  // 13.5 mm rounds to even
    EXPECT_DOUBLE_EQ(MarginFromPixels(20), 1.0);
    EXPECT_DOUBLE_EQ(MarginFromPixels(5), 0.2);
    EXPECT_EQ(MarginText(1.0), "1");
    EXPECT_EQ(MarginText(1.2), "1.2");
    EXPECT_EQ(MarginText(1500), "1500");
    EXPECT_EQ(ReadMarginText(" 2.5 "), 2.5);
    EXPECT_EQ(ReadMarginText("-1"), -1);
    EXPECT_FALSE(ReadMarginText("abc"));
    EXPECT_FALSE(ReadMarginText(""));
    EXPECT_FALSE(ReadMarginText("1e999"));
}

TEST_F(ViewerWindowTest, MarginPanelsShowAndEditTheMarginsInCentimetres) {
    viewer_.SetPrintMarginTop(1.0);
    viewer_.SetPrintMarginBottom(0.5);
    viewer_.SetPrintMarginLeft(2.0);
    viewer_.SetPrintMarginRight(1.5);
    viewer_.SetShowMargins(true);
    MarginFrame& m = viewer_.Margins();
    EXPECT_EQ(m.PanelSize(MarginSide::kTop), 20);
    EXPECT_EQ(m.PanelSize(MarginSide::kBottom), 10);
    EXPECT_EQ(m.PanelSize(MarginSide::kLeft), 40);
    EXPECT_EQ(m.PanelSize(MarginSide::kRight), 30);
    EXPECT_EQ(m.Panel(MarginSide::kTop).text().toStdString(), "1 cm");
    EXPECT_EQ(m.Panel(MarginSide::kRight).text().toStdString(), "1.5 cm");
    // A side strip is too narrow for the number and its unit on one line.
    EXPECT_TRUE(m.Panel(MarginSide::kRight).wordWrap());
    EXPECT_FALSE(m.Splitter(MarginSide::kLeft).isHidden());

    // Dragging the top splitter 5 pixels down: a 25-pixel panel, 1.2 cm.
    m.DragSplitter(MarginSide::kTop, 5);
    EXPECT_DOUBLE_EQ(viewer_.GetPrintMarginTop(), 1.2);
    EXPECT_EQ(m.Panel(MarginSide::kTop).text().toStdString(), "1.2 cm");
    // A panel keeps at least 5 pixels.
    m.DragSplitter(MarginSide::kLeft, -100);
    EXPECT_EQ(m.PanelSize(MarginSide::kLeft), 5);
    EXPECT_DOUBLE_EQ(viewer_.GetPrintMarginLeft(), 0.2);

    // Hidden panels write nothing when they change.
    viewer_.SetShowMargins(false);
    EXPECT_TRUE(m.Panel(MarginSide::kTop).isHidden());
    EXPECT_TRUE(m.Splitter(MarginSide::kTop).isHidden());
    m.SetPanelSize(MarginSide::kTop, 60);
    EXPECT_DOUBLE_EQ(viewer_.GetPrintMarginTop(), 1.2);

    // The tool button and the menu item switch the panels.
    viewer_.Button(vbMargins).click();
    EXPECT_TRUE(viewer_.GetShowMargins());
    viewer_.Show(report_, false);
    QAction* item = MenuAction(viewer_, "Show page margins");
    ASSERT_NE(item, nullptr);
    EXPECT_TRUE(item->isChecked());
    item->trigger();
    EXPECT_FALSE(viewer_.GetShowMargins());
}

// Answers the next modal dialog: fills in the margins dialog and presses OK.
void AnswerMarginsDialog(std::vector<std::string> texts, bool* stayed_open) {
    QTimer::singleShot(0, [texts, stayed_open] {
        auto* dialog = dynamic_cast<MarginsDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        for (int row = 0; row < MarginsDialog::kRows; ++row) {
            dialog->Field(row).setText(QString::fromStdString(texts[row]));
        }
        dialog->accept();
        if (stayed_open != nullptr) *stayed_open = dialog->isVisible();
        if (dialog->isVisible()) dialog->reject();
    });
}

TEST_F(ViewerWindowTest, TheMarginsDialogChangesNothingWhenAFieldIsNotANumber) {
    viewer_.SetPrintMarginTop(1);
    viewer_.SetPrintMarginBottom(1);
    viewer_.SetPrintMarginLeft(1);
    viewer_.SetPrintMarginRight(1);
    viewer_.SetShowMargins(true);

    AnswerMarginsDialog({"2", "3.5", "-1", "0.5"}, nullptr);
    EXPECT_TRUE(viewer_.SetPageMargins());
    EXPECT_DOUBLE_EQ(viewer_.GetPrintMarginTop(), 2);
    EXPECT_DOUBLE_EQ(viewer_.GetPrintMarginBottom(), 3.5);
    EXPECT_DOUBLE_EQ(viewer_.GetPrintMarginLeft(), 1);  // negative: ignored
    EXPECT_DOUBLE_EQ(viewer_.GetPrintMarginRight(), 0.5);
    // The shown panels follow.
    EXPECT_EQ(viewer_.Margins().PanelSize(MarginSide::kTop), 40);

    bool stayed_open = false;
    AnswerMarginsDialog({"4", "4", "x", "4"}, &stayed_open);
    EXPECT_FALSE(viewer_.SetPageMargins());
    EXPECT_TRUE(stayed_open);
    EXPECT_DOUBLE_EQ(viewer_.GetPrintMarginTop(), 2);
    EXPECT_DOUBLE_EQ(viewer_.GetPrintMarginBottom(), 3.5);
    ASSERT_EQ(host_.messages.size(), 1u);
    EXPECT_EQ(host_.messages[0].text, "Error Left: \"x\"");
}

TEST_F(ViewerWindowTest, ClosingWritesMarginsSizeAndPageRangeBack) {
    report_.Viewer().WMaximize = false;
    report_.Viewer().WWidth = 640;
    report_.Viewer().WHeight = 480;
    report_.Viewer().PrintMarginTop = 1.5;
    report_.SetViewerExt(&viewer_);
    report_.SetExtViewerProp(viewer_);
    viewer_.Show(report_, false);
    EXPECT_TRUE(viewer_.GetVisible());
    viewer_.SetPrintMarginLeft(2.5);
    viewer_.FFromPage = 3;
    viewer_.FToPage = 7;
    viewer_.SetViewerWidth(700);

    // Showing it again does not close it.
    viewer_.SetVisible(true);
    EXPECT_TRUE(viewer_.GetVisible());
    viewer_.SetVisible(false);
    EXPECT_FALSE(viewer_.GetVisible());
    const tRepViewerPar& p = report_.Viewer();
    EXPECT_DOUBLE_EQ(p.PrintMarginLeft, 2.5);
    EXPECT_DOUBLE_EQ(p.PrintMarginTop, 1.5);
    EXPECT_EQ(p.WWidth, 700);
    EXPECT_EQ(p.WHeight, 480);
    EXPECT_EQ(p.FromPage, 3);
    EXPECT_EQ(p.ToPage, 7);
    EXPECT_TRUE(viewer_.RichEdit().toPlainText().isEmpty());
}

TEST_F(ViewerWindowTest, ModalShowReturnsWhenTheWindowCloses) {
    QTimer::singleShot(0, [this] {
        EXPECT_TRUE(viewer_.GetVisible());
        viewer_.TheCloseClick(nullptr);
    });
    report_.SetViewerExt(&viewer_);
    report_.ShowModal();
    EXPECT_FALSE(viewer_.GetVisible());
}

TEST_F(ViewerWindowTest, AnEmbeddedViewerNeverOpensItsWindow) {
    QWidget host_widget;
    TQtWidgetRef parent(&host_widget);
    viewer_.SetViewerParent(&parent);
    EXPECT_EQ(viewer_.RichEdit().parentWidget(), &host_widget);
    viewer_.Show(report_, false);
    EXPECT_FALSE(viewer_.GetVisible());
    EXPECT_EQ(viewer_.CurrentMenuBar(), nullptr);
    viewer_.SetViewerParent(nullptr);
    EXPECT_EQ(viewer_.RichEdit().parentWidget(), &viewer_.ClientPanel());
}

TEST_F(ViewerWindowTest, WindowSizes) {
    viewer_.SetViewerMaximize(false);
    viewer_.SetViewerWidth(300);
    viewer_.SetViewerHeight(200);
    EXPECT_EQ(viewer_.GetViewerWidth(), 300);
    EXPECT_EQ(viewer_.GetViewerHeight(), 200);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    viewer_.SetViewerWidth(0);
    viewer_.SetViewerHeight(-1);
    EXPECT_EQ(viewer_.GetViewerWidth(), screen.width());
    EXPECT_EQ(viewer_.GetViewerHeight(), screen.height() - qRound(screen.height() * 0.025));
}

TEST_F(ViewerWindowTest, PrinterSetUpTakesTheReportsEventOrTheDialog) {
    viewer_.Show(report_, false);
    // The print dialog: a chosen range, and the menu item's caption shows it.
    host_.range = std::make_pair(2, 5);
    QAction* item = MenuAction(viewer_, "Printer Setup");
    ASSERT_NE(item, nullptr);
    item->trigger();
    EXPECT_EQ(viewer_.FFromPage, 2);
    EXPECT_EQ(viewer_.FToPage, 5);
    EXPECT_EQ(item->text().toStdString(), "Printer Setup   (2-5)");
    host_.range = std::make_pair(1, 9999);
    item->trigger();
    EXPECT_EQ(item->text().toStdString(), "Printer Setup");
    // Cancel changes nothing; the tool button leaves the caption alone.
    host_.range.reset();
    viewer_.Button(vbPrintSetup).click();
    EXPECT_EQ(viewer_.FToPage, 9999);
    EXPECT_EQ(host_.range_dialogs, 3);

    // With OnSetupPrinter the report decides; values of 0 or less leave a bound.
    report_.OnSetupPrinter = [](TQuillon&, int& from, int& to) {
        from = 4;
        to = 0;
    };
    viewer_.Button(vbPrintSetup).click();
    EXPECT_EQ(viewer_.FFromPage, 4);
    EXPECT_EQ(viewer_.FToPage, 9999);
    EXPECT_EQ(host_.range_dialogs, 3);
}

TEST_F(ViewerWindowTest, HandlerErrorsBecomeMessagesAndACancelledMailNone) {
    RecordingStorage storage;
    report_.SetXStorage(&storage);
    report_.SetPrnFile("/tmp/report.txt");
    viewer_.Show(report_, false);
    viewer_.Button(vbStorage).click();
    EXPECT_EQ(storage.attachments, (TStrings{"/tmp/report.txt"}));
    EXPECT_EQ(storage.calls, (TStrings{"Logon", "Send", "Logoff"}));
    EXPECT_TRUE(host_.messages.empty());

    storage.fail = 1;
    viewer_.Button(vbStorage).click();
    EXPECT_TRUE(host_.messages.empty());
    storage.fail = MAPI_E_LOGIN_FAILURE;
    viewer_.Button(vbStorage).click();
    ASSERT_EQ(host_.messages.size(), 1u);
    EXPECT_NE(host_.messages[0].text.find("server said no"), std::string::npos);

    viewer_.RunGuarded([] { throw std::runtime_error("broken"); });
    EXPECT_EQ(host_.messages.back().text, "broken");
}

}  // namespace
}  // namespace quillon
