// The diploma window against a real server and a local file server: the list
// of an event, ticking, colours, the permission switch, the template download
// and its failures, the images a run leaves and a run that fails half-way.

#include "data/Codes.h"
#include "data/DBGrid.h"
#include "data/DBLookupComboBox.h"
#include "data/DataZRT.h"
#include "data/Files.h"
#include "data/MemTable.h"
#include "diplomas/CreateDiplomReg.h"
#include "diplomas/DiplomaDrawing.h"
#include "support/Fixtures.h"
#include "support/HttpServer.h"
#include "support/PdfReader.h"
#include "support/TestDb.h"
#include "support/Ui.h"
#include "ui/Shell.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QImageReader>
#include <QRegularExpression>
#include "diplomas/DiplomaPreview.h"
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int Admin = 501;
constexpr int Physics = 10;  // SubjectsID 6, generation open, ends 2026
constexpr int Closed = 11;   // SubjectsID 20, generation closed
constexpr int Ballet = 12;   // SubjectsID 3: the common template
constexpr int Unsafe = 13;   // a name that is no folder name

// An A4 page at 200 dots per inch, parchment coloured.
constexpr int W = 1654;
constexpr int H = 2339;

QImage makeTemplate(QRgb colour = qRgb(235, 225, 200))
{
    QImage t(W, H, QImage::Format_RGB32);
    t.fill(colour);
    t.setDotsPerMeterX(7874);
    t.setDotsPerMeterY(7874);
    return t;
}

QByteArray jpeg(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 95);
    return bytes;
}

// Users have no phone and no row of further details, events an end date only
// and no venue, applications no class part and no hotel.
void addUser(Fixture& f, UserRow row)
{
    row.phone = u""_s;
    row.details = false;
    f.user(row);
}

void addEvent(Fixture& f, EventRow row)
{
    row.dateStart = Null;
    row.venue = Null;
    f.event(row);
}

void addApplication(Fixture& f, ApplicationRow row)
{
    row.classPart = Null;
    row.hotel = Null;
    f.application(row);
}

// Event 10 lists, best result first: Орлова (winner), Павлов (prize-winner),
// Руднева (participant). Not listed: a candidate, a participant of the last
// school year, a pupil of another event.
void fill(Fixture& f)
{
    f.area({.id = 1, .name = u"г. Велград"_s});
    f.area({.id = 2, .name = u"Бережанский район"_s});
    f.school({.id = 1, .name = u"СОШ 1"_s, .fullname = u"МБОУ \"Средняя общеобразовательная школа № 1\""_s,
              .areaID = Null});
    f.school({.id = 2, .name = u"Гимназия"_s, .fullname = u"МАОУ \"Гимназия № 2\""_s, .areaID = Null});
    addUser(f, {.id = Admin, .surname = u"Кириллова"_s, .name = u"Анна"_s, .patronymic = u"Петровна"_s,
                .schoolID = Null, .role = 54280});
    addUser(f, {.id = 1001, .surname = u"Орлова"_s, .name = u"Мария"_s, .patronymic = u"Ивановна"_s});
    addUser(f, {.id = 1002, .surname = u"Павлов"_s, .name = u"Олег"_s, .patronymic = u"Сергеевич"_s, .areaID = 2,
                .schoolID = 2});
    addUser(f, {.id = 1003, .surname = u"Руднева"_s, .name = u"Софья"_s, .patronymic = u"Андреевна"_s});
    addUser(f, {.id = 1004, .surname = u"Сомов"_s, .name = u"Тимур"_s, .patronymic = u"Ильич"_s});
    addUser(f, {.id = 1005, .surname = u"Титова"_s, .name = u"Ульяна"_s, .patronymic = u"Олеговна"_s, .areaID = 2,
                .schoolID = 2});
    addUser(f, {.id = 1006, .surname = u"Уткин"_s, .name = u"Фёдор"_s, .patronymic = u"Глебович"_s,
                .schoolID = Null});
    addEvent(f, {.id = Physics, .nameEdu = u"Олимпиада по физике"_s, .dateEnd = QDate(2026, 2, 14),
                 .permissionDiplom = 1, .subjectsID = 6});
    addEvent(f, {.id = Closed, .nameEdu = u"Олимпиада по химии"_s, .dateEnd = QDate(2026, 2, 20),
                 .permissionDiplom = 0, .subjectsID = 20});
    addEvent(f, {.id = Ballet, .nameEdu = u"Конкурс балета"_s, .dateEnd = QDate(2026, 3, 1), .permissionDiplom = 1,
                 .subjectsID = 3});
    addEvent(f, {.id = Unsafe, .nameEdu = u"Физика 9/11: финал"_s, .dateEnd = QDate(2026, 3, 2),
                 .permissionDiplom = 1});
    addEvent(f, {.id = 14, .nameEdu = u"Скрытое"_s, .active = false, .dateEnd = QDate(2026, 3, 3),
                 .permissionDiplom = 1});
    addApplication(f, {.id = 1, .pupil = 1001, .event = Physics, .status = 7, .result = 95, .classStudy = 11});
    addApplication(f, {.id = 2, .pupil = 1002, .event = Physics, .status = 10, .result = 80, .classStudy = 10,
                       .area = 2});
    addApplication(f, {.id = 3, .pupil = 1003, .event = Physics, .status = 4, .result = 40, .classStudy = 9});
    addApplication(f, {.id = 4, .pupil = 1004, .event = Physics, .status = 1, .result = 0, .classStudy = 9});
    addApplication(f, {.id = 5, .pupil = 1005, .event = Physics, .status = 4, .result = 50, .classStudy = 9,
                       .period = f.pastPeriod(), .area = 2});
    addApplication(f, {.id = 6, .pupil = 1005, .event = Closed, .status = 7, .result = 90, .classStudy = 9,
                       .area = 2});
}

