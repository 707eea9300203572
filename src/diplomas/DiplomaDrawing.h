#pragma once
// The texts of a diploma or certificate and their drawing on a copy of the
// template image. Knows no window and no database: the diploma window fills
// TDiplomaData from its participant list and the school query.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QList>
#include <QRect>
#include <QString>
#include <optional>

/// What one image prints: the event and one participant.
///
///     TDiplomaData d;
///     d.eduID = 12; d.nameEdu = u"Олимпиада по физике"_s; d.year = 2024;
///     d.userID = 345; d.statusparticipantID = Status::Winner;
///     d.surname = u"Петров"_s; d.name = u"Иван"_s; d.patronymic = u"Сергеевич"_s;
///     d.classStudy = u"9"_s; d.school = u"МБОУ \"СОШ № 1\""_s;
struct TDiplomaData {
    // The event (a row of `EDUdiplomReg`).
    int eduID = 0;        ///< `id`: first part of the registration number
    QString nameEdu;      ///< `nameEdu`
    int year = 0;         ///< `year`: the calendar year of the event's end date
    // The participant (a row of the window's list, as the user may have corrected it).
    int appID = 0;        ///< `appID`: the application row (for the school query)
    int userID = 0;       ///< `userID`: second part of the registration number
    int statusparticipantID = 0; ///< 7 winner, 10 prize-winner, 4 participant
    QString surname;
    QString name;
    QString patronymic;
    QString classStudy;   ///< the class as the list shows it, "9"
    QString school;       ///< `fullname` of `diplomOneReg`
};

/// The two title words of a status: ("ДИПЛОМ", "ПОБЕДИТЕЛЯ") for 7,
/// ("ДИПЛОМ", "ПРИЗЁРА") for 10, ("СЕРТИФИКАТ", "УЧАСТНИКА") for 4.
struct TDiplomaTitle {
    QString first;
    QString second;
};

/// The title of a status, none for a status that gets no document.
///
///     diplomaTitle(Status::PrizeWinner)->second   // "ПРИЗЁРА"
///     diplomaTitle(Status::Candidate)              // std::nullopt
std::optional<TDiplomaTitle> diplomaTitle(int statusparticipantID);

/// The registration number line: "Регистрационный № " + event id, "-",
/// user id, "-" and the event's year.
///
///     registrationNumber(d)   // "Регистрационный № 12-345-2024"
QString registrationNumber(const TDiplomaData& data);

/// The font faces a diploma is drawn with.
///
///     TDiplomaFaces faces = TDiplomaFaces::platform();   // on the UI thread
///     faces.defaultFace    // "DejaVu Sans" here, "Tahoma" on Windows
struct TDiplomaFaces {
    QString defaultFace;                    ///< the platform's default dialog face
    QString serifFace = QStringLiteral("Times New Roman");

    /// The faces of this platform. Reads the application's default font, so
    /// call it on the UI thread and hand the result to workers.
    ///
    ///     TDiplomaWriter writer(templ, TDiplomaFaces::platform());
    static TDiplomaFaces platform();
};

/// One text of the image and where it goes.
struct TDiplomaText {
    enum class Place {
        Centred,  ///< x centred on the image's width, top at y
        Left,     ///< left edge at x, top at y
        Box,      ///< word-wrapped, each line centred, from the top of box, clipped to it
    };
    QString text;
    QFont font;           ///< face, size in points (on a 96 pixels per inch image), weight
    QColor colour;
    Place place = Place::Centred;
    int x = 0;            ///< for Left
    int y = 0;            ///< top of the text, for Centred and Left
    QRect box;            ///< for Box
    bool opaque = false;  ///< on a white background the size of the text
};

/// The nine texts of one image, in drawing order, for a template of that width.
/// Throws EError for a status that gets no document.
///
///     const QList<TDiplomaText> t = diplomaTexts(d, 1654, faces);
///     t[0].text   // "ДИПЛОМ"
///     t[7].box    // QRect(255, 1350, 1654 - 510, 350): the school name
QList<TDiplomaText> diplomaTexts(const TDiplomaData& data, int templateWidth, const TDiplomaFaces& faces);

/// Draws one participant's texts on a fresh copy of the template and returns
/// it: a 32-bit RGB image of the template's size whose texts are measured at
/// 96 pixels per inch; it keeps the template's dots per metre, so it prints at
/// the template's size. Safe on any thread. Throws EError for a null template,
/// an image that cannot be allocated or a status that gets no document.
///
///     QImage image = createTitle(templ, d, faces);
///     image.save(u"Дипломы/Олимпиада/Петров Иван Сергеевич.jpg"_s, "JPEG", 90);
QImage createTitle(const QImage& templ, const TDiplomaData& data, const TDiplomaFaces& faces);
