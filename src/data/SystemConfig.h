#pragma once
// The settings of one installation: the server addresses that the program
// otherwise takes from its build. A region installs the same package on every
// workstation and names its servers in one system-wide file, /etc/talvira.conf:
//
//     # Тальвира: servers of this region
//     internet_host=db.velgrad.example
//     local_host=10.0.0.5
//     site_url=https://velgrad.example/
//     db_ssl_ca=/etc/talvira/ca.pem
//     db_tls=required
//     db_user=olimp_velgrad
//     db_password=...
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
    /// The certificate authority that signs the database servers' certificates
    /// (a PEM file); when set, the connection is encrypted whenever the server
    /// offers it.
    QString dbSslCa;
    /// "required": the connection is made only encrypted, to a server whose
    /// certificate that authority signed for the host named; "preferred"
    /// (also when the line is missing): encrypted when the server offers it.
    QString dbTls;
    /// The database account of this installation, over the built-in one.
    QString dbUser;
    QString dbPassword;
    /// One text per skipped line, "строка N: ..." (empty when the file was sound).
    QStringList faults;
};

/// Whether a file can be read by every user of the machine (its "other"
/// read permission); false for a missing file.
bool isReadableByEveryone(const QString& path);

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
