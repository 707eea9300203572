#pragma once
// A place of its own for the working folders of one export test, the files the
// desktop was asked to open, and the ways an export into a folder fails.

#include "ui/SheetMessages.h"
#include "ui/Shell.h"
#include "data/Files.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>

/// Points the working folders into a fresh temporary folder and records what
/// the shell opens, for its lifetime.
///
///     ExportRoot root;
///     window.BitBtn4Click();
///     QCOMPARE(root.files(), QStringList{u"Журнал/(0)Журнал_13.01.2026.xlsx"_s});
///     QCOMPARE(root.opened, QStringList{root.path(u"Журнал/(0)Журнал_13.01.2026.xlsx"_s)});
struct ExportRoot {
    ExportRoot()
    {
        setOutputRoot(dir.path());
        TShell::setHooks(
            [this](const QUrl& url) {
                opened << url.toLocalFile();
                return true;
            },
            {});
    }
    ~ExportRoot()
    {
        TShell::setHooks({}, {});
        setOutputRoot(QString());
        for (const QString& folder : locked)
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    /// The full path of a name below the root.
    QString path(const QString& relative) const { return QDir(dir.path()).filePath(relative); }

    /// Every file and folder below the root, relative to it, sorted.
    QStringList files() const
    {
        QStringList found;
        QDirIterator it(dir.path(), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            found << QDir(dir.path()).relativeFilePath(it.next());
        found.sort();
        return found;
    }

    /// Makes the working folder `name` a folder that takes no new files: read-only,
    /// or, for a user whom that does not stop, a link to a folder of /proc.
    void refuseFiles(const QString& name)
    {
        const QString folder = path(name);
        QDir().mkdir(folder);
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
        locked << folder;
        QFile probe(QDir(folder).filePath(QStringLiteral("probe")));
        if (probe.open(QIODevice::WriteOnly)) {
            probe.close();
            probe.remove();
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            locked.removeAll(folder);
            QDir(folder).removeRecursively();
            QFile::link(QStringLiteral("/proc/self/fdinfo"), folder);
        }
    }

    /// Makes the next export into the working folder `name` fail: with
    /// folderMade the folder is there but takes no files, otherwise it cannot
    /// be made (the root itself is missing).
    ///
    ///     root.failExport(u"Журнал"_s, folderMade);   // rows of addExportFailureRows
    void failExport(const QString& name, bool folderMade)
    {
        if (folderMade)
            refuseFiles(name);
        else
            setOutputRoot(path(QStringLiteral("missing/deeper")));
    }

    /// Puts a file where the working folder `name` should be, so that the
    /// folder cannot be made; false when the file could not be put there.
    bool blockFolder(const QString& name)
    {
        QFile blocker(path(name));
        return blocker.open(QIODevice::WriteOnly);
    }

    /// Gives the working folder `name` back after refuseFiles or blockFolder:
    /// it is made again on the next export; false when it could not be removed.
    bool reopen(const QString& name)
    {
        const QString folder = path(name);
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        locked.removeAll(folder);
        if (QFileInfo(folder).isDir() && !QFileInfo(folder).isSymLink())
            return QDir(folder).removeRecursively();
        return QFile::remove(folder);
    }

    /// The files (not folders) in the working folder `name`, by name.
    QStringList filesIn(const QString& name) const
    {
        return QDir(path(name)).entryList(QDir::Files | QDir::Hidden | QDir::System);
    }

    QTemporaryDir dir;
    QStringList opened;
    QStringList locked;
};

/// The rows of a test of both ways an export to the working folder `name`
/// fails: "folderMade" (see ExportRoot::failExport) and the start of the
/// window's message.
///
///     void TestDiplomJournal::failures_data() { addExportFailureRows(u"Журнал"_s); }
inline void addExportFailureRows(const QString& name)
{
    QTest::addColumn<bool>("folderMade");
    QTest::addColumn<QString>("message");
    QTest::newRow("folder cannot be made") << false << folderErrorText(name);
    // the window's message, then the cause on a line of its own
    QTest::newRow("folder takes no files")
        << true << sheetWriteErrorText() + QStringLiteral("\n\rНе удалось сохранить таблицу в файл \"");
}
