#include "build/decompiler.h"

#include "build/ansi_text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>

#include <unicode/uloc.h>

#include <algorithm>

#include <fcntl.h>
#include <unistd.h>

namespace orvex {
namespace {

constexpr int kMaxNameLength = 1024;

QString displayNameOf(quint32 lcid)
{
    char locale[ULOC_FULLNAME_CAPACITY] = {};
    UErrorCode status = U_ZERO_ERROR;
    uloc_getLocaleForLCID(lcid, locale, sizeof locale, &status);
    if (U_FAILURE(status) || locale[0] == '\0')
        return {};
    UChar name[256] = {};
    status = U_ZERO_ERROR;
    const int32_t length = uloc_getDisplayName(locale, "en", name, 255, &status);
    if (U_FAILURE(status) || length <= 0)
        return {};
    return QString::fromUtf16(name, length);
}

// The folder below root for the parts, made when missing; empty when a part
// is a symbolic link or a file.
QString makeFolders(const QString &root, const QStringList &parts, QString *problem)
{
    QString current = root;
    for (const QString &part : parts) {
        current += u'/' + part;
        const QFileInfo info(current);
        if (info.isSymLink()) {
            *problem = QStringLiteral("a symbolic link is in the way: %1").arg(current);
            return {};
        }
        if (info.exists() && !info.isDir()) {
            *problem = QStringLiteral("a file is in the way: %1").arg(current);
            return {};
        }
        if (!info.exists() && !QDir().mkdir(current)) {
            *problem = QStringLiteral("cannot create the folder %1").arg(current);
            return {};
        }
    }
    return current;
}

bool writeEntry(const ChmFile &chm, const ChmEntry &entry, const QString &target, QString *problem)
{
    const QFileInfo info(target);
    if (info.isSymLink()) {
        *problem = QStringLiteral("a symbolic link is in the way: %1").arg(target);
        return false;
    }
    if (info.isDir()) {
        *problem = QStringLiteral("a folder is in the way: %1").arg(target);
        return false;
    }
    // O_NOFOLLOW: a link planted after the check above is not followed either.
    const int fd = ::open(QFile::encodeName(target).constData(),
                          O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0) {
        *problem = QStringLiteral("cannot write %1").arg(target);
        return false;
    }
    QFile file;
    if (!file.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        *problem = QStringLiteral("cannot write %1").arg(target);
        return false;
    }
    const bool ok = chm.readInPieces(entry, [&file](const QByteArray &piece) {
        return file.write(piece) == piece.size();
    });
    file.close();
    if (!ok) {
        QFile::remove(target);
        *problem = QStringLiteral("the entry cannot be read");
        return false;
    }
    return true;
}

} // namespace

bool isSourceEntry(const ChmEntry &entry)
{
    if (!entry.isFile || !entry.isNormal || !entry.path.startsWith(u'/'))
        return false;
    const QString first = entry.path.mid(1).section(u'/', 0, 0);
    if (first.startsWith(u'#') || first.startsWith(u'$'))
        return false;
    return entry.path != QLatin1String("/_#_README_#_");
}

QString safeEntryName(const QString &entryPath)
{
    if (!entryPath.startsWith(u'/') || entryPath.size() > kMaxNameLength)
        return {};
    QString name = entryPath.mid(1);
    name.replace(u'\\', u'/');
    const QStringList parts = name.split(u'/');
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString &part = parts[i];
        if (part.isEmpty() || part == u'.' || part == QLatin1String(".."))
            return {};
        for (QChar c : part) {
            if (c.unicode() < 32 || c.unicode() == 127)
                return {};
        }
        if (i == 0 && part.size() == 2 && part[1] == u':')
            return {}; // a drive letter
    }
    return parts.join(u'/');
}

QString languageTextOf(quint32 lcid)
{
    if (lcid == 0)
        return {};
    QString text = QStringLiteral("0x") + QString::number(lcid, 16).toUpper().rightJustified(4, u'0');
    const QString name = displayNameOf(lcid);
    if (!name.isEmpty())
        text += u' ' + name;
    return text;
}

