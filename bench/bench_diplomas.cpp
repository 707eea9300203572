// "Создать" of the diploma window for 100 participants on an A4 template at
// 300 dots per inch (2480 x 3508), served by a local file server of the
// benchmark's own: the download, the drawing, the JPEG files and the PDF of
// all of them.
//
//     scripts/testdb.sh start /tmp/bench-db
//     build/bench/bench_diplomas --server-dir /tmp/bench-db --out /tmp/diplomas
//     scripts/testdb.sh stop /tmp/bench-db
//
// Options: --server-dir DIR (or TALVIRA_TESTDB_DIR; root logs in on DIR/mysqld.sock,
// the program's account on 127.0.0.1 at the port in DIR/port or --port P),
// --out DIR (the images and the PDF stay in DIR/Дипломы/<event>; a temporary folder when
// not given), --runs N (3; the best run is reported), --keep (keep the database).

#include "data/DBLookupComboBox.h"
#include "data/DataZRT.h"
#include "data/Files.h"
#include "data/MemTable.h"
#include "diplomas/CreateDiplomReg.h"
#include "ui/Dialogs.h"
#include "ui/Shell.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <algorithm>
#include <ctime>
#include <cstdio>
#include <stdexcept>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int Count = 100;
constexpr int Event = 10;
constexpr int AdminUser = 501;

[[noreturn]] void fail(const QString& text)
{
    throw std::runtime_error(text.toStdString());
}

QString repoDir()
{
    return QString::fromUtf8(TALVIRA_SOURCE_DIR);
}

void say(const QString& text)
{
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}

class DbAdmin {
public:
    DbAdmin(const QString& socket, const QString& database) : database_(database)
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QMYSQL"_s, u"bench-admin"_s);
        db.setUserName(u"root"_s);
        db.setConnectOptions(u"UNIX_SOCKET="_s + socket);
        if (!db.open())
            fail(u"connecting as root on "_s + socket + u": "_s + db.lastError().text());
        exec(u"CREATE DATABASE `%1` CHARACTER SET utf8mb4 COLLATE utf8mb4_unicode_ci"_s.arg(database));
        exec(u"USE `%1`"_s.arg(database));
    }
    void drop() { exec(u"DROP DATABASE IF EXISTS `%1`"_s.arg(database_)); }
    void exec(const QString& sql)
    {
        QSqlQuery q(QSqlDatabase::database(u"bench-admin"_s));
        if (!q.exec(sql))
            fail(sql.left(200) + u": "_s + q.lastError().text());
    }
    // Runs the statements of an SQL file, split at the semicolons ending a line.
    void load(const QString& path)
    {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            fail(u"cannot read "_s + path);
        QString statement;
        for (const QString& line : QString::fromUtf8(f.readAll()).split(u'\n')) {
            if (line.trimmed().startsWith(u"--"_s))
                continue;
            statement += line + u'\n';
            if (line.trimmed().endsWith(u';')) {
                if (!statement.trimmed().isEmpty())
                    exec(statement);
                statement.clear();
            }
        }
    }

private:
    QString database_;
};

// The file server: answers every GET with the template.
class TemplateServer {
public:
    explicit TemplateServer(const QByteArray& body) : body_(body)
    {
        if (!server_.listen(QHostAddress::LocalHost, 0))
            fail(u"the file server cannot listen"_s);
        QObject::connect(&server_, &QTcpServer::newConnection, &server_, [this] {
            while (QTcpSocket* socket = server_.nextPendingConnection()) {
                QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
                QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    request_ += socket->readAll();
                    if (!request_.contains("\r\n\r\n"))
                        return;
                    request_.clear();
                    socket->write("HTTP/1.1 200 OK\r\nContent-Type: image/jpeg\r\nContent-Length: "
                                  + QByteArray::number(body_.size()) + "\r\nConnection: close\r\n\r\n");
                    socket->write(body_);
                    socket->disconnectFromHost();
                });
            }
        });
    }
    int port() const { return server_.serverPort(); }

private:
    QTcpServer server_;
    QByteArray body_;
    QByteArray request_;
};

