#include "diplomas/DiplomaDrawing.h"

#include "data/Codes.h"
#include "data/Errors.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>

using namespace Qt::Literals::StringLiterals;

namespace {

// Texts are measured as on a screen of 96 pixels per inch: 64 points are 85
// pixels high, 32 points 43 and 16 points 21.
constexpr int kScreenDotsPerMeter = 3780;

const QColor kBlue(0, 147, 215);
const QColor kDarkBlue(56, 48, 133);

// The school name's box: this far from the left and right edges, between these rows.
constexpr int kSchoolMargin = 255;
constexpr int kSchoolTop = 1350;
constexpr int kSchoolBottom = 1700;

QFont font(const QString& face, int points, bool bold = false)
{
    return QFont(face, points, bold ? QFont::Bold : QFont::Normal);
}

void draw(QPainter& painter, const TDiplomaText& t, int width)
{
    painter.setFont(t.font);
    painter.setPen(t.colour);
    if (t.place == TDiplomaText::Place::Box) {
        painter.save();
        painter.setClipRect(t.box);
        painter.drawText(t.box, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, t.text);
        painter.restore();
        return;
    }
    const QFontMetrics metrics = painter.fontMetrics();
    const int textWidth = metrics.horizontalAdvance(t.text);
    const int x = t.place == TDiplomaText::Place::Centred ? width / 2 - textWidth / 2 : t.x;
    if (t.opaque)
        painter.fillRect(QRect(x, t.y, textWidth, metrics.height()), Qt::white);
    painter.drawText(QPoint(x, t.y + metrics.ascent()), t.text);
}

} // namespace

std::optional<TDiplomaTitle> diplomaTitle(int statusparticipantID)
{
    switch (statusparticipantID) {
    case Status::Winner:
        return TDiplomaTitle{u"ДИПЛОМ"_s, u"ПОБЕДИТЕЛЯ"_s};
    case Status::PrizeWinner:
        return TDiplomaTitle{u"ДИПЛОМ"_s, u"ПРИЗЁРА"_s};
    case Status::Participant:
        return TDiplomaTitle{u"СЕРТИФИКАТ"_s, u"УЧАСТНИКА"_s};
    default:
        return std::nullopt;
    }
}

QString registrationNumber(const TDiplomaData& data)
{
    return u"Регистрационный № %1-%2-%3"_s.arg(data.eduID).arg(data.userID).arg(data.year);
}

TDiplomaFaces TDiplomaFaces::platform()
{
    TDiplomaFaces faces;
    faces.defaultFace = QGuiApplication::font().family();
    return faces;
}

QList<TDiplomaText> diplomaTexts(const TDiplomaData& data, int templateWidth, const TDiplomaFaces& faces)
{
    const std::optional<TDiplomaTitle> title = diplomaTitle(data.statusparticipantID);
    if (!title)
        throw EError(u"Для статуса участника %1 диплом (сертификат) не предусмотрен"_s.arg(data.statusparticipantID));

    using Place = TDiplomaText::Place;
    const QFont title64 = font(faces.defaultFace, 64);
    const QFont plain16 = font(faces.defaultFace, 16);
    const QFont plain32 = font(faces.defaultFace, 32);
    const QFont serifBold32 = font(faces.serifFace, 32, true);
    const QFont serif32 = font(faces.serifFace, 32);
    const QRect schoolBox(QPoint(kSchoolMargin, kSchoolTop),
                          QPoint(templateWidth - kSchoolMargin - 1, kSchoolBottom - 1));

    return {
        {title->first, title64, kBlue, Place::Centred, 0, 710, {}, true},
        {title->second, title64, kBlue, Place::Centred, 0, 820, {}, true},
        {registrationNumber(data), plain16, kBlue, Place::Left, 377, 1733, {}, true},
        {data.nameEdu, plain32, kDarkBlue, Place::Centred, 0, 950, {}, true},
        {u"("_s + data.classStudy + u" класс)"_s, plain32, kDarkBlue, Place::Centred, 0, 1050, {}, true},
        {data.surname, serifBold32, kDarkBlue, Place::Centred, 0, 1150, {}, true},
        {data.name + u' ' + data.patronymic, serifBold32, kDarkBlue, Place::Centred, 0, 1250, {}, true},
        {data.school, serif32, kDarkBlue, Place::Box, 0, 0, schoolBox, false},
        {u"Велград, %1 г."_s.arg(data.year), serif32, kDarkBlue, Place::Centred, 0, 2245, {}, false},
    };
}

QImage createTitle(const QImage& templ, const TDiplomaData& data, const TDiplomaFaces& faces)
{
    if (templ.isNull())
        throw EError(u"Шаблон диплома не загружен"_s);
    const QList<TDiplomaText> texts = diplomaTexts(data, templ.width(), faces);

    // A copy of its own: the template is shared with other images being drawn.
    QImage canvas = templ.convertToFormat(QImage::Format_RGB32);
    canvas.detach();
    if (canvas.isNull())
        throw EError(u"Недостаточно памяти для изображения %1 × %2"_s.arg(templ.width()).arg(templ.height()));

    canvas.setDotsPerMeterX(kScreenDotsPerMeter);
    canvas.setDotsPerMeterY(kScreenDotsPerMeter);
    QPainter painter(&canvas);
    for (const TDiplomaText& t : texts)
        draw(painter, t, canvas.width());
    painter.end();

    canvas.setDotsPerMeterX(templ.dotsPerMeterX());
    canvas.setDotsPerMeterY(templ.dotsPerMeterY());
    return canvas;
}