// The window of the administrator, its seams answered.
struct Window {
    Window()
    {
        fill(rows);
        DataZRT->userID = Admin;
        DataZRT->fileServerPort = http.port();
        http.serve("/Images/ZRT_6.jpg", jpeg(templ));
        http.serve("/Images/ZRT_20.jpg", jpeg(makeTemplate(qRgb(200, 230, 200))));
        http.serve("/Images/ZRT_all.jpg", jpeg(makeTemplate(qRgb(220, 220, 250))));
        setOutputRoot(out.path());
        TShell::setHooks([this](const QUrl& url) { opened << url; return true; }, {});
    }
    ~Window()
    {
        TShell::setHooks({}, {});
        setOutputRoot({});
    }

    TFormCreateDiplomReg& open()
    {
        form = std::make_unique<TFormCreateDiplomReg>();
        return *form;
    }
    void choose(int event)
    {
        auto* combo = find<TDBLookupComboBox>(form.get(), u"DBLookupComboBox1"_s);
        combo->chooseIndex(combo->findData(event));
        combo->hidePopup();
    }
    TDBGrid* grid() { return find<TDBGrid>(form.get(), u"DBGrid1"_s); }
    QStringList column(const QString& field)
    {
        QStringList v;
        for (int r = 1; r <= form->memList()->RecordCount(); ++r)
            v << grid()->cellText(r, field);
        return v;
    }
    QString folder(const QString& event) { return out.path() + u"/Дипломы/"_s + event; }
    QStringList files(const QString& event, const QString& pattern = u"*.jpg"_s)
    {
        return QDir(folder(event)).entryList({pattern}, QDir::Files | QDir::Hidden, QDir::Name);
    }

    DataSession s;
    Fixture rows{s.db, Fixture::YearsOnly};
    UiSeam seam;
    HttpServer http;
    QTemporaryDir out;
    QImage templ = makeTemplate();
    QList<QUrl> opened;
    std::unique_ptr<TFormCreateDiplomReg> form;
};

// The image a run should have saved for a row, drawn on what the file server sent.
QImage expected(const QImage& templ, int status, const QString& surname, const QString& name,
                const QString& patronymic, int userID, const QString& cls, const QString& school)
{
    TDiplomaData d;
    d.eduID = Physics;
    d.nameEdu = u"Олимпиада по физике"_s;
    d.year = 2026;
    d.userID = userID;
    d.statusparticipantID = status;
    d.surname = surname;
    d.name = name;
    d.patronymic = patronymic;
    d.classStudy = cls;
    d.school = school;
    return createTitle(QImage::fromData(jpeg(templ)), d, TDiplomaFaces::platform());
}

double meanDifference(const QImage& a, const QImage& b)
{
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    double sum = 0;
    for (int row = 0; row < x.height(); row += 2)
        for (int col = 0; col < x.width(); col += 2) {
            const QRgb p = x.pixel(col, row), q = y.pixel(col, row);
            sum += qAbs(qRed(p) - qRed(q)) + qAbs(qGreen(p) - qGreen(q)) + qAbs(qBlue(p) - qBlue(q));
        }
    return sum / (3.0 * (x.height() / 2) * (x.width() / 2));
}

// The largest difference of one colour channel between two images of one size.
int maxDifference(const QImage& a, const QImage& b)
{
    int most = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            most = std::max({most, qAbs(qRed(p) - qRed(q)), qAbs(qGreen(p) - qGreen(q)), qAbs(qBlue(p) - qBlue(q))});
        }
    return most;
}

