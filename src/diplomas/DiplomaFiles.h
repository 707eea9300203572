#pragma once
// Names of the image files of one diploma run and of the event's folder.

#include <QSet>
#include <QString>

/// Gives each participant of one run his own image file in the event's folder:
/// surname, blank, name, blank, patronymic and ".jpg". A namesake later in the
/// same run gets " (2)", " (3)" ... before ".jpg" (letter case does not make
/// names differ, as on Windows); a file left by an earlier run under the same
/// name is overwritten. Characters that a file name cannot hold
/// (/ \ : * ? " < > | and control characters) become "_".
///
///     TDiplomaFileNames names(dir + u"/Дипломы/"_s + TDiplomaFileNames::folderName(nameEdu));
///     names.next(u"Петров"_s, u"Иван"_s, u"Сергеевич"_s)   // ".../Петров Иван Сергеевич.jpg"
///     names.next(u"Петров"_s, u"Иван"_s, u"Сергеевич"_s)   // ".../Петров Иван Сергеевич (2).jpg"
class TDiplomaFileNames {
public:
    /// The run writes into folder (given without a trailing separator).
    ///
    ///     TDiplomaFileNames names(u"/opt/talvira/Дипломы/Олимпиада по физике"_s);
    explicit TDiplomaFileNames(const QString& folder) : folder_(folder) {}

    /// The folder of an event's images inside "Дипломы": its name with the
    /// characters a folder name cannot hold replaced by "_". A name that is
    /// empty or only dots and blanks (".." would climb out) becomes all "_".
    ///
    ///     TDiplomaFileNames::folderName(u"Физика 9/11 кл."_s)   // "Физика 9_11 кл."
    ///     TDiplomaFileNames::folderName(u".."_s)                 // "__"
    static QString folderName(const QString& nameEdu);

    /// The path of the next participant's image.
    ///
    ///     names.next(u"Иванов"_s, u"Пётр"_s, u""_s)   // ".../Иванов Пётр .jpg"
    QString next(const QString& surname, const QString& name, const QString& patronymic);

    /// The folder given at construction.
    ///
    ///     QDesktopServices::openUrl(QUrl::fromLocalFile(names.folder() + u'/'));
    const QString& folder() const { return folder_; }

private:
    QString folder_;
    QSet<QString> taken_;  // case-folded file names given out in this run
};
