#pragma once
// A place of its own for the working folders of one export test, and the files
// the desktop was asked to open.

#include "ui/Shell.h"
#include "data/Files.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <QUrl>

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

    QTemporaryDir dir;
    QStringList opened;
    QStringList locked;
};
