// The HTML report viewer (offscreen): report pages from page-break sections, the page
// buttons and the page box, searching, copying with tabs, the title line, history and help
// buttons, embedding in a host widget, mailing, and the choice of viewer for a file.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QToolButton>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

#include "engine/quillon.h"
#include "html/view/qt/vw_printer.h"
#include "platform/core/raw_printer.h"
#include "platform/core/test_canvas.h"
#include "platform/core/text_encoding.h"
#include "tests/common/pdf_text.h"
#include "tests/common/recording_raw_printers.h"
#include "tests/common/temp_dir.h"
#include "tests/html_view_qt/widget_test_support.h"
#include "tests/viewers/viewer_test_support.h"
#include "viewers/html_report_viewer.h"
#include "viewers/qt_component.h"
#include "viewers/rtf_viewer.h"
#include "viewers/txt_viewer.h"
#include "viewers/viewer_choice.h"

#ifdef QUILLON_HAS_QTEST
#include <QSignalSpy>
#endif

namespace quillon {
namespace {

using testing::RecordingHost;
using testing::ScriptedHtmlViewer;
using testing::TempDir;

// A report of `pages` pages: each page a heading and enough lines to be taller than the
// window, pages separated by <PAGE>.
std::string PagedReport(int pages) {
    std::string html = "<HTML><HEAD><TITLE>Sales</TITLE></HEAD><BODY>";
    for (int p = 1; p <= pages; ++p) {
        if (p > 1) html += "<PAGE>";
        html += "<H3>Page " + std::to_string(p) + "</H3>";
        for (int line = 0; line < 30; ++line) html += "<P>line " + std::to_string(line) + "</P>";
    }
    return html + "</BODY></HTML>";
}

class HtmlViewerTest : public ::testing::Test {
  protected:
    HtmlViewerTest() {
        report_.SetViewerExt(&viewer_);
        report_.Viewer().WMaximize = false;
        report_.Viewer().WWidth = 500;
        report_.Viewer().WHeight = 300;
        report_.Viewer().VisibleButtons = 0x0FFF;
        // Printing goes to a PDF file, never to a printer of the machine.
        previous_printer_ = vwSetPrinter(TvwPrinter::ForPdf(dir_.File("printed.pdf")));
    }
    ~HtmlViewerTest() override {
        viewer_.CloseWindow();
        if (previous_printer_) vwSetPrinter(std::move(previous_printer_));
    }
    // The PDF printed so far, complete once its printer is put back.
    std::string PrintedPdf() {
        if (previous_printer_) vwSetPrinter(std::move(previous_printer_));
        return dir_.File("printed.pdf");
    }

    std::string Load(const std::string& name, const std::string& html) {
        const std::string path = dir_.Write(name, html).string();
        report_.SetPrnFile(path);
        EXPECT_TRUE(report_.LoadFirst()) << (host_.messages.empty() ? "" : host_.messages[0].text);
        return path;
    }
    void ShowLoaded() {
        report_.Show();
        QApplication::processEvents();
    }
    // The selected text without the line end that a selection from a paragraph's first
    // character starts with (the layout counts the paragraph's space before it).
    std::string Selected() const {
        std::string s = viewer_.Viewer().SelText();
        while (!s.empty() && (s.front() == '\r' || s.front() == '\n')) s.erase(0, 1);
        return s;
    }
    std::string Caption() { return viewer_.Button(vbPageNumber).text().toStdString(); }
    int Scroll() const { return viewer_.Viewer().ScrollPos(); }
    // The layout tops of the page-break sections.
    std::vector<int> BreakTops() const {
        std::vector<int> tops;
        for (const auto& s : viewer_.Viewer().Document().Sections()) {
            if (s->IfNewPage()) tops.push_back(s->LayoutY);
        }
        return tops;
    }

