#pragma once
// The file version of an executable as the update check compares it.

#include <QByteArray>
#include <QString>
#include <QStringList>

/// "v%d.%d.%d build %d" of the file version of the executable at path (major,
/// minor, release, build). When the version cannot be read the result is
/// "GetFileVersionInfo failed: (%d) %s" with an error number and its text.
///
///     FileVersion(QCoreApplication::applicationFilePath())   // "v3.0.0 build 5"
///
/// On Windows the version resource is read. Elsewhere every program linking
/// this library carries a version record: a marker (fileVersionMarker()) and
/// four 16-bit little-endian numbers; the first marker in the file counts.
/// Errors there: 2 for a missing file, 5 for a file that cannot be read, 1813
/// for a file without a record.
QString FileVersion(const QString& path);

/// The version text for the four parts of a file version.
///
///     versionText(3, 0, 0, 5)   // "v3.0.0 build 5"
QString versionText(int major, int minor, int release, int build);

#ifndef _WIN32
/// The marker that opens the version record (its bytes, the closing zero byte included).
QByteArray fileVersionMarker();
#endif

/// The updater program that the update check starts, in this platform's form.
QString updaterProgram();

/// The updater's arguments: the full path of the running executable (left as
/// it is, blanks included, never quoted) and the main window's native handle
/// in decimal. On Windows they form the command line "<path> <handle>".
///
///     updaterArguments(u"/opt/my apps/talvira"_s, 12345)   // {"/opt/my apps/talvira", "12345"}
QStringList updaterArguments(const QString& executablePath, quintptr windowHandle);
