#include "export/SaveFile.h"

#include "base/Error.h"

#include <QDir>
#include <QSaveFile>

using namespace Qt::Literals::StringLiterals;

void saveFile(const QString& path, const std::function<void(QIODevice&)>& write)
{
    const QString shown = QDir::toNativeSeparators(path);
    // The temporary file is discarded when this one goes out of scope uncommitted.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw EExportError(u"Не удалось создать файл \"%1\": %2"_s.arg(shown, file.errorString()), TExportFailure::Write);
    write(file);
    if (!file.commit())
        throw EExportError(u"Не удалось записать файл \"%1\": %2"_s.arg(shown, file.errorString()), TExportFailure::Write);
}