// A4 at 300 dots per inch with a frame and some shading, so that the JPEG
// coder has a picture to code and not a flat page.
QByteArray a4Template()
{
    QImage t(2480, 3508, QImage::Format_RGB32);
    t.setDotsPerMeterX(11811);
    t.setDotsPerMeterY(11811);
    QPainter p(&t);
    QLinearGradient g(0, 0, 2480, 3508);
    g.setColorAt(0, QColor(250, 244, 225));
    g.setColorAt(1, QColor(228, 214, 180));
    p.fillRect(t.rect(), g);
    p.setPen(QPen(QColor(150, 110, 40), 40));
    p.drawRect(120, 120, 2240, 3268);
    p.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    t.save(&buffer, "JPEG", 92);
    return bytes;
}

void fill(DbAdmin& admin)
{
    admin.exec(u"INSERT INTO vzl_areas(id,name) VALUES (1,'г. Велград'),(2,'Бережанский район')"_s);
    admin.exec(u"INSERT INTO vzl_periods(id,name,active) VALUES (1,'2025-2026',1)"_s);
    admin.exec(u"INSERT INTO vzl_schools(id,name,fullname) VALUES (1,'СОШ 1','Муниципальное бюджетное общеобразовательное"
               " учреждение \"Средняя общеобразовательная школа № 1 с углублённым изучением отдельных предметов\"')"_s);
    admin.exec(u"INSERT INTO vzl_users(id,surname,name,patronymic,areaID,roleID) VALUES (501,'Кириллова','Анна','Петровна',1,54280)"_s);
    admin.exec(u"INSERT INTO vzl_educationallist_reg(id,nameEdu,isActive,idPeriod,dateEnd,permissionDiplom,SubjectsID) VALUES "
               "(10,'Региональный этап олимпиады школьников по физике',1,1,'2026-02-14',1,6)"_s);
    admin.exec(u"INSERT INTO vzl_userseducation(usersID,educationListID,periodsID) VALUES (501,10,1)"_s);
    const QStringList surnames = {u"Орлова"_s, u"Павлов"_s, u"Руднева"_s, u"Сомов"_s, u"Титова"_s,
                                  u"Уткин"_s, u"Фролова"_s, u"Харитонов"_s, u"Цветкова"_s, u"Шубин"_s};
    QStringList users, apps;
    for (int k = 0; k < Count; ++k) {
        const int id = 2000 + k;
        users << u"(%1,'%2','Имя%3','Отчество%3',%4,1,4)"_s.arg(id).arg(surnames.at(k % 10)).arg(k).arg(1 + k % 2);
        const int status = k < 10 ? 7 : k < 30 ? 10 : 4;
        apps << u"(%1,%2,%3,10,1,%4,%5,%6)"_s.arg(k + 1).arg(id).arg(9 + k % 3).arg(1 + k % 2).arg(status).arg(100 - k);
    }
    admin.exec(u"INSERT INTO vzl_users(id,surname,name,patronymic,areaID,schoolID,roleID) VALUES "_s + users.join(u','));
    admin.exec(u"INSERT INTO vzl_application_reg(id,userID,classStudy,educationlListID_reg,periodID,areaID,statusparticipantID,result) VALUES "_s
               + apps.join(u','));
}

