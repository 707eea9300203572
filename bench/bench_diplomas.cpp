// "Создать" of the diploma window for 100 participants on an A4 template at
// 200 dots per inch (1654 x 2339, the size the drawing positions are made
// for), served by a local file server of the benchmark's own: the download,
// the drawing, the JPEG files and the PDF of all of them.
//
//     scripts/testdb.sh start /tmp/bench-db
//     build/bench/bench_diplomas --server-dir /tmp/bench-db --out /tmp/diplomas
//     scripts/testdb.sh stop /tmp/bench-db
//
// Options: --server-dir DIR (or TALVIRA_TESTDB_DIR; root logs in on DIR/mysqld.sock,
// the program's account on 127.0.0.1 at the port in DIR/port or --port P),
// --out DIR (the images and the PDF stay in DIR/Дипломы/<event>; a temporary folder when
// not given), --runs N (3; the best run is reported), --keep (keep the database).

#include "BenchSupport.h"
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
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QUrl>
#include <algorithm>
#include <ctime>
#include <cstdio>

using namespace Qt::Literals::StringLiterals;
using bench::fail;
using bench::say;

namespace {

constexpr int Count = 100;
constexpr int Event = 10;
constexpr int AdminUser = 501;

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

// A4 at 200 dots per inch: a shaded border band with a frame, so that the JPEG
// coder has a picture to code and not a flat page, and a white field where the
// texts go (the place and year line at y 2245 in a white tab of the band).
QByteArray a4Template()
{
    QImage t(1654, 2339, QImage::Format_RGB32);
    t.setDotsPerMeterX(7874);
    t.setDotsPerMeterY(7874);
    QPainter p(&t);
    QLinearGradient g(0, 0, 1654, 2339);
    g.setColorAt(0, QColor(250, 244, 225));
    g.setColorAt(1, QColor(228, 214, 180));
    p.fillRect(t.rect(), g);
    p.setPen(QPen(QColor(150, 110, 40), 14));
    p.drawRect(40, 40, 1574, 2259);
    p.fillRect(QRect(127, 127, 1400, 2085), Qt::white);
    p.fillRect(QRect(507, 2200, 640, 105), Qt::white);
    p.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    t.save(&buffer, "JPEG", 92);
    return bytes;
}

void fill(bench::BenchDb& admin)
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
    const auto o = bench::BenchOptions::parse(args, 3, {}, false);
    const int runs = o.runs;
    QTemporaryDir tmp;
    setOutputRoot(o.outDirOr(tmp.path()));

    bench::BenchDb admin(o, u"bench_diplomas"_s);
    admin.execFile(bench::repoDir() + u"/db/schema.sql"_s);
    admin.execFile(bench::repoDir() + u"/db/reference.sql"_s);
    fill(admin);

    TemplateServer files(a4Template());

    TDataZRT dm;
    bench::connectDataModule(dm, o, admin, AdminUser);
    dm.fileServerPort = files.port();
    QStringList messages;
    bench::recordMessages(messages);
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
    return bench::benchMain(argc, argv, "bench_diplomas", run);
}
