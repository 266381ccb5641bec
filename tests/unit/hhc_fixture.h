#pragma once
// A small help project written into a temporary folder, the way the
// program's projects look: only the first page under [FILES], context
// numbers through an included alias file and map file.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace orvex_test {

inline void writeBytes(const QString& path, const QByteArray& bytes) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
  f.write(bytes);
}

inline QByteArray readBytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Every file below folder (relative name -> bytes).
inline QMap<QString, QByteArray> snapshot(const QString& folder) {
  QMap<QString, QByteArray> files;
  QDir dir(folder);
  const auto list = dir.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
  for (const QFileInfo& info : list) {
    if (info.isDir()) {
      const auto sub = snapshot(info.absoluteFilePath());
      for (auto it = sub.cbegin(); it != sub.cend(); ++it)
        files.insert(info.fileName() + '/' + it.key(), it.value());
    } else {
      files.insert(info.fileName(), readBytes(info.absoluteFilePath()));
    }
  }
  return files;
}

struct HelpProject {
  QString folder;
  QString projectPath() const { return folder + "/My Guide.hhp"; }
  QString chmPath() const { return folder + "/My Guide.chm"; }
  QString logPath() const { return folder + "/My Guide.log"; }
  QByteArray page1, page2, page3;

  void write(const QString& where) {
    folder = where;
    writeBytes(
        projectPath(),
        "[OPTIONS]\r\nCompatibility=1.1 or later\r\nCompiled file=My Guide.chm\r\n"
        "Contents file=My Guide.hhc\r\nDisplay compile progress=No\r\n"
        "Index file=My Guide.hhk\r\nFull-text search=Yes\r\nTitle=Printer Guide\r\n"
        "Language=0x0409 English (United States)\r\nError log file=My Guide.log\r\n"
        "Default topic=My_Guide01.htm\r\n\r\n[FILES]\r\nMy_Guide01.htm\r\nMy Guide.css\r\n"
        "My GuideP.js\r\n\r\n[ALIAS]\r\n#include My Guide.ali\r\n\r\n[MAP]\r\n#include My Guide.h\r\n");
    writeBytes(folder + "/My Guide.ali",
               "IDH_My_Guide01=My_Guide01.htm\r\nIDH_My_Guide02=My_Guide02.htm\r\nIDH_My_Guide03=My_Guide03."
               "htm\r\n");
    writeBytes(
        folder + "/My Guide.h",
        "#define IDH_My_Guide01  101\r\n#define IDH_My_Guide02\t102\r\n#define  IDH_My_Guide03 0x67\r\n");
    page1 =
        "<html><head><link rel=\"stylesheet\" href=\"My Guide.css\"></head>\r\n"
        "<body><p>One \xe9t\xe9</p><a href=\"My_Guide02.htm\">two</a><img src=\"pic.png\"></body></html>\r\n";
    page2 =
        "<html><head><link rel=\"stylesheet\" href=\"My Guide.css\"></head><body>"
        "<a href=\"My_Guide01.htm#top\">one</a>\r\n"
        "<OBJECT id=hhctrl type=\"application/x-oleobject\" "
        "classid=\"clsid:adb880a6-d8ff-11cf-9377-00aa003b7a11\">\r\n"
        "<PARAM name=\"Command\" value=\"Splash\">\r\n<PARAM name=\"Item1\" value=\"splash.png\">\r\n"
        "<PARAM name=\"Item2\" value=\"3000\">\r\n</OBJECT></body></html>\r\n";
    page3 = "<html><body><p>Three, only in the contents.</p></body></html>\r\n";
    writeBytes(folder + "/My_Guide01.htm", page1);
    writeBytes(folder + "/My_Guide02.htm", page2);
    writeBytes(folder + "/My_Guide03.htm", page3);
    writeBytes(folder + "/My Guide.css", "body { background: url(\"bg.png\"); }\r\n");
    writeBytes(folder + "/My GuideP.js", "// pop-up texts\r\n");
    writeBytes(folder + "/pic.png", QByteArray("\x89PNG\r\n\x1a\npicture", 15));
    writeBytes(folder + "/bg.png", QByteArray("\x89PNG\r\n\x1a\nbackground", 18));
    writeBytes(folder + "/splash.png", QByteArray("\x89PNG\r\n\x1a\nsplash", 14));
    const QByteArray head =
        "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 3.2//EN\">\r\n<HTML>\r\n<HEAD>\r\n"
        "<META NAME=\"GENERATOR\" CONTENT=\"Orvex\">\r\n<!-- Sitemap 1.0 -->\r\n"
        "</HEAD><BODY>\r\n";
    auto entry = [](const char* name, const char* file) {
      return QByteArray("<LI> <OBJECT type=\"text/sitemap\">\r\n<param name=\"Name\" value=\"") + name +
             "\">\r\n<param name=\"Local\" value=\"" + file + "\">\r\n</OBJECT>\r\n";
    };
    writeBytes(folder + "/My Guide.hhc",
               head +
                   "<OBJECT type=\"text/site properties\">\r\n"
                   "<param name=\"Window Styles\" value=\"0x800025\">\r\n"
                   "<param name=\"ImageType\" value=\"Folder\">\r\n</OBJECT>\r\n<UL>\r\n" +
                   entry("One", "My_Guide01.htm") + entry("Two", "My_Guide02.htm") +
                   entry("Three", "My_Guide03.htm") + "</UL>\r\n</BODY></HTML>\r\n");
    writeBytes(
        folder + "/My Guide.hhk",
        head +
            "<UL>\r\n\r\n<LI> <OBJECT type=\"text/sitemap\">\r\n"
            "<param name=\"Keyword\" value=\"three\">\r\n<param name=\"Name\" value=\"Three\">\r\n"
            "<param name=\"Local\" value=\"My_Guide03.htm\">\r\n</OBJECT>\r\n</UL>\r\n</BODY></HTML>\r\n");
  }
};

inline QString tool(const char* name) { return QStringLiteral(ORVEX_BIN_DIR) + '/' + name; }

// Runs a tool; returns its exit code (-1 when it did not run to the end).
inline int runTool(const QString& program, const QStringList& args,
                   const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment(),
                   QByteArray* output = nullptr) {
  QProcess p;
  p.setProcessEnvironment(env);
  p.setProcessChannelMode(QProcess::MergedChannels);
  p.start(program, args);
  if (!p.waitForStarted(10000) || !p.waitForFinished(120000)) {
    p.kill();
    p.waitForFinished(5000);
    return -1;
  }
  if (output) *output = p.readAll();
  return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

}  // namespace orvex_test