// The mean difference inside the rows of the texts (the rest is template alone).
double textDifference(const QImage& a, const QImage& b)
{
    return meanDifference(a.copy(0, 700, W, 1600), b.copy(0, 700, W, 1600));
}

} // namespace

class TestCreateDiplom : public QObject {
    Q_OBJECT

private slots:
    // Events of every school year that are active, the first one's list: the
    // three statuses, best first, active period only, nobody ticked.
    void listOfAnEvent()
    {
        Window f;
        TFormCreateDiplomReg& w = f.open();
        auto* combo = find<TDBLookupComboBox>(&w, u"DBLookupComboBox1"_s);
        QStringList events;
        for (int i = 0; i < combo->count(); ++i)
            events << combo->itemText(i);
        QCOMPARE(events.size(), 4);
        QVERIFY2(events.contains(u"2026-02-14 Олимпиада по физике"_s), qPrintable(events.join(u'|')));
        f.choose(Physics);
        QCOMPARE(f.column(u"surname"_s), (QStringList{u"Орлова"_s, u"Павлов"_s, u"Руднева"_s}));
        QCOMPARE(f.column(u"checkOUT"_s), (QStringList{u"Нет"_s, u"Нет"_s, u"Нет"_s}));
        QCOMPARE(f.column(u"nameStatus"_s), (QStringList{u"Победитель регионального этапа"_s,
                                                         u"Призер регионального этапа"_s,
                                                         u"Участник регионального этапа"_s}));
        QCOMPARE(f.grid()->columns().at(f.grid()->columnOf(u"checkOUT"_s)).pickList, (QStringList{u"Да"_s, u"Нет"_s}));
        QVERIFY(f.seam.messages.isEmpty());
    }

    // Double-click toggles, the buttons tick and untick all and keep the
    // current row; only exactly "Да" counts; the ticked colour wins.
    void ticking()
    {
        Window f;
        TFormCreateDiplomReg& w = f.open();
        f.choose(Physics);
        TMemTable* list = w.memList();
        TDBGrid* grid = f.grid();
        QCOMPARE(grid->rowColor(1), QColor(240, 128, 128));
        QCOMPARE(grid->rowColor(2), QColor(255, 218, 185));
        QVERIFY(!grid->rowColor(3).isValid());

        list->setRecNo(2);
        w.DBGrid1DblClick();
        QCOMPARE(f.column(u"checkOUT"_s), (QStringList{u"Нет"_s, u"Да"_s, u"Нет"_s}));
        QCOMPARE(grid->rowColor(2), QColor(152, 251, 152));
        w.DBGrid1DblClick();
        QCOMPARE(f.column(u"checkOUT"_s).at(1), u"Нет"_s);

        QVERIFY(grid->editCell(3, u"checkOUT"_s, u"да"_s));
        QCOMPARE(w.countSelected(), 0);
        w.DBGrid1DblClick();  // anything but "Нет" becomes "Нет"
        QCOMPARE(f.column(u"checkOUT"_s).at(2), u"Нет"_s);

        list->setRecNo(2);
        click(&w, u"BitBtn2"_s);
        QCOMPARE(w.countSelected(), 3);
        QCOMPARE(list->RecNo(), 2);
        QCOMPARE(grid->rowColor(1), QColor(152, 251, 152));
        click(&w, u"BitBtn3"_s);
        QCOMPARE(w.countSelected(), 0);
        QCOMPARE(list->RecNo(), 2);
    }

    // A closed event disables "Выбрать все" and "Создать" with its message;
    // an open one enables them again. The list is shown either way.
    void permissionSwitch()
    {
        Window f;
        TFormCreateDiplomReg& w = f.open();
        f.choose(Closed);
        QCOMPARE(f.seam.texts(), QStringList{u"По этому мероприятию формирование дипломов закрыто администратором"_s});
        QCOMPARE(f.seam.messages.at(0).type, TMsgDlgType::Information);
        QVERIFY(!find<QPushButton>(&w, u"BitBtn2"_s)->isEnabled());
        QVERIFY(!find<QPushButton>(&w, u"BitBtn4"_s)->isEnabled());
        QVERIFY(find<QPushButton>(&w, u"BitBtn3"_s)->isEnabled());
        QCOMPARE(f.column(u"surname"_s), QStringList{u"Титова"_s});
        f.seam.clear();
        f.choose(Physics);
        QVERIFY(f.seam.messages.isEmpty());
        QVERIFY(find<QPushButton>(&w, u"BitBtn2"_s)->isEnabled());
        QVERIFY(find<QPushButton>(&w, u"BitBtn4"_s)->isEnabled());
    }

