// The viewer with hostile compiled files: its pages reach nothing but their
// own file (a local web server sees no connection), a clicked web link goes
// to the desktop's browser, and searching a file whose 2,000 pages are one
// 8 MB page keeps the window responsive, its memory bounded, shows progress
// and can be stopped.
#include <gtest/gtest.h>

#include <QDesktopServices>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTcpServer>
#include <QTimer>
#include <QWebEngineView>

#include "tests/unit/crafted_chm.h"
#include "viewer/chm_document.h"
#include "viewer/viewer_window.h"
#include "viewer_fixture.h"

using namespace viewer_test;

namespace {

// Takes the URLs the desktop would open.
class DesktopUrls : public QObject {
  Q_OBJECT
 public:
  explicit DesktopUrls(const QStringList& schemes) : schemes(schemes) {
    for (const QString& scheme : schemes) QDesktopServices::setUrlHandler(scheme, this, "Open");
  }
  ~DesktopUrls() override {
    for (const QString& scheme : schemes) QDesktopServices::unsetUrlHandler(scheme);
  }
  QList<QUrl> opened;

 public slots:
  void Open(const QUrl& url) { opened.append(url); }

 private:
  QStringList schemes;
};

// A viewer window of its own on a compiled file.
ViewerWindow* OpenViewer(const QString& chm) {
  auto document = std::make_shared<ChmDocument>();
  if (const Status opened = document->Open(chm); !opened) {
    ADD_FAILURE() << opened.Message().toStdString();
    return nullptr;
  }
  auto* viewer = new ViewerWindow(document, {});
  viewer->show();
  return viewer;
}

qint64 ResidentKilobytes() {
  QFile status("/proc/self/status");
  if (!status.open(QIODevice::ReadOnly)) return 0;
  for (const QByteArray& line : status.readAll().split('\n')) {
    if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').value(0).toLongLong();
  }
  return 0;
}

TEST(ViewerSafety, PagesReachOnlyTheirOwnFileAndWebLinksGoToTheBrowser) {
  QTcpServer server;
  ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
  int connections = 0;
  QObject::connect(&server, &QTcpServer::newConnection, [&] {
    ++connections;
    while (QTcpSocket* socket = server.nextPendingConnection()) socket->close();
  });
  const QByteArray web = "http://127.0.0.1:" + QByteArray::number(server.serverPort());
  SampleProject sample;
  sample.Write();
  // Every way a page asks for something: style sheet, preconnect and
  // prefetch, script, picture, frame, a local file, fetch, XMLHttpRequest,
  // a web socket, a beacon, and a script that sends the page elsewhere.
  QByteArray html =
      "<html><head><link rel=\"stylesheet\" href=\"WEB/c.css\"><link rel=\"preconnect\" href=\"WEB\">"
      "<link rel=\"prefetch\" href=\"WEB/next\"><script src=\"WEB/s.js\"></script></head><body>\r\n"
      "<img src=\"WEB/p.png\"><iframe src=\"WEB/frame\"></iframe><img src=\"file:///etc/passwd\">\r\n"
      "<a id=\"web\" href=\"WEB/clicked\">web</a> <a id=\"mail\" href=\"mailto:a@example.com\">mail</a>\r\n"
      "<script>fetch('WEB/fetch').catch(function () {});\r\n"
      "var x = new XMLHttpRequest(); x.open('GET', 'WEB/xhr'); x.send();\r\n"
      "new Image().src = 'WEB/image'; navigator.sendBeacon('WEB/beacon', 'x');\r\n"
      "try { new WebSocket('WEB/socket'.replace('http', 'ws')); } catch (e) {}\r\n"
      "addEventListener('load', function () { location.href = 'WEB/moved'; });</script></body></html>\r\n";
  html.replace("WEB", web);
  orvex_test::writeBytes(sample.project.folder + "/My_Guide01.htm", html);
  ASSERT_TRUE(sample.Compile());
  DesktopUrls desktop({"http", "mailto"});
  std::unique_ptr<ViewerWindow> viewer(OpenViewer(sample.project.chmPath()));
  ASSERT_NE(viewer, nullptr);
  viewer->setAttribute(Qt::WA_DeleteOnClose, false);
  viewer->ShowDefaultTopic();
  ASSERT_TRUE(WaitForTopic(viewer.get(), "/My_Guide01.htm"));
  QTest::qWait(1500);
  EXPECT_EQ(connections, 0) << "a page reached the local server";
  EXPECT_TRUE(desktop.opened.isEmpty())
      << "a script sent the desktop to " << desktop.opened.value(0).toString().toStdString();
  EXPECT_EQ(viewer->CurrentEntry(), "/My_Guide01.htm");

  QWebEnginePage* page = viewer->topicView->page();
  // The user clicks each link with the mouse.
  const auto click = [&](const char* id) {
    const QVariantList at =
        RunJs(page,
              QString("var r = document.getElementById('%1').getBoundingClientRect(); [r.x + 3, r.y + 3]")
                  .arg(id))
            .toList();
    ASSERT_EQ(at.size(), 2);
    QTest::mouseClick(viewer->topicView->focusProxy(), Qt::LeftButton, {},
                      QPoint(at[0].toInt(), at[1].toInt()));
  };
  click("web");
  ASSERT_TRUE(WaitUntil([&] { return desktop.opened.size() == 1; }, 10000));
  click("mail");
  ASSERT_TRUE(WaitUntil([&] { return desktop.opened.size() == 2; }, 10000));
  EXPECT_EQ(desktop.opened.value(0).toString(), QString::fromLatin1(web + "/clicked"));
  EXPECT_EQ(desktop.opened.value(1).toString(), "mailto:a@example.com");
  QTest::qWait(500);
  EXPECT_EQ(viewer->CurrentEntry(), "/My_Guide01.htm");
  EXPECT_EQ(connections, 0) << "the click reached the local server";
}

// A compiled file whose 2,000 pages all give one 8 MB page: compiled with
// pages of their own, then each listing entry pointed at the large page.
QString ManyNamesForOnePage(const QString& folder) {
  QByteArray files = "!big.htm\r\n";
  for (int i = 0; i < 2000; ++i) {
    const QByteArray name = QByteArray("p") + QByteArray::number(i).rightJustified(4, '0') + ".htm";
    files += name + "\r\n";
    orvex_test::writeBytes(folder + "/" + name, "<html><body>" + QByteArray(200, 'x') + "</body></html>");
  }
  QByteArray big = "<html><head><title>Big</title></head><body>";
  big += QByteArray("word and more words ").repeated((8000000 - 100) / 20);
  big += "</body></html>";
  orvex_test::writeBytes(folder + "/!big.htm", big);
  orvex_test::writeBytes(folder + "/many.hhp",
                         "[OPTIONS]\r\nCompiled file=many.chm\r\nTitle=Many\r\nDefault topic=p0000.htm\r\n"
                         "Language=0x0409 English (United States)\r\n\r\n[FILES]\r\n" +
                             files);
  QByteArray output;
  const int code = orvex_test::runTool(orvex_test::tool("hhc"), {folder + "/many.hhp"},
                                       QProcessEnvironment::systemEnvironment(), &output);
  EXPECT_EQ(code, 0) << output.toStdString();
  const QString chm = folder + "/many.chm";
  QByteArray bytes = orvex_test::readBytes(chm);
  const orvex_test::ChmLayout layout = orvex_test::ReadLayout(bytes);
  const orvex_test::CraftedEntry target = orvex_test::FindCraftedEntry(bytes, layout, "/!big.htm");
  int pointed = 0;
  for (quint64 chunk = 0; chunk < layout.chunkCount; ++chunk) {
    if (!orvex_test::IsListing(bytes, layout, chunk)) continue;
    QList<orvex_test::CraftedEntry> entries = orvex_test::ChunkEntries(bytes, layout, chunk);
    for (orvex_test::CraftedEntry& entry : entries) {
      if (!entry.name.startsWith("/p") || !entry.name.endsWith(".htm")) continue;
      entry.space = target.space;
      entry.start = target.start;
      entry.length = target.length;
      ++pointed;
    }
    EXPECT_TRUE(orvex_test::WriteChunkEntries(bytes, layout, chunk, entries)) << "chunk " << chunk;
  }
  EXPECT_EQ(pointed, 2000);
  orvex_test::writeBytes(chm, bytes);
  return chm;
}

TEST(ViewerSafety, SearchingTwoThousandNamesOfOneLargePageKeepsTheWindowResponsive) {
  QTemporaryDir dir;
  const QString chm = ManyNamesForOnePage(dir.path());
  ASSERT_FALSE(HasFailure());
  {
    ChmDocument document;
    ASSERT_TRUE(document.Open(chm));
    ASSERT_EQ(document.PagePaths().size(), 2001);
    ASSERT_EQ(document.EntryOf("/p1999.htm")->length, document.EntryOf("/!big.htm")->length);
  }
  std::unique_ptr<ViewerWindow> viewer(OpenViewer(chm));
  ASSERT_NE(viewer, nullptr);
  viewer->setAttribute(Qt::WA_DeleteOnClose, false);

  // Stopped at once: nothing listed, and it says so.
  viewer->RunSearch("word");
  EXPECT_FALSE(viewer->searchProgress->isHidden());
  viewer->searchStop->click();
  ASSERT_TRUE(WaitUntil([&] { return !viewer->SearchRunning(); }, 60000));
  QTest::qWait(100);
  EXPECT_EQ(viewer->searchResults->count(), 0);
  EXPECT_EQ(viewer->searchStatus->text(), "The search was stopped.");
  EXPECT_TRUE(viewer->searchProgress->isHidden());

  // Run to its end while the window's thread is watched.
  const qint64 before = ResidentKilobytes();
  qint64 peak = before;
  qint64 longestGap = 0;
  bool progressShown = false;
  QElapsedTimer sinceTick;
  sinceTick.start();
  QTimer ticks;
  QObject::connect(&ticks, &QTimer::timeout, [&] {
    longestGap = std::max(longestGap, sinceTick.restart());
    peak = std::max(peak, ResidentKilobytes());
    progressShown =
        progressShown || (!viewer->searchProgress->isHidden() && viewer->searchProgress->maximum() == 2001);
  });
  ticks.start(20);
  // A fast search may be done between two ticks: each step of the bar counts too.
  QObject::connect(viewer->searchProgress, &QProgressBar::valueChanged, &ticks, [&] {
    progressShown =
        progressShown || (!viewer->searchProgress->isHidden() && viewer->searchProgress->maximum() == 2001);
  });
  QElapsedTimer took;
  took.start();
  viewer->RunSearch("WORDS and");
  ASSERT_TRUE(WaitUntil([&] { return !viewer->SearchRunning(); }, 300000));
  QTest::qWait(100);
  ticks.stop();
  EXPECT_EQ(viewer->searchResults->count(), 2001);
  EXPECT_EQ(viewer->searchStatus->text(), "2001 topics found.");
  EXPECT_TRUE(progressShown);
  EXPECT_LT(longestGap, 2000) << "the window did not answer for " << longestGap << " ms";
  EXPECT_LT(peak - before, 1024 * 1024) << "memory grew by " << (peak - before) / 1024 << " MB";
  RecordProperty("search_ms", int(took.elapsed()));
  RecordProperty("longest_gap_ms", int(longestGap));
  RecordProperty("memory_growth_mb", int((peak - before) / 1024));
}

}  // namespace

#include "viewer_safety_test.moc"