int run(const QStringList& args)
{
    QString serverDir = qEnvironmentVariable("TALVIRA_TESTDB_DIR");
    QString outDir;
    int port = 0;
    int runs = 3;
    bool keep = false;
    for (int i = 1; i < args.size(); ++i) {
        const QString& a = args.at(i);
        const QString next = i + 1 < args.size() ? args.at(i + 1) : QString();
        if (a == u"--server-dir")
            serverDir = next, ++i;
        else if (a == u"--out")
            outDir = next, ++i;
        else if (a == u"--port")
            port = next.toInt(), ++i;
        else if (a == u"--runs")
            runs = std::max(1, next.toInt()), ++i;
        else if (a == u"--keep")
            keep = true;
        else
            fail(u"unknown option "_s + a);
    }
    if (serverDir.isEmpty())
        fail(u"no server: give --server-dir DIR of a server started with scripts/testdb.sh start DIR"_s);
    if (port == 0) {
        QFile f(serverDir + u"/port"_s);
        if (!f.open(QIODevice::ReadOnly))
            fail(u"no port file in "_s + serverDir + u" (give --port)"_s);
        port = f.readAll().trimmed().toInt();
    }
    QTemporaryDir tmp;
    if (outDir.isEmpty())
        outDir = tmp.path();
    if (!QDir().mkpath(outDir))
        fail(u"cannot make "_s + outDir);
    setOutputRoot(QFileInfo(outDir).absoluteFilePath());

    const QString database = u"bench_diplomas_%1"_s.arg(QCoreApplication::applicationPid());
    DbAdmin admin(serverDir + u"/mysqld.sock"_s, database);
    struct Dropper {
        DbAdmin& admin;
        bool keep;
        ~Dropper()
        {
            if (!keep) {
                try {
                    admin.drop();
                } catch (const std::exception& e) {
                    say(QString::fromUtf8(e.what()));
                }
            }
        }
    } dropper{admin, keep};
    admin.load(repoDir() + u"/db/schema.sql"_s);
    admin.load(repoDir() + u"/db/reference.sql"_s);
    fill(admin);

    TemplateServer files(a4Template());

    TDataZRT dm;
    const TNetProfile profile = {u"User_Name=olimp"_s, u"Password="_s + TDataZRT::databasePassword(),
                                 u"Server=127.0.0.1"_s, u"Database="_s + database, u"Port=%1"_s.arg(port)};
    dm.DataModuleCreate({profile, profile});
    dm.userID = AdminUser;
    dm.fileServerPort = files.port();
    QStringList messages;
    TDialogs::setHooks(
        [&](const TMessage& m) {
            messages << m.text;
            return QMessageBox::Ok;
        },
        [](QDialog&) { return int(QDialog::Rejected); });
    TShell::setHooks([](const QUrl&) { return true; }, {});

    qint64 best = -1;
    qint64 bestCpu = -1;
    QString folder;
    QString lastPdf;
    for (int r = 0; r < runs; ++r) {
        TFormCreateDiplomReg form;
        if (form.memList()->RecordCount() != Count)
            fail(u"the list holds %1 participants, not %2"_s.arg(form.memList()->RecordCount()).arg(Count));
        form.BitBtn2Click();
        messages.clear();
        QElapsedTimer t;
        t.start();
        const std::clock_t cpu = std::clock();
        form.BitBtn4Click();
        const qint64 ms = t.elapsed();
        const qint64 cpuMs = qint64((std::clock() - cpu) * 1000.0 / CLOCKS_PER_SEC);
        if (messages.size() != 1 || !messages.at(0).startsWith(u"Создание дипломов (сертификатов) завершено."_s))
            fail(u"the run did not end as it should: "_s + messages.join(u" | "_s));
        // "...завершено." / "Файлы сохранены в папке:" / folder / "Все дипломы ...:" / PDF
        folder = messages.at(0).section(u"\n\r"_s, 2, 2);
        const QString pdf = folder + u'/' + messages.at(0).section(u"\n\r"_s, 4, 4);
        if (!QFileInfo(pdf).isFile())
            fail(u"no PDF file "_s + pdf);
        if (!lastPdf.isEmpty() && lastPdf != pdf)
            QFile::remove(lastPdf);  // one PDF stays, the last run's
        lastPdf = pdf;
        best = best < 0 ? ms : std::min(best, ms);
        bestCpu = bestCpu < 0 ? cpuMs : std::min(bestCpu, cpuMs);
        form.close();
    }
    TDialogs::setHooks({}, {});
    TShell::setHooks({}, {});

    const int jpgs = int(QDir(folder).entryList({u"*.jpg"_s}, QDir::Files).size());
    if (jpgs != Count)
        fail(u"%1 images in %2, not %3"_s.arg(jpgs).arg(folder).arg(Count));
    say(u"%1 images and %2 in %3, best of %4 runs"_s.arg(jpgs).arg(QFileInfo(lastPdf).fileName(),
                                                                 QDir::toNativeSeparators(folder)).arg(runs));
    std::printf("diplomas_100: %lld ms\n", static_cast<long long>(best));
    std::printf("diploma_per_image: %lld ms\n", static_cast<long long>(best / Count));
    // Processor time of all threads: what the run costs when other programs share the machine.
    std::printf("diplomas_100_cpu: %lld ms\n", static_cast<long long>(bestCpu));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    try {
        return run(app.arguments());
    } catch (const std::exception& e) {
        say(u"bench_diplomas: "_s + QString::fromUtf8(e.what()));
        return 2;
    }
}