    void nothingChosen()
    {
        Window f;
        TFormCreateDiplomReg& w = f.open();
        f.choose(Physics);
        click(&w, u"BitBtn4"_s);
        QCOMPARE(f.seam.texts(), QStringList{u"Нет выбранных участников.\n\r"_s});
        QVERIFY(f.http.requests.isEmpty());
        QVERIFY(!QDir(f.out.path() + u"/Дипломы"_s).exists());
    }

    // A winner, a prize-winner and a participant: one JPEG each, named by the
    // full name (a surname corrected in the grid included), drawn as
    // createTitle draws them; the final message and the folder opened.
    void winnerPrizeWinnerParticipant()
    {
        Window f;
        TFormCreateDiplomReg& w = f.open();
        f.choose(Physics);
        QVERIFY(f.grid()->editCell(3, u"surname"_s, u"Руднева-Белова"_s));
        QSignalSpy values(find<QProgressBar>(&w, u"ProgressBar1"_s), &QProgressBar::valueChanged);
        click(&w, u"BitBtn2"_s);
        click(&w, u"BitBtn4"_s);

        const QString folder = f.folder(u"Олимпиада по физике"_s);
        const QString pdf = u"(0)Дипломы_(Олимпиада по физике)_"_s + QLocale().toString(QDate::currentDate(), QLocale::ShortFormat)
                            + u".pdf"_s;
        QCOMPARE(f.seam.texts(), QStringList{u"Создание дипломов (сертификатов) завершено.\n\rФайлы сохранены в папке:\n\r"_s
                                             + QDir::toNativeSeparators(folder)
                                             + u"\n\rВсе дипломы (сертификаты) для печати в одном файле:\n\r"_s + pdf});
        // One page a diploma, each the template's A4 page.
        QCOMPARE(f.files(u"Олимпиада по физике"_s, u"*.pdf"_s), QStringList{pdf});
        const QString info = pdfinfo(folder + u'/' + pdf);
        QVERIFY2(info.contains(QRegularExpression(u"Pages:\\s+3\\n"_s)), qPrintable(info));
        QVERIFY2(info.contains(QRegularExpression(u"Page size:\\s+595(\\.\\d+)? x 84[12](\\.\\d+)? pts \\(A4\\)"_s)), qPrintable(info));
        // Each page holds the bytes of its image file, in list order, coded once.
        QList<QByteArray> jpegs;
        for (const QString& file : {u"Орлова Мария Ивановна.jpg"_s, u"Павлов Олег Сергеевич.jpg"_s,
                                    u"Руднева-Белова Софья Андреевна.jpg"_s}) {
            QFile image(folder + u'/' + file);
            QVERIFY(image.open(QIODevice::ReadOnly));
            jpegs << image.readAll();
        }
        QCOMPARE(pdfJpegStreams(folder + u'/' + pdf), jpegs);
        QCOMPARE(f.opened, QList<QUrl>{QUrl::fromLocalFile(folder + u'/')});
        QCOMPARE(f.http.requests, QList<QByteArray>{"/Images/ZRT_6.jpg"});
        QCOMPARE(f.files(u"Олимпиада по физике"_s),
                 (QStringList{u"Орлова Мария Ивановна.jpg"_s, u"Павлов Олег Сергеевич.jpg"_s,
                              u"Руднева-Белова Софья Андреевна.jpg"_s}));
        // The bar followed the bytes of the template, then the images, and was emptied.
        QList<int> shown;
        for (const QList<QVariant>& v : values)
            shown << v.at(0).toInt();
        const int bytes = int(jpeg(f.templ).size());
        QVERIFY2(shown.contains(bytes), qPrintable(QString::number(shown.size())));
        QCOMPARE(shown.mid(shown.lastIndexOf(bytes) + 1), (QList<int>{0, 1, 2, 3, 0}));

        const QString school1 = u"МБОУ \"Средняя общеобразовательная школа № 1\""_s;
        struct Case {
            QString file;
            QImage image;
        } cases[] = {
            {u"Орлова Мария Ивановна.jpg"_s, expected(f.templ, Status::Winner, u"Орлова"_s, u"Мария"_s, u"Ивановна"_s, 1001, u"11"_s, school1)},
            {u"Павлов Олег Сергеевич.jpg"_s, expected(f.templ, Status::PrizeWinner, u"Павлов"_s, u"Олег"_s, u"Сергеевич"_s, 1002, u"10"_s, u"МАОУ \"Гимназия № 2\""_s)},
            {u"Руднева-Белова Софья Андреевна.jpg"_s, expected(f.templ, Status::Participant, u"Руднева-Белова"_s, u"Софья"_s, u"Андреевна"_s, 1003, u"9"_s, school1)},
        };
        // Each file is a JPEG of its own participant's image: nearer to it than to the others.
        for (const Case& c : cases) {
            QImageReader reader(folder + u'/' + c.file);
            QCOMPARE(reader.format(), QByteArray("jpeg"));
            const QImage saved = reader.read();
            QCOMPARE(saved.size(), QSize(W, H));
            const double own = textDifference(saved, c.image);
            QVERIFY2(own < 1.0, qPrintable(c.file));
            for (const Case& other : cases)
                if (&other != &c)
                    QVERIFY2(textDifference(saved, other.image) > 2 * own, qPrintable(c.file + u" ~ "_s + other.file));
        }
        // The database keeps the surname.
        QCOMPARE(f.s.db.scalar(u"SELECT surname FROM vzl_users WHERE id=1003"_s).toString(), u"Руднева"_s);

        // The window is as before the run.
        QVERIFY(!find<QLabel>(&w, u"Lb"_s)->isVisible());
        QCOMPARE(find<QProgressBar>(&w, u"ProgressBar1"_s)->value(), 0);
        QVERIFY(!w.memList()->ControlsDisabled());
    }

