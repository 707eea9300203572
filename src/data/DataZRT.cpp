#include "data/DataZRT.h"

#include "data/Files.h"

#include "data/Errors.h"
#include "data/QueryTexts.h"
#include "data/SystemConfig.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

using namespace Qt::Literals::StringLiterals;

TDataZRT* DataZRT = nullptr;

namespace {

// The database password as the program holds it, raised by kPasswordShift.
// A build for installations that name their own account leaves it out.
#ifdef TALVIRA_NO_BUILTIN_PASSWORD
constexpr char16_t kScrambledPassword[] = u"";
#else
constexpr char16_t kScrambledPassword[] = u"Rhzzpvy4vsptw4979=";
#endif
constexpr int kPasswordShift = 7;

QString connectionFailurePrefix(int code)
{
    switch (code) {
    case 1045:
        return u"DBConnection Error. User name or password are incorrect\r\n\r\n"_s;
    case 1820:
    case 1862:
        return u"DBConnection Error. User password is expired\r\n\r\n"_s;
    case 2026: // the encrypted connection was refused before anything was sent
        return u"DBConnection Error. Защищённое соединение с сервером базы данных не установлено, "
               u"имя пользователя и пароль не отправлены\r\n\r\n"_s;
    case 2003: // no server at the address
    case 2006: // server gone
    case 2013: // connection lost
    case 2002: // the MariaDB client's number for a closed TCP port as well
    case 2005: // unknown host
        return u"DBConnection Error. DBMS is not accessible due to some reason\r\n\r\n"_s;
    default:
        return u"DBConnection Error. UnknownMistake\r\n\r\n"_s;
    }
}

} // namespace

TDataZRT::TDataZRT(QObject* parent)
    : QObject(parent)
{
    setObjectName(u"DataZRT"_s);
    for (const TQueryText& t : namedQueryTexts())
        makeQuery(t.name)->SQL() = t.lines;
    auto q = [this](const char* name) { return queryByName(QString::fromLatin1(name)); };
    Qauthorization = q("Qauthorization");
    LastEnter = q("LastEnter");
    isViewAnn = q("isViewAnn");
    GETadv = q("GETadv");
    newPassword = q("newPassword");
    ListCoordReg = q("ListCoordReg");
    UPDcoordReg = q("UPDcoordReg");
    GETarea = q("GETarea");
    GETpassingScoreReg = q("GETpassingScoreReg");
    UPDpassingScoreReg = q("UPDpassingScoreReg");
    searchUser4SetEduu = q("searchUser4SetEduu");
    viewSubjectsReg = q("viewSubjectsReg");
    GETeduUserReg = q("GETeduUserReg");
    GETeduReg = q("GETeduReg");
    GETappPartReg = q("GETappPartReg");
    AppCreateRegSet = q("AppCreateRegSet");
    INSappCreateReg = q("INSappCreateReg");
    appCreateRegRemove = q("appCreateRegRemove");
    GETremoveLossReg = q("GETremoveLossReg");
    GETcreateAppEditRegion = q("GETcreateAppEditRegion");
    UPDappCreateReg = q("UPDappCreateReg");
    GETmaintainer = q("GETmaintainer");
    AREAdeleteWork = q("AREAdeleteWork");
    GETcreateRatingReg = q("GETcreateRatingReg");
    UPDstatusReg = q("UPDstatusReg");
    UPDstatusResultReg = q("UPDstatusResultReg");
    GETratingResultsReg = q("GETratingResultsReg");
    UPDresultReg = q("UPDresultReg");
    UPDwinnerReg = q("UPDwinnerReg");
    GETstatus = q("GETstatus");
    EDUdiplomReg = q("EDUdiplomReg");
    GETdiplomReg = q("GETdiplomReg");
    diplomOneReg = q("diplomOneReg");
    EDUdiplom = q("EDUdiplom");
    GETjournal = q("GETjournal");
    emptySQL = makeQuery(u"emptySQL"_s);

    auto source = [this](const char* name, TQuery* query) {
        return new TDataSource(QString::fromLatin1(name), query, this);
    };
    SourceGETarea = source("SourceGETarea", GETarea);
    SourceGETpassingScoreReg = source("SourceGETpassingScoreReg", GETpassingScoreReg);
    SourceSearchUser4SetEduu = source("SourceSearchUser4SetEduu", searchUser4SetEduu);
    SourceGETeduReg = source("SourceGETeduReg", GETeduReg);
    SourceGETappPartReg = source("SourceGETappPartReg", GETappPartReg);
    SourceAppCreateRegSet = source("SourceAppCreateRegSet", AppCreateRegSet);
    SourceGETcreateAppEditRegion = source("SourceGETcreateAppEditRegion", GETcreateAppEditRegion);
    SourceGETmaintainer = source("SourceGETmaintainer", GETmaintainer);
    SourceDeleteWork = source("SourceDeleteWork", AREAdeleteWork);
    SourceGETcreateRatingReg = source("SourceGETcreateRatingReg", GETcreateRatingReg);
    SourceGETstatus = source("SourceGETstatus", GETstatus);
    SourceEDUdiplomReg = source("SourceEDUdiplomReg", EDUdiplomReg);
    SourceEDUdiplom = source("SourceEDUdiplom", EDUdiplom);
    SourceGETjournal = source("SourceGETjournal", GETjournal);

    DataZRT = this;
}

