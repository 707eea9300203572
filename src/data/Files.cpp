#include "data/Files.h"

#include "data/Format.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

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

QString outputRoot()
{
    return rootOverride().isEmpty() ? QCoreApplication::applicationDirPath() : rootOverride();
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