    // Each event's template: 6 and 20 their own, any other the common one.
    void templatePerSubject_data()
    {
        QTest::addColumn<int>("event");
        QTest::addColumn<QString>("path");
        QTest::newRow("6") << Physics << u"/Images/ZRT_6.jpg"_s;
        QTest::newRow("20") << Closed << u"/Images/ZRT_20.jpg"_s;
        QTest::newRow("3") << Ballet << u"/Images/ZRT_all.jpg"_s;
        QTest::newRow("none") << Unsafe << u"/Images/ZRT_all.jpg"_s;
    }
    void templatePerSubject()
    {
        QFETCH(int, event);
        QFETCH(QString, path);
        Window f;
        TFormCreateDiplomReg& w = f.open();
        f.choose(event);
        QVERIFY(w.LoadTemplate());
        QCOMPARE(f.http.requests, QList<QByteArray>{path.toUtf8()});
        QCOMPARE(w.templateImage().size(), QSize(W, H));
    }

    // Namesakes of one run get " (2)"; characters no file or folder name can
    // hold become "_", and nothing lands outside "Дипломы".
    void namesakesAndUnsafeNames()
    {
        Window f;
        addUser(f.rows, {.id = 1101, .surname = u"Ким"_s, .name = u"Ли"_s, .patronymic = u""_s});
        addUser(f.rows, {.id = 1102, .surname = u"КИМ"_s, .name = u"Ли"_s, .patronymic = u""_s, .schoolID = 2});
        addUser(f.rows, {.id = 1103, .surname = u"../.."_s, .name = u"Ян"_s, .patronymic = u"a\\b"_s});
        addApplication(f.rows, {.id = 11, .pupil = 1101, .event = Unsafe, .status = 7, .result = 90, .classStudy = 9});
        addApplication(f.rows, {.id = 12, .pupil = 1102, .event = Unsafe, .status = 10, .result = 80, .classStudy = 9});
        addApplication(f.rows, {.id = 13, .pupil = 1103, .event = Unsafe, .status = 4, .result = 70, .classStudy = 9});
        TFormCreateDiplomReg& w = f.open();
        f.choose(Unsafe);
        click(&w, u"BitBtn2"_s);
        click(&w, u"BitBtn4"_s);
        const QStringList made = f.files(u"Физика 9_11_ финал"_s);
        QCOMPARE(QSet<QString>(made.begin(), made.end()),
                 (QSet<QString>{u".._.. Ян a_b.jpg"_s, u"Ким Ли .jpg"_s, u"КИМ Ли  (2).jpg"_s}));
        QCOMPARE(QDir(f.out.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{u"Дипломы"_s});
        QCOMPARE(QDir(f.out.path() + u"/Дипломы"_s).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{u"Физика 9_11_ финал"_s});
    }

    // A failed download shows its message and keeps the template held; a
    // window that never had one stops with a message and makes nothing.
    void downloadFailures()
    {
        Window f;
        TFormCreateDiplomReg& w = f.open();
        f.choose(Physics);
        click(&w, u"BitBtn2"_s);
        f.http.serve("/Images/ZRT_6.jpg", "not a picture");
        click(&w, u"BitBtn4"_s);
        QCOMPARE(f.seam.messages.size(), 2);
        QCOMPARE(f.seam.messages.at(0).type, TMsgDlgType::Error);
        QVERIFY2(f.seam.texts().at(0).startsWith(u"При считывании файла из БД возникла ошибка: "_s), qPrintable(f.seam.texts().at(0)));
        QCOMPARE(f.seam.texts().at(1), u"Шаблон диплома (сертификата) не загружен: дипломы (сертификаты) не созданы"_s);
        QVERIFY(!QDir(f.out.path() + u"/Дипломы"_s).exists());
        QVERIFY(f.opened.isEmpty());
        QVERIFY(!find<QLabel>(&w, u"Lb"_s)->isVisible());

        // A template once loaded stays when a later download fails (404).
        f.http.serve("/Images/ZRT_6.jpg", jpeg(f.templ));
        QVERIFY(w.LoadTemplate());
        HttpServer empty;
        DataZRT->fileServerPort = empty.port();
        f.seam.clear();
        click(&w, u"BitBtn4"_s);
        QCOMPARE(f.seam.messages.size(), 2);
        QVERIFY(f.seam.texts().at(0).startsWith(u"При считывании файла из БД возникла ошибка: "_s));
        QVERIFY(f.seam.texts().at(1).startsWith(u"Создание дипломов (сертификатов) завершено."_s));
        QCOMPARE(f.files(u"Олимпиада по физике"_s).size(), 3);
    }

    // A server that accepts and never answers: the failure message after the
    // time-out, the window painting meanwhile.
    void silentServer()
    {
        Window f;
        TFormCreateDiplomReg& w = f.open();
        f.choose(Physics);
        f.http.setSilent(true);
        QElapsedTimer t;
        t.start();
        QVERIFY(!w.LoadTemplate());
        QVERIFY(t.elapsed() < 15000);
        QCOMPARE(f.seam.messages.size(), 1);
        QVERIFY2(f.seam.texts().at(0).startsWith(u"При считывании файла из БД возникла ошибка: "_s), qPrintable(f.seam.texts().at(0)));
        QVERIFY(w.templateImage().isNull());
    }

    // A failure half-way names the participant, keeps the images made before
    // it and gives the window back: a file that cannot be written.
    void failureHalfWay()
    {
        Window f;
        const QString folder = f.folder(u"Олимпиада по физике"_s);
        QVERIFY(QDir().mkpath(folder + u"/Павлов Олег Сергеевич.jpg"_s));  // a folder where the file goes
        TFormCreateDiplomReg& w = f.open();
        f.choose(Physics);
        w.memList()->setRecNo(3);
        click(&w, u"BitBtn2"_s);
        click(&w, u"BitBtn4"_s);

        QCOMPARE(f.seam.messages.size(), 1);
        const TMessage m = f.seam.messages.at(0);
        QCOMPARE(m.type, TMsgDlgType::Error);
        QVERIFY2(m.text.startsWith(u"Создание дипломов (сертификатов) прервано.\n\rНе удалось создать диплом (сертификат) для Павлов Олег Сергеевич:\n\r"_s),
                 qPrintable(m.text));
        // The count names the files there: the one before, and one under way
        // when the file could not be written.
        const QStringList made = f.files(u"Олимпиада по физике"_s);
        QVERIFY2(m.text.endsWith(u"Создано файлов: %1 из 3, они сохранены в папке:\n\r"_s.arg(made.size())
                                 + QDir::toNativeSeparators(folder)),
                 qPrintable(m.text));
        QVERIFY(made.contains(u"Орлова Мария Ивановна.jpg"_s));
        // No PDF, whole or half-written, under any name.
        QCOMPARE(f.files(u"Олимпиада по физике"_s, u"*"_s), made);
        QVERIFY(f.opened.isEmpty());
        QVERIFY(!find<QLabel>(&w, u"Lb"_s)->isVisible());
        QCOMPARE(find<QProgressBar>(&w, u"ProgressBar1"_s)->value(), 0);
        QVERIFY(!w.memList()->ControlsDisabled());
        QCOMPARE(w.memList()->RecNo(), 3);
    }

    // A pupil without a school row gets his diploma with an empty school line;
    // the run goes on to the end.
    void pupilWithoutSchool()
    {
        Window f;
        f.s.db.exec(u"UPDATE vzl_users SET schoolID=NULL WHERE id=1002"_s);
        TFormCreateDiplomReg& w = f.open();
        f.choose(Physics);
        click(&w, u"BitBtn2"_s);
        click(&w, u"BitBtn4"_s);
        QCOMPARE(f.seam.messages.size(), 1);
        QVERIFY2(f.seam.texts().at(0).startsWith(u"Создание дипломов (сертификатов) завершено."_s), qPrintable(f.seam.texts().at(0)));
        QCOMPARE(f.files(u"Олимпиада по физике"_s).size(), 3);
        const QImage saved(f.folder(u"Олимпиада по физике"_s) + u"/Павлов Олег Сергеевич.jpg"_s);
        const auto pavlov = [&](const QString& school) {
            return expected(f.templ, Status::PrizeWinner, u"Павлов"_s, u"Олег"_s, u"Сергеевич"_s, 1002, u"10"_s, school);
        };
        const auto box = [](const QImage& image) { return image.copy(255, 1350, W - 510, 350); };  // the school's
        const double own = meanDifference(box(saved), box(pavlov(QString())));
        const double named = meanDifference(box(saved), box(pavlov(u"МАОУ \"Гимназия № 2\""_s)));
        QVERIFY2(own < 1.0 && named > 2 * own, qPrintable(u"%1 %2"_s.arg(own).arg(named)));
    }

    // The PDF is an extra: a name too long for a file (the event's name is in
    // it) leaves the images made and the message says why the PDF is missing.
    void pdfCannotBeWritten()
    {
        Window f;
        const QString name = u"Региональный этап олимпиады школьников "_s + QString(76, u'Ж');  // 230 bytes
        addEvent(f.rows, {.id = 15, .nameEdu = name, .dateEnd = QDate(2026, 3, 4), .permissionDiplom = 1,
                          .subjectsID = 6});
        addApplication(f.rows, {.id = 21, .pupil = 1001, .event = 15, .status = 7, .result = 95, .classStudy = 11});
        addApplication(f.rows, {.id = 22, .pupil = 1002, .event = 15, .status = 4, .result = 50, .classStudy = 10,
                                .area = 2});
        TFormCreateDiplomReg& w = f.open();
        f.choose(15);
        click(&w, u"BitBtn2"_s);
        click(&w, u"BitBtn4"_s);

        QCOMPARE(f.files(name), (QStringList{u"Орлова Мария Ивановна.jpg"_s, u"Павлов Олег Сергеевич.jpg"_s}));
        QCOMPARE(f.files(name, u"*"_s), f.files(name));  // no PDF, whole or half
        QCOMPARE(f.seam.messages.size(), 1);
        QCOMPARE(f.seam.messages.at(0).type, TMsgDlgType::Warning);
        const QString text = f.seam.texts().at(0);
        const QString lead = u"Создание дипломов (сертификатов) завершено.\n\rФайлы сохранены в папке:\n\r"_s
                             + QDir::toNativeSeparators(f.folder(name))
                             + u"\n\rФайл для печати (PDF) не создан:\n\rНе удалось сохранить файл \""_s;
        QVERIFY2(text.startsWith(lead) && text.contains(u".pdf\": "_s) && text.endsWith(u"File name too long"_s), qPrintable(text));
        QCOMPARE(f.opened, QList<QUrl>{QUrl::fromLocalFile(f.folder(name) + u'/')});
    }

    // Choosing an event reads its list once.
    void listReadOnce()
    {
        Window f;
        TFormCreateDiplomReg& w = f.open();
        int opened = 0;
        TQuery* list = DataZRT->GETdiplomReg;
        QObject::connect(list, &TDataSet::dataReset, &w, [&] { opened += list->Active() ? 1 : 0; });
        f.choose(Physics);  // the window opens on the first event, the ballet
        QCOMPARE(opened, 1);
        f.choose(Ballet);
        QCOMPARE(opened, 2);
    }

    // "Просмотр" draws the current row as "Создать" does, with its
    // corrections, on the downloaded template, and saves nothing.
    void preview()
    {
        Window f;
        TFormCreateDiplomReg& w = f.open();
        f.choose(Physics);
        QVERIFY(f.grid()->editCell(2, u"name"_s, u"Олег-Пётр"_s));
        QImage shown;
        f.seam.onDialog([&](QDialog& d) { shown = dynamic_cast<TFormDiplomaPreview&>(d).image(); });
        click(&w, u"BitBtn5"_s);
        QCOMPARE(f.seam.dialogs, QStringList{u"TFormDiplomaPreview"_s});
        QVERIFY(f.seam.messages.isEmpty());
        QCOMPARE(f.http.requests, QList<QByteArray>{"/Images/ZRT_6.jpg"});
        QVERIFY(!QDir(f.out.path() + u"/Дипломы"_s).exists());

        // The same pixels as createTitle gives for the row. Once worker threads
        // have drawn in this process, Qt's large glyphs on the UI thread vary by
        // a few levels at their edges from one drawing to the next; a
        // different text differs by far more.
        const QImage drawn = createTitle(w.templateImage(), w.participant(2), TDiplomaFaces::platform());
        QCOMPARE(shown.size(), drawn.size());
        QCOMPARE(shown.format(), drawn.format());
        QVERIFY2(maxDifference(shown, drawn) <= 16, qPrintable(QString::number(maxDifference(shown, drawn))));
        QVERIFY(maxDifference(shown, expected(f.templ, Status::PrizeWinner, u"Павлов"_s, u"Олег-Пётр"_s, u"Сергеевич"_s,
                                              1002, u"10"_s, u"МАОУ \"Гимназия № 2\""_s)) <= 16);
        QVERIFY(maxDifference(shown, expected(f.templ, Status::PrizeWinner, u"Павлов"_s, u"Олег"_s, u"Сергеевич"_s,
                                              1002, u"10"_s, u"МАОУ \"Гимназия № 2\""_s)) > 100);

        // "Создать" for that row saves the same picture (through JPEG).
        w.DBGrid1DblClick();
        click(&w, u"BitBtn4"_s);
        const QImage saved(f.folder(u"Олимпиада по физике"_s) + u"/Павлов Олег-Пётр Сергеевич.jpg"_s);
        QVERIFY(textDifference(saved, shown) < 1.0);
        QCOMPARE(f.http.requests.size(), 2);  // a run downloads again
    }

    // The preview shows the chosen event's own template, also after another
    // event's preview has left its template in the window.
    void previewUsesChosenEventsTemplate()
    {
        Window f;
        addApplication(f.rows, {.id = 21, .pupil = 1004, .event = Ballet, .status = 4, .result = 30, .classStudy = 9});
        TFormCreateDiplomReg& w = f.open();
        QImage shown;
        for (int k = 0; k < 3; ++k)
            f.seam.onDialog([&](QDialog& d) { shown = dynamic_cast<TFormDiplomaPreview&>(d).image(); });
        const auto near = [](QRgb p, QRgb q) {
            return qAbs(qRed(p) - qRed(q)) + qAbs(qGreen(p) - qGreen(q)) + qAbs(qBlue(p) - qBlue(q)) < 12;
        };
        f.choose(Physics);
        click(&w, u"BitBtn5"_s);
        QVERIFY(near(shown.pixel(20, 20), qRgb(235, 225, 200)));
        f.choose(Ballet);
        click(&w, u"BitBtn5"_s);
        QCOMPARE(f.http.requests, (QList<QByteArray>{"/Images/ZRT_6.jpg", "/Images/ZRT_all.jpg"}));
        QVERIFY2(near(shown.pixel(20, 20), qRgb(220, 220, 250)), qPrintable(QColor(shown.pixel(20, 20)).name()));
        click(&w, u"BitBtn5"_s);  // the template held is this event's: no second download
        QCOMPARE(f.http.requests.size(), 2);
        QCOMPARE(f.seam.dialogs.size(), 3);
    }

    // The preview opens within a 1366 x 768 screen (a task bar of 40 pixels,
    // a window title of up to 60) with its button in view.
    void previewFitsTheScreen()
    {
        const QImage page = makeTemplate();  // 1654 x 2339
        const QSize opening = TFormDiplomaPreview::openingSize(QSize(1366, 728), page.size());
        QVERIFY2(opening.height() <= 728 - 60 && opening.width() <= 1366, qPrintable(u"%1x%2"_s.arg(opening.width()).arg(opening.height())));
        QVERIFY(opening.height() >= 600);  // not needlessly small
        TFormDiplomaPreview preview(page, u"Петров Иван Сергеевич"_s);
        preview.resize(opening);
        preview.show();
        QVERIFY(QTest::qWaitForWindowExposed(&preview));
        QCOMPARE(preview.size(), opening);
        auto* close = find<QPushButton>(&preview, u"BitBtn1"_s);
        QVERIFY(close->isVisible());
        QVERIFY(preview.rect().contains(QRect(close->mapTo(&preview, QPoint(0, 0)), close->size())));
        auto* view = find<TImageView>(&preview, u"Image1"_s);
        QVERIFY(view->height() >= 540);
        // On the screen it is shown on, it opens within that screen.
        TFormDiplomaPreview fitted(page, u"Петров Иван Сергеевич"_s);
        QVERIFY(fitted.height() <= fitted.screen()->availableGeometry().height() - 60);
    }

    void previewWithoutTemplate()
    {
        Window f;
        HttpServer empty;
        DataZRT->fileServerPort = empty.port();
        TFormCreateDiplomReg& w = f.open();
        f.choose(Physics);
        click(&w, u"BitBtn5"_s);
        QVERIFY(f.seam.dialogs.isEmpty());
        QCOMPARE(f.seam.messages.size(), 1);
        QVERIFY2(f.seam.texts().at(0).startsWith(u"При считывании файла из БД возникла ошибка: "_s), qPrintable(f.seam.texts().at(0)));
        QVERIFY(!find<QLabel>(&w, u"Lb"_s)->isVisible());
    }
};

QTEST_MAIN(TestCreateDiplom)
#include "test_create_diplom.moc"