TDataZRT::~TDataZRT()
{
    for (TQuery* query : queries_)
        query->Close();
    FDConnection1.Close();
    if (DataZRT == this)
        DataZRT = nullptr;
}

TQuery* TDataZRT::makeQuery(const QString& name)
{
    auto* query = new TQuery(name, &FDConnection1, this);
    queries_.append(query);
    return query;
}

TQuery* TDataZRT::queryByName(const QString& name) const
{
    for (TQuery* query : queries_)
        if (query->objectName() == name)
            return query;
    return nullptr;
}

std::array<TNetProfile, 2> TDataZRT::builtInProfiles()
{
    const TSystemConfig& config = systemConfig();
    // The installation's account, where it names one, over the built-in one.
    TNetProfile internet = {u"User_Name="_s + (config.dbUser.isEmpty() ? u"olimp"_s : config.dbUser),
                            u"Password="_s + (config.dbPassword.isEmpty() ? databasePassword() : config.dbPassword),
                            u"Server="_s + config.internetHost, u"Database=olimp"_s, u"Port=17001"_s};
    if (!config.dbSslCa.isEmpty())
        internet << u"SSL_CA="_s + config.dbSslCa;
    if (!config.dbTls.isEmpty())
        internet << u"TLS="_s + config.dbTls;
    TNetProfile local = internet;
    setProfileValue(local, u"Server"_s, systemConfig().localHost);
    setProfileValue(local, u"Port"_s, u"3306"_s);
    return {internet, local};
}

QString TDataZRT::databasePassword()
{
    return DEcryptText(QString::fromUtf16(kScrambledPassword), kPasswordShift);
}

QString TDataZRT::profileValue(const TNetProfile& profile, const QString& key)
{
    const QString prefix = key + u'=';
    for (const QString& line : profile)
        if (line.startsWith(prefix, Qt::CaseInsensitive))
            return line.mid(prefix.size());
    return {};
}

void TDataZRT::setProfileValue(TNetProfile& profile, const QString& key, const QString& value)
{
    const QString prefix = key + u'=';
    for (QString& line : profile) {
        if (line.startsWith(prefix, Qt::CaseInsensitive)) {
            line = prefix + value;
            return;
        }
    }
    profile << prefix + value;
}

QUrl TDataZRT::fileServerUrl(const QString& path) const
{
    QUrl url;
    url.setScheme(u"http"_s);
    url.setHost(profileValue(ConnectSRV.at(0), u"Server"_s));
    url.setPort(fileServerPort);
    url.setPath(path);
    return url;
}