QStringList decompiledProjectLines(const ChmSystemInfo &info, const QString &chmFileName,
                                   const QStringList &files)
{
    const QString base = QFileInfo(chmFileName).completeBaseName();
    QStringList lines{QStringLiteral("[OPTIONS]"), QStringLiteral("Compatibility=1.1 or later"),
                      QStringLiteral("Compiled file=") + chmFileName};
    if (!info.contentsFile.isEmpty())
        lines.append(QStringLiteral("Contents file=") + info.contentsFile);
    lines.append(QStringLiteral("Display compile progress=No"));
    if (!info.indexFile.isEmpty())
        lines.append(QStringLiteral("Index file=") + info.indexFile);
    lines.append(QStringLiteral("Full-text search=Yes"));
    lines.append(QStringLiteral("Title=") + (info.title.isEmpty() ? base : info.title));
    const QString language = languageTextOf(info.lcid);
    if (!language.isEmpty())
        lines.append(QStringLiteral("Language=") + language);
    lines.append(QStringLiteral("Error log file=") + base + QStringLiteral(".log"));
    if (!info.defaultTopic.isEmpty())
        lines.append(QStringLiteral("Default topic=") + info.defaultTopic);
    lines.append(QString());
    lines.append(QStringLiteral("[FILES]"));
    QString first = info.defaultTopic;
    if (first.startsWith(u'/'))
        first.remove(0, 1);
    if (!first.isEmpty())
        lines.append(first);
    const QSet<QString> sitemaps{info.contentsFile.toCaseFolded(), info.indexFile.toCaseFolded(),
                                 first.toCaseFolded()};
    for (const QString &f : files) {
        if (!sitemaps.contains(f.toCaseFolded()))
            lines.append(f);
    }
    return lines;
}

DecompileResult decompileChm(const QString &chmPath, const QString &folder)
{
    DecompileResult result;
    ChmFile chm;
    if (!chm.open(chmPath)) {
        result.problems.append(QStringLiteral("Cannot read the compiled file %1").arg(chmPath));
        return result;
    }
    result.opened = true;
    if (!QDir().mkpath(folder)) {
        result.problems.append(QStringLiteral("Cannot create the folder %1").arg(folder));
        return result;
    }
    const QString root = QFileInfo(folder).canonicalFilePath();

    for (const ChmEntry &entry : chm.entries()) {
        if (!isSourceEntry(entry))
            continue;
        const QString name = safeEntryName(entry.path);
        if (name.isEmpty()) {
            result.problems.append(QStringLiteral("Skipped %1: the name would leave the folder").arg(entry.path));
            continue;
        }
        QStringList parts = name.split(u'/');
        const QString fileName = parts.takeLast();
        QString problem;
        const QString dir = makeFolders(root, parts, &problem);
        if (dir.isEmpty() || !writeEntry(chm, entry, dir + u'/' + fileName, &problem)) {
            result.problems.append(QStringLiteral("Skipped %1: %2").arg(entry.path, problem));
            continue;
        }
        result.written.append(name);
    }

    const QString chmName = QFileInfo(chmPath).fileName();
    const QString projectName = QFileInfo(chmName).completeBaseName() + QStringLiteral(".hhp");
    const bool heldOne = std::any_of(result.written.cbegin(), result.written.cend(), [&](const QString &w) {
        return w.compare(projectName, Qt::CaseInsensitive) == 0;
    });
    if (heldOne) {
        result.problems.append(QStringLiteral("The compiled file holds %1 itself; it was kept").arg(projectName));
        return result;
    }
    const QString projectPath = root + u'/' + projectName;
    if (QFileInfo(projectPath).isSymLink()) {
        result.problems.append(QStringLiteral("Skipped %1: a symbolic link is in the way").arg(projectName));
        return result;
    }
    QSaveFile project(projectPath);
    if (project.open(QIODevice::WriteOnly)
        && project.write(joinAnsiLines(decompiledProjectLines(chm.systemInfo(), chmName, result.written))) >= 0
        && project.commit()) {
        result.projectFile = projectPath;
    } else {
        result.problems.append(QStringLiteral("Cannot write the project file %1").arg(projectPath));
    }
    return result;
}

} // namespace orvex
