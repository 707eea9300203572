#pragma once
// The settings of one installation: the server addresses that the program
// otherwise takes from its build. A region installs the same package on every
// workstation and names its servers in one system-wide file, /etc/talvira.conf:
//
//     # Тальвира: servers of this region
//     internet_host=db.velgrad.example
//     local_host=10.0.0.5
//     site_url=https://velgrad.example/
//
// Blank lines and lines starting with # or ; are comments. Every line that
// cannot be understood is skipped and noted in `faults`; the program reports
// them once at start. A missing or unreadable file leaves the built-in values.

#include <QString>
#include <QStringList>

struct TSystemConfig {
    /// Host of the internet profile's database server and of the file server.
    QString internetHost;
    /// Host of the local network profile's database server.
    QString localHost;
    /// The organisation's web site, its root page.
    QString siteUrl;
    /// One text per skipped line, "строка N: ..." (empty when the file was sound).
    QStringList faults;
};

/// The values the program was built with (TALVIRA_INTERNET_HOST,
/// TALVIRA_LOCAL_HOST, TALVIRA_SITE_URL).
TSystemConfig builtInSystemConfig();

/// Applies the lines of a settings file over base.
///
///     parseSystemConfig(u"local_host=10.0.0.5\nport=1"_s).localHost    // "10.0.0.5"
///     parseSystemConfig(u"local_host=10.0.0.5\nport=1"_s).faults       // {"строка 2: неизвестный параметр \"port\""}
TSystemConfig parseSystemConfig(const QString& text, const TSystemConfig& base = builtInSystemConfig());

/// Reads the settings file at path over the built-in values; a missing or
/// unreadable file (or an empty path) gives the built-in values alone.
TSystemConfig readSystemConfig(const QString& path);

/// The settings file of this run: $TALVIRA_CONF when that is set (an empty
/// value means no file), otherwise /etc/talvira.conf.
QString systemConfigPath();

/// The settings of this run, read from systemConfigPath() on first use.
///
///     const QString host = systemConfig().internetHost;
const TSystemConfig& systemConfig();
/// Forgets the settings read so far: the next systemConfig() reads the file
/// again (tests).
void reloadSystemConfig();