void TDataZRT::DataModuleCreate(const std::array<TNetProfile, 2>& profiles)
{
    ConnectSRV = profiles;
    areaID = 0;
    userID = -1;
    FIO.clear();
    changeNET(0);
}

bool TDataZRT::changeNET(int idNET)
{
    FDConnection1.Close();
    const TNetProfile& p = ConnectSRV.at(std::size_t(idNET));
    const auto line = [&p](const QString& key) { return key + u'=' + profileValue(p, key); };
    // server, database, user name, password, port, then the fixed settings
    QStringList params = {line(u"Server"_s), line(u"Database"_s), line(u"User_Name"_s), line(u"Password"_s),
                          line(u"Port"_s),
                          u"DriverName=MySQL"_s, u"DriverID=MySQL"_s, u"CharacterSet=utf8"_s,
                          u"Compress=false"_s, u"TinyIntFormat=tifBoolean"_s};
    // The encryption of the installation, when it names any.
    for (const QString& key : {u"SSL_CA"_s, u"TLS"_s})
        if (!profileValue(p, key).isEmpty())
            params << line(key);
    FDConnection1.setParams(params);
    return connectDB();
}

bool TDataZRT::connectDB()
{
    // A build without the built-in password and an installation that names none.
    if (FDConnection1.param(u"Password"_s).isEmpty())
        throw EError(u"DBConnection Error. В этой установке не задан пароль базы данных: укажите строки "
                     u"db_user и db_password в файле настроек \""_s + systemConfigPath() + u"\"."_s);
    try {
        FDConnection1.Open();
    } catch (const EDatabaseError& e) {
        throw EError(connectionFailurePrefix(e.nativeCode()) + e.className()
                     + u" поднята ошибка, с сообщением : "_s + e.message());
    } catch (const EError& e) {
        throw EError(e.className() + u" поднята ошибка, с сообщением : \r\n\r\n"_s + e.message());
    } catch (const std::exception& e) {
        throw EError(u"std::exception поднята ошибка, с сообщением : \r\n\r\n"_s
                     + QString::fromUtf8(e.what()));
    }
    return FDConnection1.Connected();
}

QString TDataZRT::DEcryptText(const QString& TextToEncrypt, int Key)
{
    QString result;
    result.reserve(TextToEncrypt.size());
    for (QChar c : TextToEncrypt)
        result.append(QChar(char16_t(c.unicode() - Key)));
    return result;
}

QString TDataZRT::my_ucfirst(const QString& inSTR)
{
    int begin = 0;
    int end = int(inSTR.size());
    while (begin < end && inSTR.at(begin).unicode() <= 32)
        ++begin;
    while (end > begin && inSTR.at(end - 1).unicode() <= 32)
        --end;
    QString s = inSTR.mid(begin, end - begin);
    for (QChar& c : s)
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            c = QChar(c.unicode() + 32);
    if (s.isEmpty())
        return s;
    s.replace(0, 1, s.left(1).toUpper());
    const int hyphen = int(s.indexOf(QLatin1Char('-')));
    if (hyphen >= 0 && hyphen + 1 < s.size())
        s.replace(hyphen + 1, 1, s.mid(hyphen + 1, 1).toUpper());
    return s;
}

bool TDataZRT::DirectoryCreate(const QString& DirectoryName)
{
    const QString path = OutputFolder(DirectoryName);
    if (QFileInfo(path).isDir())
        return true;
    return QDir().mkdir(path);
}

void TDataZRT::SortSQL(TQuery* SortQuery, const QString& NameFieldSQL)
{
    SortQuery->Close();
    if (!SortQuery->SQL().isEmpty())
        SortQuery->SQL().removeLast();
    SortQuery->SQL().append(u"ORDER BY "_s + NameFieldSQL);
    SortQuery->Open();
}

int openAdministratorEvents(TQuery* events)
{
    events->Close();
    events->ParamByName(QStringLiteral("userID")).setAsInteger(DataZRT->userID);
    events->Open();
    events->First();
    return events->FieldByName(QStringLiteral("id")).asInteger();
}
