#include "diplomas/DiplomaFiles.h"

using namespace Qt::Literals::StringLiterals;

namespace {

// A name that a file or folder can carry on every platform: characters that
// cannot stand in one become "_"; a name of nothing but dots and blanks
// (".", "..") is replaced by "_" as a whole.
QString safeFileName(const QString& name)
{
    static const QString forbidden = u"/\\:*?\"<>|"_s;
    QString safe = name;
    bool onlyDots = true;
    for (QChar& c : safe) {
        if (c.unicode() < 0x20 || c.category() == QChar::Other_Control || forbidden.contains(c))
            c = u'_';
        if (c != u'.' && c != u' ')
            onlyDots = false;
    }
    if (onlyDots)
        safe = QString(qMax<qsizetype>(safe.size(), 1), u'_');
    return safe;
}

} // namespace

QString TDiplomaFileNames::folderName(const QString& nameEdu)
{
    return safeFileName(nameEdu);
}

QString TDiplomaFileNames::next(const QString& surname, const QString& name, const QString& patronymic)
{
    const QString base = safeFileName(surname + u' ' + name + u' ' + patronymic);
    QString file = base + u".jpg"_s;
    for (int n = 2; taken_.contains(file.toCaseFolded()); ++n)
        file = base + u" (%1).jpg"_s.arg(n);
    taken_.insert(file.toCaseFolded());
    return folder_ + u'/' + file;
}
