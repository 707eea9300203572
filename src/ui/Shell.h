#pragma once
// The desktop's "open" action for locations and the start of other programs.
// Nothing here reports a failure: callers stay silent about it. Tests install
// hooks to see what would have been opened or started.

#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>

class TShell {
public:
    using OpenHook = std::function<bool(const QUrl&)>;
    using StartHook = std::function<bool(const QString& program, const QStringList& arguments)>;

    /// Hands a location to the desktop (default browser or viewer); false when that failed.
    ///
    ///     TShell::Open(QUrl(u"https://example.org/"_s));
    static bool Open(const QUrl& url);

    /// Opens a file with the desktop's default program for its kind.
    ///
    ///     TShell::OpenFile(path);   // the workbook in the spreadsheet program
    static bool OpenFile(const QString& path);
    /// Shows a folder in the desktop's file manager.
    ///
    ///     TShell::OpenFolder(OutputFolder(u"Дипломы"_s));
    static bool OpenFolder(const QString& path);

    /// Starts a program and does not wait for it. A bare file name is looked up
    /// in the current folder, then along the search path. On Windows the
    /// arguments form the command line joined by single blanks, unquoted; on
    /// other systems each is one argument as given. False when the program is
    /// not found or does not start.
    ///
    ///     TShell::StartDetached(u"Kelvort"_s, {exePath, u"12345"_s});
    static bool StartDetached(const QString& program, const QStringList& arguments);

    /// Where StartDetached finds a program: a bare name in the current folder,
    /// then along the search path; a path as it is. Empty when not found.
    static QString findProgram(const QString& program);

    /// The command line as Windows receives it: the arguments joined by single
    /// blanks, nothing quoted.
    ///
    ///     TShell::commandLine({u"C:\\A B\\x.exe"_s, u"42"_s})   // "C:\\A B\\x.exe 42"
    static QString commandLine(const QStringList& arguments);

    /// Replaces the real actions by hooks (tests); empty hooks restore them.
    static void setHooks(OpenHook openHook, StartHook startHook);
};

/// The organisation's web site, its root page (as /etc/talvira.conf names it,
/// else as built).
QUrl siteUrl();
