#include "data/Files.h"

#include "data/Format.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

using namespace Qt::Literals::StringLiterals;

namespace {
QString& rootOverride()
{
    static QString root;
    return root;
}
} // namespace

QString SafeFileName(const QString& name)
{
    QString out = name;
    for (QChar& c : out) {
        const char16_t u = c.unicode();
        if (u < 0x20 || u == 0x7F || u == u'/' || u == u'\\' || u == u':' || u == u'*' || u == u'?'
            || u == u'"' || u == u'<' || u == u'>' || u == u'|')
            c = u'_';
    }
    // "." and ".." name folders: a name of dots and blanks alone becomes "_" throughout
    if (!out.isEmpty() && std::all_of(out.begin(), out.end(), [](QChar c) { return c == u'.' || c == u' '; }))
        out.fill(u'_');
    return out;
}

void setOutputRoot(const QString& root)
{
    rootOverride() = root;
}

bool CanHoldWorkingFolders(const QString& folder)
{
    const QFileInfo info(folder);
    if (!info.isDir())
        return false;
    const QString canonical = info.canonicalFilePath(); // /bin and /sbin lead into /usr
    if (canonical == u"/usr"_s || canonical.startsWith(u"/usr/"_s))
        return false;
    // The permission bits do not tell the whole story (root, read-only mounts,
    // access lists): try it.
    QTemporaryFile probe(QDir(folder).filePath(u".talvira-XXXXXX"_s));
    return probe.open();
}

QString chooseOutputRoot(const QString& programFolder, const QString& documentsFolder,
                         const std::function<bool(const QString&)>& canHold)
{
    if (canHold(programFolder))
        return programFolder;
    const QString documents = documentsFolder.isEmpty() ? QDir::homePath() : documentsFolder;
    return QDir(documents).filePath(u"Тальвира"_s);
}

QString outputRoot()
{
    if (!rootOverride().isEmpty())
        return rootOverride();
    static const QString chosen
        = chooseOutputRoot(QCoreApplication::applicationDirPath(),
                           QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    if (chosen != QCoreApplication::applicationDirPath())
        QDir().mkpath(chosen); // a failure shows when the working folder cannot be made
    return chosen;
}

QString OutputFolder(const QString& name)
{
    return QDir(outputRoot()).filePath(name);
}

QString CounterFileName(const QString& folder, const QString& base, const QString& extension, const QDate& date)
{
    const QString name = SafeFileName(base + DateToStr(date)) + extension;
    for (int n = 0;; ++n) {
        const QString path = QDir(folder).filePath(u"("_s + QString::number(n) + u")"_s + name);
        if (!QFileInfo::exists(path))
            return path;
    }
}
