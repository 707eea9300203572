#pragma once
// The data module: the only owner of the connection, the two network profiles,
// the session values, the named queries and the scratch query.

#include "data/Connection.h"
#include "data/Query.h"

#include <QObject>
#include <QStringList>
#include <QUrl>
#include <array>

/// One network profile: five lines Key=Value (user name, password, server,
/// database, port).
using TNetProfile = QStringList;

class TDataZRT : public QObject {
    Q_OBJECT
public:
    explicit TDataZRT(QObject* parent = nullptr);
    /// DataModuleDestroy: closes the connection (the lamp turns red).
    ~TDataZRT() override;

    /// The profiles of this installation: index 0 internet, 1 local network;
    /// the servers and the account as /etc/talvira.conf names them, else as
    /// built (SystemConfig.h). When the file names a certificate authority
    /// the profiles carry SSL_CA=PATH, and TLS=MODE with db_tls (TConnection).
    static std::array<TNetProfile, 2> builtInProfiles();
    /// The value of one Key=Value line of a profile (keys without regard to
    /// case), empty when the profile has no such line.
    ///
    ///     TDataZRT::profileValue(profile, u"Server"_s)   // "127.0.0.1"
    static QString profileValue(const TNetProfile& profile, const QString& key);
    /// Sets the value of a Key=Value line, appending the line when it is missing.
    static void setProfileValue(TNetProfile& profile, const QString& key, const QString& value);
    /// The built-in password of the database account that both profiles use
    /// (empty in a build with TALVIRA_BUILTIN_PASSWORD=OFF).
    static QString databasePassword();

    /// The port of the file server (templates, help) on the internet profile's host.
    int fileServerPort = 17002;
    /// A location on the file server: plain HTTP to the internet profile's host.
    ///
    ///     DataZRT->fileServerUrl(u"/Images/ZRT_6.jpg"_s)   // http://<host>:17002/Images/ZRT_6.jpg
    QUrl fileServerUrl(const QString& path) const;

    /// Start: fills the profiles, resets the session values and connects with
    /// the internet profile. A connection failure is thrown after the profile
    /// has been applied.
    ///
    ///     auto* dm = new TDataZRT(&app);
    ///     QObject::connect(&dm->FDConnection1, &TConnection::afterConnect, ...);
    ///     dm->DataModuleCreate();
    void DataModuleCreate(const std::array<TNetProfile, 2>& profiles = builtInProfiles());

    /// Disconnects, applies profile idNET (0 internet, 1 local network) and connects.
    bool changeNET(int idNET);
    /// Opens the connection; a failure is thrown with its fixed text (a refused
    /// encrypted connection, client error 2026, with its own Russian lead).
    bool connectDB();

    /// Lowers each UTF-16 code unit by Key.
    ///
    ///     TDataZRT::DEcryptText("Pbc", 1)   // "Oab"
    static QString DEcryptText(const QString& TextToEncrypt, int Key);
    /// Capitalises a personal name: trimmed, Latin letters lowered, the first
    /// letter and the letter after the first hyphen upper-cased.
    ///
    ///     TDataZRT::my_ucfirst("petrov-VODKIN")   // "Petrov-Vodkin"
    static QString my_ucfirst(const QString& inSTR);
    /// Makes sure the working folder DirectoryName exists (beside the
    /// executable or in the user's documents, see OutputFolder); only its last
    /// level is created.
    ///
    ///     if (!DataZRT->DirectoryCreate("Заявки")) ...
    static bool DirectoryCreate(const QString& DirectoryName);
    /// Replaces the last SQL line by "ORDER BY " + field and reopens the query.
    ///
    ///     DataZRT->SortSQL(DataZRT->GETpassingScoreReg, "nameEdu");
    static void SortSQL(TQuery* SortQuery, const QString& NameFieldSQL);

    /// The query of that name, or nullptr.
    TQuery* queryByName(const QString& name) const;
    /// All named queries in declaration order.
    const QList<TQuery*>& queries() const { return queries_; }

    TConnection FDConnection1;
    std::array<TNetProfile, 2> ConnectSRV;

    // Session values.
    int userID = -1;
    int areaID = 0;
    QString FIO;
    QString LoginUser;

    // The named queries.
    TQuery* Qauthorization;
    TQuery* LastEnter;
    TQuery* isViewAnn;
    TQuery* GETadv;
    TQuery* newPassword;
    TQuery* ListCoordReg;
    TQuery* UPDcoordReg;
    TQuery* GETarea;
    TQuery* GETpassingScoreReg;
    TQuery* UPDpassingScoreReg;
    TQuery* searchUser4SetEduu;
    TQuery* viewSubjectsReg;
    TQuery* GETeduUserReg;
    TQuery* GETeduReg;
    TQuery* GETappPartReg;
    TQuery* AppCreateRegSet;
    TQuery* INSappCreateReg;
    TQuery* appCreateRegRemove;
    /// What removing application rows of one event (`eduID`) would lose: how
    /// many of the rows (`ids`, e.g. "5,7,9") hold a result (`countResult`)
    /// and how many a status other than the candidate's (`countStatus`).
    TQuery* GETremoveLossReg;
    TQuery* GETcreateAppEditRegion;
    TQuery* UPDappCreateReg;
    TQuery* GETmaintainer;
    TQuery* AREAdeleteWork;
    TQuery* GETcreateRatingReg;
    TQuery* UPDstatusReg;
    TQuery* UPDstatusResultReg;
    /// The rows that applying passing scores sets, with result, id, status and
    /// status name: one event (`eduID`), the ticked classes (`classes`, e.g. "9,10,11").
    TQuery* GETratingResultsReg;
    /// The result of one rating row typed into the grid (`result`, `id`).
    TQuery* UPDresultReg;
    TQuery* UPDwinnerReg;
    TQuery* GETstatus;
    TQuery* EDUdiplomReg;
    TQuery* GETdiplomReg;
    TQuery* diplomOneReg;
    TQuery* EDUdiplom;
    TQuery* GETjournal;
    /// The scratch query: no SQL of its own.
    TQuery* emptySQL;

    // Data sources of the queries shown in grids and drop-down lists.
    TDataSource* SourceGETarea;
    TDataSource* SourceGETpassingScoreReg;
    TDataSource* SourceSearchUser4SetEduu;
    TDataSource* SourceGETeduReg;
    TDataSource* SourceGETappPartReg;
    TDataSource* SourceAppCreateRegSet;
    TDataSource* SourceGETcreateAppEditRegion;
    TDataSource* SourceGETmaintainer;
    TDataSource* SourceDeleteWork;
    TDataSource* SourceGETcreateRatingReg;
    TDataSource* SourceGETstatus;
    TDataSource* SourceEDUdiplomReg;
    TDataSource* SourceEDUdiplom;
    TDataSource* SourceGETjournal;

private:
    TQuery* makeQuery(const QString& name);
    QList<TQuery*> queries_;
};

/// The one data module of the running program (set by its constructor).
extern TDataZRT* DataZRT;

/// Reopens a list of the logged-in administrator's events (its parameter
/// `userID`) and gives the id of its first row, 0 when there is none.
///
///     ui->DBLookupComboBox1->setKeyValue(openAdministratorEvents(DataZRT->GETeduReg));
int openAdministratorEvents(TQuery* events);