    TempDir dir_;
    std::unique_ptr<TvwPrinter> previous_printer_;
    RecordingHost host_;
    TQuillon report_{"report", host_};
    ScriptedHtmlViewer viewer_{host_};
};

TEST_F(HtmlViewerTest, PagesAreThePageBreakSectionsAndTheButtonsStepThroughThem) {
    Load("report.htm", PagedReport(3));
    ShowLoaded();
    EXPECT_EQ(viewer_.GetLastPageNumber(), 3);
    EXPECT_EQ(Caption(), "1/3");
    const std::vector<int> tops = BreakTops();
    ASSERT_EQ(tops.size(), 2u);
    ASSERT_GT(tops[0], 0);

    EXPECT_TRUE(viewer_.PositionToPage(2));
    EXPECT_EQ(Scroll(), tops[0]);
    EXPECT_FALSE(viewer_.PositionToPage(4));
    EXPECT_FALSE(viewer_.PositionToPage(-1));
    EXPECT_EQ(Scroll(), tops[0]) << "a page that does not exist moves nothing";
    EXPECT_TRUE(viewer_.PositionToPage(0));
    EXPECT_EQ(Scroll(), 0);

    viewer_.Button(vbNext).click();
    EXPECT_EQ(Caption(), "2/3");
    EXPECT_EQ(Scroll(), tops[0]);
    viewer_.Button(vbNext).click();
    viewer_.Button(vbNext).click();
    EXPECT_EQ(Caption(), "3/3") << "Next on the last page stays there";
    EXPECT_EQ(viewer_.PageNo(), 3);
    viewer_.Button(vbPrior).click();
    EXPECT_EQ(Caption(), "2/3");
    viewer_.Button(vbFirst).click();
    EXPECT_EQ(Caption(), "1/3");
    EXPECT_EQ(Scroll(), 0);
    viewer_.Button(vbPrior).click();
    EXPECT_EQ(Caption(), "1/3") << "Prior on page 1 stays on page 1";
    EXPECT_EQ(Scroll(), 0);
    viewer_.Button(vbLast).click();
    EXPECT_EQ(Caption(), "3/3");

    // Showing again starts from the first page.
    viewer_.CloseWindow();
    Load("report.htm", PagedReport(3));
    ShowLoaded();
    EXPECT_EQ(viewer_.PageNo(), 1);
    EXPECT_EQ(Caption(), "1/3");
    EXPECT_EQ(Scroll(), 0);
}

TEST_F(HtmlViewerTest, ADocumentWithoutBreaksIsOnePage) {
    Load("one.htm", "<P>only</P>");
    ShowLoaded();
    EXPECT_EQ(Caption(), "1/1");
    viewer_.Button(vbNext).click();
    EXPECT_EQ(Caption(), "1/1");
    EXPECT_EQ(viewer_.PageNo(), 1);
    viewer_.Clear();
    EXPECT_EQ(viewer_.GetLastPageNumber(), 1) << "an empty document";
}

TEST_F(HtmlViewerTest, ThePageBoxClampsAndIgnoresWhatIsNoNumber) {
    Load("report.htm", PagedReport(5));
    ShowLoaded();
    viewer_.answers = {"99", "abc", " 2 ", "0", "-3", "4x"};
    viewer_.Button(vbPageNumber).click();
    EXPECT_EQ(Caption(), "5/5");
    EXPECT_EQ(Scroll(), std::min(BreakTops()[3], viewer_.Viewer().GetScrollBarRange()));
    viewer_.Button(vbPageNumber).click();
    EXPECT_EQ(Caption(), "5/5") << "not a number: the page stays";
    viewer_.Button(vbPageNumber).click();
    EXPECT_EQ(Caption(), "2/5");
    EXPECT_EQ(Scroll(), BreakTops()[0]);
    viewer_.Button(vbPageNumber).click();
    EXPECT_EQ(Caption(), "1/5") << "0 is page 1";
    EXPECT_EQ(Scroll(), 0);
    viewer_.Button(vbPageNumber).click();
    EXPECT_EQ(Caption(), "1/5") << "a negative number is page 1, never shown as typed";
    viewer_.Button(vbPageNumber).click();
    EXPECT_EQ(Caption(), "1/5");
    viewer_.Button(vbPageNumber).click();  // Cancel
    EXPECT_EQ(Caption(), "1/5");
    ASSERT_FALSE(viewer_.prompts.empty());
    EXPECT_EQ(viewer_.prompts[0], Msg(MainMenuPageNumber, laEnglish));
}

TEST_F(HtmlViewerTest, FindStartsAtTheTopAndFindNextGoesOnFromTheHit) {
    Load("report.htm", "<P>alpha beta</P><P>gamma BETA</P>");
    ShowLoaded();
    viewer_.answers = {"beta"};
    viewer_.TheFind(nullptr);
    EXPECT_EQ(Selected(), "beta");
    const int first = viewer_.Viewer().SelStart();
    viewer_.TheFindNext(nullptr);
    EXPECT_EQ(Selected(), "BETA") << "any case";
    EXPECT_GT(viewer_.Viewer().SelStart(), first);
    EXPECT_TRUE(host_.messages.empty());
    viewer_.TheFindNext(nullptr);
    ASSERT_EQ(host_.messages.size(), 1u);
    EXPECT_EQ(host_.messages[0].text, std::string(Msg(MainMenuTextNotFound, laEnglish)) + "beta");

    // A new search starts at the top again, and keeps the text between searches.
    viewer_.answers = {"alpha"};
    viewer_.TheFind(nullptr);
    EXPECT_EQ(Selected(), "alpha");
    EXPECT_EQ(viewer_.FindText(), "alpha");
    viewer_.answers = {"zeta"};
    viewer_.TheFind(nullptr);
    EXPECT_EQ(host_.messages.back().text,
              std::string(Msg(MainMenuTextNotFound, laEnglish)) + "zeta");

    // Find Next with a blank text says so without searching.
    viewer_.answers = {"  "};
    viewer_.TheFind(nullptr);
    const std::size_t before = host_.messages.size();
    viewer_.TheFindNext(nullptr);
    EXPECT_EQ(host_.messages.size(), before + 1);
}

TEST_F(HtmlViewerTest, CopyTurnsEachNoBreakSpaceIntoOneTabAndKeepsLetters) {
    // "Š" is C5 A0 and "Р" D0 A0 in UTF-8: their second byte is the no-break space's
    // code, which must not become a tab.
    EXPECT_EQ(TrptHTMLViewer::NoBreakSpacesToTabs("\xC5\xA0\xC2\xA0\xD0\xA0\xC2\xA0\xC2\xA0x"),
              "\xC5\xA0\t\xD0\xA0\t\tx");
    EXPECT_EQ(TrptHTMLViewer::NoBreakSpacesToTabs("a b"), "a b");

    Load("table.htm", "<P>Šilas&nbsp;Рига&nbsp;&nbsp;12</P>");
    ShowLoaded();
    viewer_.TheSelectAllClick(nullptr);
    viewer_.TheCopyClick(nullptr);
    std::string copied = QGuiApplication::clipboard()->text().toStdString();
    // A selection from a paragraph's start may begin with its line end.
    while (!copied.empty() && (copied.front() == '\r' || copied.front() == '\n')) {
        copied.erase(0, 1);
    }
    EXPECT_EQ(copied.substr(0, std::string("Šilas\tРига\t\t12").size()), "Šilas\tРига\t\t12");

    // Copying for the report keeps the no-break spaces.
    viewer_.CopyToClipboard();
    EXPECT_NE(QGuiApplication::clipboard()->text().toStdString().find("\xC2\xA0"),
              std::string::npos);
}

TEST_F(HtmlViewerTest, TheTitleIsTheDocumentsUnlessItIsBlank) {
    viewer_.SetTitle("Fallback");
    EXPECT_EQ(viewer_.GetTitle(), "Fallback");
    viewer_.LoadFromFile(dir_.Write("t.htm", "<TITLE>Monthly sales</TITLE><P>x").string());
    EXPECT_EQ(viewer_.GetTitle(), "Monthly sales");
    viewer_.LoadFromFile(dir_.Write("b.htm", "<TITLE>   </TITLE><P>x").string());
    EXPECT_EQ(viewer_.GetTitle(), "Fallback");

    viewer_.LoadFromFile(dir_.Write("u.htm", "<TITLE>Ąžuolas</TITLE><P>x").string());
    TestCanvas canvas(800, 100);
    bool stop = false;
    viewer_.PrintTitle(viewer_, canvas, 1, 800, 100, stop);
    EXPECT_FALSE(stop);
    ASSERT_GE(canvas.Log().size(), 3u);
    EXPECT_EQ(canvas.Log()[0].rfind("font Arial 8", 0), 0u) << canvas.Log()[0];
    EXPECT_EQ(canvas.Log()[1], "text 50,40 Ąžuolas");
    // The date and time end 50 pixels from the right edge (8 pixels a character).
    const std::string& stamp = canvas.Log()[2];
    ASSERT_EQ(stamp.rfind("text ", 0), 0u);
    const int x = std::stoi(stamp.substr(5));
    const std::u32string when = text::DecodeText(stamp.substr(stamp.find(' ', 5) + 1));
    EXPECT_EQ(x + 8 * static_cast<int>(when.size()), 800 - 50);
    EXPECT_NE(stamp.find(",40 "), std::string::npos);
}

TEST_F(HtmlViewerTest, PrintingLeavesTheApplicationsHeaderAndRemovesItsOwnTitle) {
    Load("report.htm", PagedReport(2));
    viewer_.SetTitlePrintStyle(psTop);
    viewer_.ThePrintClick(nullptr);  // without a report shown: the control prints directly
    EXPECT_FALSE(viewer_.Viewer().OnPrintHeader) << "the title header is removed after printing";
    EXPECT_FALSE(viewer_.Viewer().OnPrintFooter);

    int calls = 0;
    viewer_.SetPrintHeader([&calls](TComponent&, Canvas&, int, int, int, bool&) { ++calls; });
    viewer_.ThePrintClick(nullptr);
    EXPECT_EQ(calls, 2) << "the application's header on each of the two pages";
    ASSERT_TRUE(viewer_.Viewer().OnPrintHeader) << "the application's header stays";
    TestCanvas canvas(100, 100);
    bool stop = false;
    viewer_.Viewer().OnPrintHeader(viewer_.Viewer(), canvas, 1, 100, 100, stop);
    EXPECT_EQ(calls, 3);
    EXPECT_TRUE(canvas.Log().empty()) << "no title line over the application's header";
}

TEST_F(HtmlViewerTest, PrintingPutsTheTitleLineOnEveryReportPage) {
    Load("report.htm", PagedReport(3));
    viewer_.SetTitlePrintStyle(psTop);
    viewer_.ThePrintClick(nullptr);
    EXPECT_TRUE(host_.messages.empty()) << host_.messages[0].text;
    const std::string pdf = PrintedPdf();
    ASSERT_EQ(testing::PdfPageCount(pdf), 3) << "one sheet per report page";
    for (int page = 1; page <= 3; ++page) {
        const std::string text = testing::PdfText(pdf, page);
        EXPECT_NE(text.find("Sales"), std::string::npos) << "title line on page " << page;
        EXPECT_NE(text.find("Page " + std::to_string(page)), std::string::npos) << text;
    }
}

// Raw printers that record what they are sent and whether the report converted national
// letters while it sent it.
class ConvertingCheckPrinters : public testing::RecordingRawPrinters {
  public:
    explicit ConvertingCheckPrinters(const TQuillon& report) : report_(report) {}
    bool converting = false;

