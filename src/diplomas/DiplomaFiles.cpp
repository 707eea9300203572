#include "diplomas/DiplomaFiles.h"

#include "data/Files.h"

using namespace Qt::Literals::StringLiterals;

QString TDiplomaFileNames::folderName(const QString& nameEdu)
{
    // An event without a name still gets a folder of its own inside "Дипломы".
    return nameEdu.isEmpty() ? u"_"_s : SafeFileName(nameEdu);
}

QString TDiplomaFileNames::next(const QString& surname, const QString& name, const QString& patronymic)
{
    const QString base = SafeFileName(surname + u' ' + name + u' ' + patronymic);
    QString file = base + u".jpg"_s;
    for (int n = 2; taken_.contains(file.toCaseFolded()); ++n)
        file = base + u" (%1).jpg"_s.arg(n);
    taken_.insert(file.toCaseFolded());
    return folder_ + u'/' + file;
}
