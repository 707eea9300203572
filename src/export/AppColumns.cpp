#include "export/AppColumns.h"

#include <initializer_list>

using namespace Qt::Literals::StringLiterals;

namespace {

enum : unsigned {
    Turned = 1,
    SheetCentred = 2,
    HtmlCentred = 4,
    Centred = SheetCentred | HtmlCentred,
    Small = 8,
    Marked = 16,
    Number = 32,
    Date = 64,
};

struct ColumnRow {
    QString title;
    QString field;
    int width;
    unsigned form = 0;
};

QList<TAppColumn> makeColumns(std::initializer_list<ColumnRow> rows, const QList<TAppGroup>& groups)
{
    QList<TAppColumn> columns;
    for (const ColumnRow& r : rows) {
        TAppColumn c;
        c.title = r.title;
        c.field = r.field;
        c.width = r.width;
        c.turned = r.form & Turned;
        c.sheetCentred = r.form & SheetCentred;
        c.htmlCentred = r.form & HtmlCentred;
        c.small = r.form & Small;
        c.marked = r.form & Marked;
        c.kind = r.form & Number ? TValueKind::Number : r.form & Date ? TValueKind::Date : TValueKind::Text;
        const int number = columns.size() + 1;
        for (int g = 0; g < groups.size(); ++g)
            if (number >= groups[g].first && number <= groups[g].last)
                c.group = g;
        columns.append(c);
    }
    return columns;
}

TAppForm makeShort()
{
    TAppForm f;
    f.caption = u"Краткая заявка на участие (проживание) в региональном мероприятии"_s;
    f.ministry = u"Министерство образования Велградской области"_s;
    f.centre = u"Образовательный центр \"Кассиор\""_s;
    f.sheetHeadingTail = u". Краткая заявка на проживание (участие) в общеобразовательном мероприятии регионального этапа."_s;
    f.htmlHeadingTail = u". Краткая заявка на проживание (участие) в общеобразовательном региональном мероприятии."_s;
    f.filePrefix = u"Краткая_заявка_("_s;
    f.groups = {
        {u"Участник"_s, 1, 10, false},
        {u"Сопровождающий"_s, 11, 20, true},
    };
    f.columns = makeColumns({
        {u"№ п/п"_s, {}, 6},
        {u"Мероприятие"_s, u"nameEdu"_s, 20},
        {u"Фамилия"_s, u"surname"_s, 20},
        {u"Имя"_s, u"name"_s, 20},
        {u"Отчество"_s, u"patronymic"_s, 20},
        {u"Площадка проведения"_s, u"actionarea"_s, 20},
        {u"Отметка о необходимости проживания участника в гостинице"_s, u"hotelU"_s, 8, Turned | HtmlCentred},
        {u"Дата заезда участника"_s, u"dateIn"_s, 12, Date},
        {u"Дата отъезда участника"_s, u"dateOut"_s, 12, Date},
        {u"Сотовый телефон участника"_s, u"phone"_s, 14},
        {u"Фамилия"_s, u"surnameM"_s, 20},
        {u"Имя"_s, u"nameM"_s, 20},
        {u"Отчество"_s, u"patronymicM"_s, 20},
        {u"Отметка о необходимости проживания в гостинице"_s, u"hotelM"_s, 10, Turned | HtmlCentred},
        {u"Должность"_s, u"post"_s, 20},
        {u"Образовательная организация"_s, u"educationalOrg"_s, 20},
        {u"Электронная почта"_s, u"eMailM"_s, 15},
        {u"Сотовый телефон"_s, u"phoneM"_s, 12},
        {u"Дата заезда сопровождающего"_s, u"dateInM"_s, 12, Date},
        {u"Дата отъезда сопровождающего"_s, u"dateOutM"_s, 12, Date},
    }, f.groups);
    return f;
}

TAppForm makeFull()
{
    TAppForm f;
    f.caption = u"Детализированная заявка на участие (проживание) в региональном этапе"_s;
    f.ministry = u"Министерство образования Велградской области"_s;
    f.centre = u"Образовательный центр \"Кассиор\""_s;
    f.sheetHeadingTail = u". Детализированная заявка на проживание (участие) в общеобразовательном мероприятии регионального этапа."_s;
    f.htmlHeadingTail = f.sheetHeadingTail;
    f.filePrefix = u"Полная_заявка_("_s;
    f.sheetRowsWrapped = true;
    f.groups = {
        {u"Участник"_s, 1, 21, false},
        {u"Учитель (наставник), подготовивший участника"_s, 22, 28, true},
        {u"Сопровождающий"_s, 29, 38, false},
    };
    f.columns = makeColumns({
        {u"№ п/п"_s, {}, 6},
        {u"Фамилия"_s, u"param1"_s, 15},
        {u"Имя"_s, u"param2"_s, 15},
        {u"Отчество"_s, u"param3"_s, 15},
        {u"Пол"_s, u"param4"_s, 5, Centred},
        {u"Дата рождения"_s, u"param5"_s, 12, Date},
        {u"Наличие гражданства РФ"_s, u"param6"_s, 8, Turned | Centred},
        {u"Ограниченные возможности здоровья"_s, u"param7"_s, 12, Turned | Marked},
        {u"Полное название общеобразовательного учреждения по уставу"_s, u"param8"_s, 25, Small | HtmlCentred},
        {u"Класс обучения"_s, u"param9"_s, 6, Turned | Centred | Number},
        {u"Статус участника"_s, u"param10"_s, 25, Turned},
        {u"Результат"_s, u"param11"_s, 6, Turned | Number},
        {u"Адрес общеобразовательного учреждения"_s, u"param12"_s, 25, Small},
        {u"Сокр. название ОУ"_s, u"param13"_s, 20, Turned},
        {u"Площадка проведения"_s, u"param14"_s, 15},
        {u"Класс, за который выступал"_s, u"param151"_s, 8, Turned | Centred | Number},
        {u"Предмет"_s, u"param16"_s, 15},
        {u"Необходимость проживания в гостинице"_s, u"param17"_s, 8, Turned | Centred},
        {u"Дата заезда участника"_s, u"param18"_s, 12, Date},
        {u"Дата отъезда участника"_s, u"param19"_s, 12, Date},
        {u"Сотовый телефон участника"_s, u"param20"_s, 15},
        {u"Статус"_s, u"param21"_s, 15},
        {u"Фамилия"_s, u"param22"_s, 15},
        {u"Имя"_s, u"param23"_s, 15},
        {u"Отчество"_s, u"param24"_s, 15},
        {u"Место работы"_s, u"param25"_s, 25, Small},
        {u"Должность"_s, u"param26"_s, 15},
        {u"Муниципальное образование"_s, u"param27"_s, 16},
        {u"Фамилия"_s, u"param28"_s, 15},
        {u"Имя"_s, u"param29"_s, 15},
        {u"Отчество"_s, u"param30"_s, 15},
        {u"Необходимость проживания в гостинице"_s, u"param31"_s, 8, Turned | Centred},
        {u"Должность"_s, u"param32"_s, 15},
        {u"Образовательная организация"_s, u"param33"_s, 25, Small},
        {u"электронная почта"_s, u"param34"_s, 20},
        {u"Сотовый телефон"_s, u"param35"_s, 12},
        {u"Дата заезда сопровождающего"_s, u"param36"_s, 12, Date},
        {u"Дата отъезда сопровождающего"_s, u"param37"_s, 12, Date},
    }, f.groups);
    return f;
}

} // namespace

QString TAppForm::markedText()
{
    return u"Имеются"_s;
}

const TAppForm& shortApp()
{
    static const TAppForm form = makeShort();
    return form;
}

const TAppForm& fullApp()
{
    static const TAppForm form = makeFull();
    return form;
}