  protected:
    void Opened() override { converting = report_.PrinterCharConvert(); }

  private:
    const TQuillon& report_;
};

TEST_F(HtmlViewerTest, PrintTxtConvertsLettersForItsPrintOnlyAndTakesTheSectionsWidth) {
    const std::string ini =
        dir_.Write("QUILDOC.INI", "[lp]\n<WIDTH>=20\n<PRINTER>=Queue:\n").string();
    const char* old = std::getenv("QUILDOC_INI");
    const std::string saved = old != nullptr ? old : "";
    setenv("QUILDOC_INI", ini.c_str(), 1);
    ConvertingCheckPrinters printers(report_);
    report_.SetRawPrinters(&printers);
    Load("report.htm", "<center>Title</center>\r\nnext\r\n");
    viewer_.ThePrintTXTClick(nullptr);
    EXPECT_TRUE(printers.ports.empty()) << "no report attached before it is shown";
    ShowLoaded();
    report_.SetPrinterCharConvert(false);
    viewer_.ThePrintTXTClick(nullptr);
    if (old != nullptr) {
        setenv("QUILDOC_INI", saved.c_str(), 1);
    } else {
        unsetenv("QUILDOC_INI");
    }
    EXPECT_EQ(printers.ports, (std::vector<std::string>{"Queue:"}));
    EXPECT_TRUE(printers.converting);
    EXPECT_FALSE(report_.PrinterCharConvert());
    EXPECT_EQ(printers.bytes, "       Title\r\nnext\r\n");
}

TEST_F(HtmlViewerTest, BackAndForwardFollowTheHistory) {
    const std::string a = dir_.Write("a.htm", "<P>first</P>").string();
    const std::string b = dir_.Write("b.htm", "<P>second</P>").string();
    const std::string c = dir_.Write("c.htm", "<P>third</P>").string();
    viewer_.LoadFromFile(a);
    EXPECT_FALSE(viewer_.Button(vbViewerBack).isEnabled());
    EXPECT_FALSE(viewer_.Button(vbViewerForward).isEnabled());
    viewer_.LoadFromFile(b);
    viewer_.LoadFromFile(c);
    ASSERT_EQ(viewer_.GetHistory().size(), 3u);
    EXPECT_EQ(viewer_.GetHistoryIndex(), 0);
    EXPECT_TRUE(viewer_.Button(vbViewerBack).isEnabled());
    EXPECT_FALSE(viewer_.Button(vbViewerForward).isEnabled()) << "newest entry";

    viewer_.TheViewerBackClick(nullptr);
    EXPECT_EQ(viewer_.GetHistoryIndex(), 0) << "only the button goes back";
    viewer_.Button(vbViewerBack).click();
    viewer_.Button(vbViewerBack).click();
    EXPECT_EQ(viewer_.GetHistoryIndex(), 2);
    EXPECT_TRUE(std::filesystem::equivalent(viewer_.CurrentFile(), a));
    EXPECT_FALSE(viewer_.Button(vbViewerBack).isEnabled()) << "oldest entry";
    EXPECT_TRUE(viewer_.Button(vbViewerForward).isEnabled());
    viewer_.Button(vbViewerBack).click();
    EXPECT_EQ(viewer_.GetHistoryIndex(), 2);
    viewer_.Button(vbViewerForward).click();
    EXPECT_EQ(viewer_.GetHistoryIndex(), 1);
    EXPECT_TRUE(std::filesystem::equivalent(viewer_.CurrentFile(), b));

    // Clear empties the document and keeps the history.
    viewer_.Clear();
    EXPECT_EQ(viewer_.GetHistory().size(), 3u);
}

TEST_F(HtmlViewerTest, HelpShowsThePageOfTheWorkingFolderAndReturnsToTheReport) {
    const std::filesystem::path old = std::filesystem::current_path();
    std::filesystem::current_path(dir_.File(""));
    const std::string path = Load("report.htm", "<P>report</P>");
    ShowLoaded();
    QToolButton& help = viewer_.Button(vbViewerHelp);

    help.click();  // no help page here
    EXPECT_FALSE(help.isChecked());
    ASSERT_EQ(host_.messages.size(), 1u);
    EXPECT_NE(host_.messages[0].text.find("ViewHlp.htm"), std::string::npos);

    dir_.Write("ViewHlp.htm", "<P>How to use the viewer</P>");
    help.click();
    EXPECT_TRUE(help.isChecked());
    EXPECT_EQ(std::filesystem::path(viewer_.CurrentFile()).filename(), "ViewHlp.htm");
    EXPECT_FALSE(viewer_.Button(vbViewerBack).isEnabled()) << "history buttons rest with help";
    EXPECT_FALSE(viewer_.Button(vbViewerForward).isEnabled());
    help.click();
    EXPECT_FALSE(help.isChecked());
    EXPECT_TRUE(std::filesystem::equivalent(viewer_.CurrentFile(), path));
    std::filesystem::current_path(old);
}

TEST_F(HtmlViewerTest, AnEmbeddedViewerLivesInItsHostAndComesBack) {
    QWidget host;
    host.resize(400, 300);
    TQtWidgetRef ref(&host);
    report_.Viewer().ViewerParent.Set(&ref);
    Load("report.htm", PagedReport(2));
    EXPECT_EQ(viewer_.Viewer().parentWidget(), &host);
    EXPECT_EQ(viewer_.ToolPanel().parentWidget(), &host);
    report_.Show();
    EXPECT_FALSE(viewer_.Form().isVisible()) << "the host shows an embedded viewer";
    EXPECT_EQ(Caption(), "1/2");
    viewer_.Button(vbNext).click();
    EXPECT_EQ(Caption(), "2/2");

    report_.Viewer().ViewerParent.Set(nullptr);
    viewer_.SetViewerParent(nullptr);
    EXPECT_EQ(viewer_.Viewer().parentWidget(), &viewer_.ClientPanel());
    EXPECT_EQ(viewer_.ToolPanel().parentWidget(), &viewer_.Form());

    // A host that goes first gives the control and the tool panel back.
    auto other = std::make_unique<QWidget>();
    TQtWidgetRef other_ref(other.get());
    viewer_.SetViewerParent(&other_ref);
    ASSERT_EQ(viewer_.Viewer().parentWidget(), other.get());
    other.reset();
    EXPECT_EQ(viewer_.Viewer().parentWidget(), &viewer_.ClientPanel());
    EXPECT_EQ(viewer_.ToolPanel().parentWidget(), &viewer_.Form());
    EXPECT_EQ(viewer_.GetViewerParent(), nullptr);
    Load("report.htm", PagedReport(2));
    EXPECT_EQ(viewer_.GetLastPageNumber(), 2) << "the control still works";
}

TEST_F(HtmlViewerTest, MailSendsTheReportFileThroughTheStorage) {
    testing::RecordingStorage storage;
    storage.attachments = {"old.htm"};
    report_.SetXStorage(&storage);
    const std::string path = Load("report.htm", "<P>x</P>");
    viewer_.TheSendReportClick(nullptr);
    EXPECT_TRUE(storage.calls.empty()) << "no report attached before it is shown";
    ShowLoaded();
    viewer_.Button(vbStorage).click();
    EXPECT_EQ(storage.attachments, (TStrings{path}));
    EXPECT_EQ(storage.calls, (TStrings{"Logon", "Send", "Logoff"}));
    report_.SetXStorage(nullptr);
}

TEST_F(HtmlViewerTest, EventsReachTheApplicationWithTheViewerAsSender) {
    TComponent* sender = nullptr;
    std::string clicked;
    viewer_.SetHotSpot([&](TComponent& s, const std::string& src, bool& handled) {
        sender = &s;
        clicked = src;
        handled = true;
    });
    bool handled = false;
    viewer_.Viewer().OnHotSpotClick(viewer_.Viewer(), "next.htm", handled);
    EXPECT_TRUE(handled);
    EXPECT_EQ(clicked, "next.htm");
    EXPECT_EQ(sender, &viewer_);
    viewer_.SetHotSpot(nullptr);
    EXPECT_FALSE(viewer_.Viewer().OnHotSpotClick);

    viewer_.SetHotSpotStyle(0);
    EXPECT_EQ(TCustomRepViewer::SharedHotSpotStyle(), 0);
    viewer_.SetHotSpotStyle(kFontStyleUnderline);
    EXPECT_EQ(viewer_.GetHotSpotStyle(), kFontStyleUnderline);
}

#ifdef QUILLON_HAS_QTEST
// The window's signals: pages from the buttons and from scrolling, links, history and
// forms from the control; a slot that throws becomes a message, as a failing handler does.
TEST_F(HtmlViewerTest, TheWindowSignalsPagesLinksHistoryAndForms) {
    QSignalSpy pages(&viewer_.Signals(), &TReportViewerSignals::pageChanged);
    QSignalSpy covered(&viewer_.Signals(), &TReportViewerSignals::hotSpotCovered);
    QSignalSpy clicked(&viewer_.Signals(), &TReportViewerSignals::hotSpotClicked);
    QSignalSpy history(&viewer_.Signals(), &TReportViewerSignals::historyChanged);
    QSignalSpy submitted(&viewer_.Signals(), &TReportViewerSignals::formSubmitted);
    dir_.Write("next.htm", "<TITLE>Next</TITLE><P>arrived</P>");
    Load("report.htm", "<P>See <A HREF=next.htm>onward</A></P>" + PagedReport(3));
    ShowLoaded();
    ASSERT_GE(pages.count(), 1);
    EXPECT_EQ(pages.last(), (QList<QVariant>{1, 3}));
    viewer_.Button(vbNext).click();
    EXPECT_EQ(pages.last(), (QList<QVariant>{2, 3}));
    const qsizetype before = pages.count();
    viewer_.Button(vbNext).click();
    viewer_.Button(vbNext).click();  // on the last page: nothing new to say
    EXPECT_EQ(pages.count(), before + 1);
    EXPECT_EQ(pages.last(), (QList<QVariant>{3, 3}));
    viewer_.Viewer().ScrollTo(0);  // scrolling moves the page box too
    EXPECT_EQ(pages.last(), (QList<QVariant>{1, 3}));

    THTMLViewer& control = viewer_.Viewer();
    const QPoint link = quillon::testing::PointOf(control, "onward");
    quillon::testing::Hover(control, link);
    ASSERT_EQ(covered.count(), 1);
    EXPECT_EQ(covered.at(0).at(0).toString(), "next.htm");
    quillon::testing::Click(control, link);
    ASSERT_EQ(clicked.count(), 1);
    EXPECT_EQ(clicked.at(0).at(0).toString(), "next.htm");
    EXPECT_EQ(control.Title(), "Next");
    EXPECT_GE(history.count(), 1);

    control.LoadFromBuffer("<FORM ACTION=go.htm><INPUT NAME=q VALUE=x><INPUT TYPE=submit></FORM>");
    control.PaintPanel().repaint();
    auto buttons = control.PaintPanel().findChildren<QAbstractButton*>();
    ASSERT_EQ(buttons.size(), 1);
    buttons[0]->click();
    ASSERT_TRUE(submitted.wait(1000));
    EXPECT_EQ(submitted.at(0).at(2).toStringList(), QStringList{"q=x"});

    // A slot that throws while the window handles a button.
    QObject::connect(&viewer_.Signals(), &TReportViewerSignals::pageChanged, &viewer_.Signals(),
                     [](int, int) { throw std::runtime_error("page slot failed"); });
    Load("report.htm", PagedReport(3));
    ShowLoaded();
    host_.messages.clear();
    viewer_.Button(vbNext).click();
    ASSERT_FALSE(host_.messages.empty());
    EXPECT_EQ(host_.messages.back().text, "page slot failed");
    EXPECT_EQ(Caption(), "2/3");
    QObject::disconnect(&viewer_.Signals(), &TReportViewerSignals::pageChanged, &viewer_.Signals(),
                        nullptr);
    // A handler of the application that throws on a link: a message, not a crash.
    viewer_.SetHotSpotDescr(
        [](TComponent&, const std::string&) { throw std::runtime_error("hover handler failed"); });
    host_.messages.clear();
    control.LoadFromBuffer("<P>See <A HREF=other.htm>onward</A></P>");
    quillon::testing::Hover(control, quillon::testing::PointOf(control, "onward"));
    ASSERT_EQ(host_.messages.size(), 1u);
    EXPECT_EQ(host_.messages[0].text, "hover handler failed");
    viewer_.SetHotSpotDescr(nullptr);
}
#endif

TEST_F(HtmlViewerTest, AWindowThatIsNotMaximizedKeepsItsSizeWhenShown) {
    // The window was maximized when it was made; the report's parameters say otherwise.
    Load("report.htm", "<P>x</P>");
    ShowLoaded();
    QApplication::processEvents();
    EXPECT_FALSE(viewer_.Form().isMaximized());
    EXPECT_EQ(viewer_.Form().size(), QSize(500, 300));
    viewer_.CloseWindow();
    report_.Viewer().WMaximize = true;
    Load("report.htm", "<P>x</P>");
    ShowLoaded();
    EXPECT_TRUE(viewer_.Form().isMaximized());
}

TEST(ViewerChoice, ByContentThenExtension) {
    EXPECT_EQ(ViewerKindFor("r.txt", "{\\rtf1 x}"), ReportViewerKind::Rtf);
    EXPECT_EQ(ViewerKindFor("r", "\xEF\xBB\xBF  {\\rtf1"), ReportViewerKind::Rtf);
    EXPECT_EQ(ViewerKindFor("r.HTM", "plain"), ReportViewerKind::Html);
    EXPECT_EQ(ViewerKindFor("r.h04", ""), ReportViewerKind::Html);
    EXPECT_EQ(ViewerKindFor("r.rtf", "not rich"), ReportViewerKind::Txt);
    EXPECT_EQ(ViewerKindFor("r.txt", "<TABLE>"), ReportViewerKind::Txt);
    EXPECT_EQ(ViewerKindFor("PRX", "<Table border=1>"), ReportViewerKind::Html);
    EXPECT_EQ(ViewerKindFor("PRX", "Total 12 < 13"), ReportViewerKind::Txt);
    EXPECT_EQ(ViewerKindForTemplate("a.html"), ReportViewerKind::Html);
    EXPECT_EQ(ViewerKindForTemplate("a.RTF"), ReportViewerKind::Rtf);
    EXPECT_EQ(ViewerKindForTemplate("a.txt"), ReportViewerKind::Txt);

    EXPECT_NE(dynamic_cast<TrptHTMLViewer*>(MakeReportViewer(ReportViewerKind::Html).get()),
              nullptr);
    EXPECT_NE(dynamic_cast<TrptTXTViewer*>(MakeReportViewer(ReportViewerKind::Txt).get()), nullptr);
    auto rtf = MakeReportViewer(ReportViewerKind::Rtf);
    EXPECT_NE(dynamic_cast<TrptRTFViewer*>(rtf.get()), nullptr);
    EXPECT_EQ(dynamic_cast<TrptTXTViewer*>(rtf.get()), nullptr);
}

}  // namespace
}  // namespace quillon
