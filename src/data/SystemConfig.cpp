#include "data/SystemConfig.h"

#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <optional>

using namespace Qt::Literals::StringLiterals;

#ifndef TALVIRA_INTERNET_HOST
#define TALVIRA_INTERNET_HOST "127.0.0.1"
#endif
#ifndef TALVIRA_LOCAL_HOST
#define TALVIRA_LOCAL_HOST "127.0.0.1"
#endif
#ifndef TALVIRA_SITE_URL
#define TALVIRA_SITE_URL "https://127.0.0.1/"
#endif

namespace {

// A host name or an address as a server line and a URL can carry it: no
// scheme, port, path or blanks.
bool isHost(const QString& value)
{
    for (QChar c : value)
        if (c.isSpace() || c == u'/' || c == u'\\' || c == u'@' || c == u'?' || c == u'#')
            return false;
    if (value.count(u':') == 1) // host:port; a port is not for this file
        return false;
    QUrl url;
    url.setHost(value, QUrl::StrictMode);
    return url.isValid() && !url.host().isEmpty();
}

bool isSiteUrl(const QString& value)
{
    const QUrl url(value, QUrl::StrictMode);
    return url.isValid() && (url.scheme() == u"http"_s || url.scheme() == u"https"_s) && !url.host().isEmpty();
}

bool isTlsMode(const QString& value)
{
    return value == u"required"_s || value == u"preferred"_s;
}

bool isText(const QString& value)
{
    return !value.isEmpty();
}

std::optional<TSystemConfig>& cached()
{
    static std::optional<TSystemConfig> config;
    return config;
}

} // namespace

TSystemConfig builtInSystemConfig()
{
    TSystemConfig config;
    config.internetHost = QString::fromUtf8(TALVIRA_INTERNET_HOST);
    config.localHost = QString::fromUtf8(TALVIRA_LOCAL_HOST);
    config.siteUrl = QString::fromUtf8(TALVIRA_SITE_URL);
    return config;
}

TSystemConfig parseSystemConfig(const QString& text, const TSystemConfig& base)
{
    struct Key {
        QString name;
        QString TSystemConfig::*field;
        bool (*valid)(const QString&);
        QString invalid; // the fault for a value that is no such thing, %1 the value
        int line = 0;    // where it was given, 0 not yet
    };
    Key keys[] = {
        {u"internet_host"_s, &TSystemConfig::internetHost, isHost, u"недопустимое имя сервера \"%1\""_s},
        {u"local_host"_s, &TSystemConfig::localHost, isHost, u"недопустимое имя сервера \"%1\""_s},
        {u"site_url"_s, &TSystemConfig::siteUrl, isSiteUrl,
         u"адрес сайта \"%1\" должен начинаться с http:// или https://"_s},
        {u"db_ssl_ca"_s, &TSystemConfig::dbSslCa, isText, QString()},
        {u"db_tls"_s, &TSystemConfig::dbTls, isTlsMode,
         u"режим шифрования \"%1\": допустимы required и preferred"_s},
        {u"db_user"_s, &TSystemConfig::dbUser, isText, QString()},
        {u"db_password"_s, &TSystemConfig::dbPassword, isText, QString()},
    };

    TSystemConfig config = base;
    config.faults.clear();
    QString body = text;
    if (body.startsWith(QChar(0xFEFF)))
        body.remove(0, 1);
    const QStringList lines = body.split(u'\n');
    for (int i = 0; i < lines.size(); ++i) {
        const int number = i + 1;
        const QString line = lines.at(i).trimmed(); // also the CR of a CR LF file
        if (line.isEmpty() || line.startsWith(u'#') || line.startsWith(u';'))
            continue;
        const auto fault = [&](const QString& what) { config.faults << u"строка %1: "_s.arg(number) + what; };
        const qsizetype eq = line.indexOf(u'=');
        if (eq < 0) {
            fault(u"нет знака \"=\" в \"%1\""_s.arg(line));
            continue;
        }
        const QString name = line.left(eq).trimmed();
        const QString value = line.mid(eq + 1).trimmed();
        Key* key = nullptr;
        for (Key& k : keys)
            if (name.compare(k.name, Qt::CaseInsensitive) == 0)
                key = &k;
        if (!key)
            fault(u"неизвестный параметр \"%1\""_s.arg(name));
        else if (key->line)
            fault(u"параметр \"%1\" уже задан в строке %2"_s.arg(key->name).arg(key->line));
        else if (value.isEmpty())
            fault(u"пустое значение параметра \"%1\""_s.arg(key->name));
        else if (!key->valid(value))
            fault(key->invalid.arg(value));
        else {
            config.*(key->field) = value;
            key->line = number;
        }
    }
    return config;
}

TSystemConfig readSystemConfig(const QString& path)
{
    if (path.isEmpty())
        return builtInSystemConfig();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return builtInSystemConfig();
    return parseSystemConfig(QString::fromUtf8(file.readAll()));
}

bool isReadableByEveryone(const QString& path)
{
    const QFileInfo info(path);
    return info.isFile() && info.permissions().testFlag(QFileDevice::ReadOther);
}

QString systemConfigPath()
{
    if (qEnvironmentVariableIsSet("TALVIRA_CONF"))
        return qEnvironmentVariable("TALVIRA_CONF");
    return u"/etc/talvira.conf"_s;
}

const TSystemConfig& systemConfig()
{
    if (!cached())
        cached() = readSystemConfig(systemConfigPath());
    return *cached();
}

void reloadSystemConfig()
{
    cached().reset();
}
