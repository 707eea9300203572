#!/usr/bin/env python3
"""Demo data of the Velgrad region for the regional events workstation.

Writes SQL for a database that already holds the tables of schema.sql and the
rows of reference.sql: municipalities, schools, pupils, two school years,
regional events, administrators, pupils' choices, applications with results,
accompanying persons, menu permissions, the announcement and the update row.

The output is the same for the same options. Rows go out as multi-row INSERTs
in batches inside one transaction, so that even a large database loads fast:

    python3 generate_demo.py > demo.sql
    python3 generate_demo.py --pupils 100000 --events 200 -o big.sql

Only the standard library is used.
"""

import argparse
import datetime as dt
import random
import sys

# ---------------------------------------------------------------------------
# Fixed values

ROLE_PUPIL = 4
ROLE_ADMIN = 54280
ROLE_MUNICIPAL = 80
ROLE_UPDATE_ROW = 7
STAGE_REGIONAL = 3
KOORD_ID = 318047
DEFAULT_MAINTAINER = 146

DEMO_LOGIN = "admin@velgrad.example"
DEMO_PASSWORD = "Talvira2026!"
# bcrypt of DEMO_PASSWORD, cost 10, in the "$2a$" form the workstation writes.
# Made once with the system's crypt library:
#   python3 -c 'import crypt; print(crypt.crypt("Talvira2026!",
#               "$2b$10$Vel6gradRegionAdmin2026"))'
# which gives the "$2b$" string; "$2a$" and "$2b$" hash ASCII passwords alike,
# so only the prefix was changed.
DEMO_HASH = "$2a$10$Vel6gradRegionAdmin20usqe6lhWw/bn8CBGwZd6ZCH6StEtLzuq"

STATUS_CANDIDATE = 1
STATUS_PARTICIPANT = 4
STATUS_WINNER = 7
STATUS_PRIZE = 10
STATUS_ABSENT = 15

# Windows colour value: red in the low byte, then green, then blue.
ANNOUNCEMENT_COLOUR = 0xE0FFFF

# ---------------------------------------------------------------------------
# The region

# (name, genitive used in full school names, settlements: (name, genitive))
AREAS = [
    ("г. Велград", "города Велграда", [("г. Велград", "города Велграда")]),
    ("г. Светлоборск", "города Светлоборска", [("г. Светлоборск", "города Светлоборска")]),
    ("г. Каменный Брод", "города Каменный Брод", [("г. Каменный Брод", "города Каменный Брод")]),
    ("Велградский район", "Велградского района", [("пос. Луговой", None), ("с. Подгорное", None)]),
    ("Бережанский район", "Бережанского района", [("г. Бережань", None), ("с. Ключи", None)]),
    ("Ольховский район", "Ольховского района", [("пгт Ольховка", None), ("с. Малиновка", None)]),
    ("Заречный район", "Заречного района", [("пгт Заречье", None), ("д. Кривцово", None)]),
    ("Тихоновский район", "Тихоновского района", [("с. Тихоново", None), ("с. Лужки", None)]),
    ("Верхнеславский район", "Верхнеславского района", [("г. Верхнеславль", None), ("с. Белый Яр", None)]),
    ("Гореловский район", "Гореловского района", [("с. Горелово", None), ("д. Сосенки", None)]),
    ("Лесогорский район", "Лесогорского района", [("пгт Лесогорск", None), ("с. Ракитное", None)]),
    ("Новокрасовский район", "Новокрасовского района", [("с. Новокрасово", None), ("д. Ивняги", None)]),
    ("Сосновский район", "Сосновского района", [("пгт Сосновка", None), ("с. Дубки", None)]),
    ("Ясеневский район", "Ясеневского района", [("с. Ясенево", None), ("д. Полянка", None)]),
    ("Прилукский район", "Прилукского района", [("г. Прилуцк", None), ("с. Озёрное", None)]),
]
# Schools per municipality, in the order of AREAS (60 in all).
SCHOOLS_PER_AREA = [14, 6, 4] + [3] * 12

STREETS = [
    "ул. Садовая", "ул. Школьная", "ул. Мира", "ул. Победы", "ул. Набережная",
    "ул. Молодёжная", "ул. Лесная", "ул. Советская", "ул. Полевая", "ул. Заречная",
    "пр. Строителей", "ул. Гагарина", "ул. Первомайская", "ул. Речная", "пер. Почтовый",
    "ул. Северная", "ул. Велградская", "ул. Октябрьская", "ул. Вокзальная", "ул. Луговая",
]

LONG_SCHOOL = (
    "ГБОУ ВО «Областная физико-математическая школа-интернат»",
    "Государственное бюджетное общеобразовательное учреждение Велградской области "
    "«Областная специализированная физико-математическая школа-интернат "
    "с углублённым изучением физики, математики и информатики для одарённых детей "
    "имени академика Петра Никаноровича Сторожева»",
)

MALE_NAMES = [
    "Александр", "Алексей", "Андрей", "Артём", "Богдан", "Вадим", "Владимир",
    "Владислав", "Глеб", "Даниил", "Денис", "Дмитрий", "Егор", "Иван", "Игорь",
    "Илья", "Кирилл", "Константин", "Лев", "Максим", "Марк", "Матвей", "Михаил",
    "Никита", "Николай", "Павел", "Роман", "Семён", "Сергей", "Степан",
    "Тимофей", "Фёдор", "Ярослав", "Арсений", "Григорий",
]
FEMALE_NAMES = [
    "Александра", "Алина", "Алиса", "Анастасия", "Анна", "Арина", "Валерия",
    "Вероника", "Виктория", "Дарья", "Диана", "Ева", "Екатерина", "Елизавета",
    "Ксения", "Мария", "Милана", "Надежда", "Ольга", "Полина", "София", "Софья",
    "Таисия", "Ульяна", "Варвара", "Василиса", "Кира", "Маргарита", "Юлия", "Яна",
]
# Father's name -> (son's patronymic, daughter's patronymic)
PATRONYMICS = [
    ("Александрович", "Александровна"), ("Алексеевич", "Алексеевна"),
    ("Андреевич", "Андреевна"), ("Анатольевич", "Анатольевна"),
    ("Валерьевич", "Валерьевна"), ("Викторович", "Викторовна"),
    ("Владимирович", "Владимировна"), ("Вячеславович", "Вячеславовна"),
    ("Геннадьевич", "Геннадьевна"), ("Дмитриевич", "Дмитриевна"),
    ("Евгеньевич", "Евгеньевна"), ("Иванович", "Ивановна"),
    ("Игоревич", "Игоревна"), ("Ильич", "Ильинична"),
    ("Константинович", "Константиновна"), ("Львович", "Львовна"),
    ("Максимович", "Максимовна"), ("Михайлович", "Михайловна"),
    ("Никитич", "Никитична"), ("Николаевич", "Николаевна"),
    ("Олегович", "Олеговна"), ("Павлович", "Павловна"),
    ("Романович", "Романовна"), ("Сергеевич", "Сергеевна"),
    ("Юрьевич", "Юрьевна"), ("Петрович", "Петровна"),
    ("Денисович", "Денисовна"), ("Кузьмич", "Кузьминична"),
    ("Артёмович", "Артёмовна"), ("Григорьевич", "Григорьевна"),
]
# Male forms; the female form is made by female_surname().
SURNAMES = (
    "Иванов Смирнов Кузнецов Попов Васильев Петров Соколов Михайлов Новиков "
    "Фёдоров Морозов Волков Алексеев Лебедев Семёнов Егоров Павлов Козлов "
    "Степанов Николаев Орлов Андреев Макаров Никитин Захаров Зайцев Соловьёв "
    "Борисов Яковлев Григорьев Романов Воробьёв Сергеев Кузьмин Фролов "
    "Александров Дмитриев Королёв Гусев Киселёв Ильин Максимов Поляков Сорокин "
    "Виноградов Ковалёв Белов Медведев Антонов Тарасов Жуков Баранов Филиппов "
    "Комаров Давыдов Беляев Герасимов Богданов Осипов Сидоров Матвеев Титов "
    "Марков Миронов Крылов Куликов Карпов Власов Мельников Денисов Гаврилов "
    "Тихонов Казаков Афанасьев Данилов Савельев Тимофеев Фомин Чернов Абрамов "
    "Мартынов Ефимов Федотов Щербаков Назаров Калинин Исаев Чернышёв Быков "
    "Маслов Родионов Коновалов Лазарев Воронин Климов Филатов Пономарёв Голубев "
    "Кудрявцев Прохоров Наумов Потапов Журавлёв Овчинников Трофимов Леонов "
    "Соболев Ермаков Колесников Гончаров Емельянов Никифоров Грачёв Котов "
    "Гришин Ефремов Архипов Громов Кириллов Малышев Панов Моисеев Румянцев "
    "Акимов Кондратьев Бирюков Горбунов Анисимов Ерёмин Тихомиров Галкин "
    "Лукьянов Михеев Скворцов Юдин Белоусов Нестеров Симонов Прокофьев "
    "Харитонов Князев Цветков Левин Митрофанов Воронов Аксёнов Софронов Мальцев "
    "Логинов Горшков Савин Краснов Майоров Демидов Елисеев Рыбаков Сафонов "
    "Плотников Дёмин Хохлов Жданов Руднев Лаптев Ширяев Зуев Блинов Сомов Бобров "
    "Покровский Вознесенский Никольский Успенский Троицкий Рождественский "
    "Ковальский Островский Добровольский Высоцкий Соколовский Заславский "
    "Луговой Полевой Береговой "
    "Черных Седых Белых Долгих Шевченко Бондаренко Ткаченко Кравченко Коваленко "
    "Савченко Ковальчук Мельничук Полищук Гайдук Лысенко"
).split()


def female_surname(s):
    """Female form of a Russian surname given in the male form."""
    for end, fem in (("ский", "ская"), ("цкий", "цкая"), ("ской", "ская"), ("ой", "ая")):
        if s.endswith(end):
            return s[: -len(end)] + fem
    if s.endswith(("ов", "ев", "ёв", "ин", "ын")):
        return s + "а"
    return s  # -ых, -их, -ко, -ук, -юк do not change


TRANSLIT = dict(zip(
    "абвгдеёжзийклмнопрстуфхцчшщъыьэюя",
    ["a", "b", "v", "g", "d", "e", "e", "zh", "z", "i", "y", "k", "l", "m", "n",
     "o", "p", "r", "s", "t", "u", "f", "kh", "ts", "ch", "sh", "shch", "", "y",
     "", "e", "yu", "ya"],
))


def translit(text):
    return "".join(TRANSLIT.get(ch, ch) for ch in text.lower() if ch.isalnum())


# (SubjectsID, event name, lowest class, highest class). 6 and 20 have their
# own diploma templates; every other subject uses the common one.
SUBJECTS = [
    (6, "Региональный этап олимпиады школьников по математике", 9, 11),
    (8, "Региональный этап олимпиады школьников по физике", 7, 11),
    (9, "Региональный этап олимпиады школьников по химии", 9, 11),
    (7, "Региональный этап олимпиады школьников по информатике", 9, 11),
    (1, "Региональный этап олимпиады школьников по русскому языку", 9, 11),
    (4, "Региональный этап олимпиады школьников по истории", 9, 11),
    (10, "Региональный этап олимпиады школьников по биологии", 9, 11),
    (3, "Региональный этап олимпиады школьников по английскому языку", 9, 11),
    (20, "Региональная олимпиада младших школьников «Велградская звёздочка»", 3, 4),
    (30, "Региональный конкурс исследовательских работ «Юный исследователь Велградья»", 5, 11),
    (2, "Региональный этап олимпиады школьников по литературе", 9, 11),
    (11, "Региональный этап олимпиады школьников по географии", 9, 11),
    (5, "Региональный этап олимпиады школьников по обществознанию", 9, 11),
    (12, "Региональный этап олимпиады школьников по экологии", 9, 11),
    (13, "Региональный этап олимпиады школьников по астрономии", 7, 11),
    (14, "Региональный этап олимпиады школьников по праву", 9, 11),
    (15, "Региональный этап олимпиады школьников по экономике", 9, 11),
    (16, "Региональный этап олимпиады школьников по технологии", 9, 11),
    (17, "Региональный этап олимпиады школьников по искусству (МХК)", 9, 11),
    (19, "Региональный этап олимпиады школьников по физической культуре", 9, 11),
    (21, "Региональный этап олимпиады школьников по немецкому языку", 9, 11),
    (31, "Региональная научно-практическая конференция школьников «Ступени познания»", 8, 11),
    (20, "Региональная олимпиада младших школьников по окружающему миру", 4, 4),
]

ADMINS = [
    # id, surname, name, patronymic, email, area index, place of work, position
    (501, "Белозёрова", "Галина", "Николаевна", DEMO_LOGIN, 0,
     "ГАУ ДО «Велградский областной центр развития одарённых детей»",
     "Заведующий отделом олимпиад и конкурсов"),
    (502, "Стрельцов", "Андрей", "Викторович", "strelcov@velgrad.example", 0,
     "ГАУ ДО «Велградский областной центр развития одарённых детей»",
     "Методист отдела олимпиад и конкурсов"),
    (503, "Ракитина", "Ольга", "Сергеевна", "rakitina@velgrad.example", 1,
     "ГБУ «Светлоборский методический центр»",
     "Старший методист"),
]

ANNOUNCEMENT = [
    ("Уважаемые администраторы региональных мероприятий!", True),
    ("Региональный этап олимпиад {year} учебного года проводится с 12 января по "
     "28 февраля. Проходные баллы для победителей и призёров устанавливаются "
     "не позднее чем за три дня до подведения итогов.", False),
    ("Заявки формируются из выбора обучающихся на платформе. Если обучающийся "
     "не сделал выбор сам, назначьте ему мероприятие в разделе "
     "«Назначение участнику регионального мероприятия».", False),
    ("Дипломы и сертификаты формируются только по мероприятиям, для которых "
     "формирование открыто. Вопросы направляйте в отдел олимпиад и конкурсов.", False),
]


# ---------------------------------------------------------------------------
# SQL output

def sql_value(v):
    if v is None:
        return "NULL"
    if isinstance(v, bool):
        return "1" if v else "0"
    if isinstance(v, int):
        return str(v)
    if isinstance(v, float):
        return repr(v)
    if isinstance(v, dt.datetime):
        return "'" + v.strftime("%Y-%m-%d %H:%M:%S") + "'"
    if isinstance(v, dt.date):
        return "'" + v.isoformat() + "'"
    s = str(v).replace("\\", "\\\\").replace("'", "\\'")
    return "'" + s + "'"


class SqlWriter:
    def __init__(self, out, batch):
        self.out = out
        self.batch = batch
        self.counts = {}

    def comment(self, text):
        self.out.write("-- " + text + "\n")

    def raw(self, text):
        self.out.write(text + "\n")

    def insert(self, table, columns, rows):
        rows = list(rows)
        self.counts[table] = self.counts.get(table, 0) + len(rows)
        head = "INSERT INTO `%s` (%s) VALUES\n" % (
            table, ",".join("`%s`" % c for c in columns))
        for start in range(0, len(rows), self.batch):
            chunk = rows[start:start + self.batch]
            self.out.write(head)
            self.out.write(",\n".join(
                "(" + ",".join(sql_value(v) for v in row) + ")" for row in chunk))
            self.out.write(";\n")


def rtf_text(text):
    """Text for an RTF body: 7-bit, Cyrillic as \\'hh escapes of windows-1251."""
    out = []
    for ch in text:
        if ch in "\\{}":
            out.append("\\" + ch)
        elif ord(ch) < 128:
            out.append(ch)
        else:
            out.append("".join("\\'%02x" % b for b in ch.encode("cp1251")))
    return "".join(out)


def announcement_rtf(year_name):
    parts = [
        "{\\rtf1\\ansi\\ansicpg1251\\deff0\\deflang1049"
        "{\\fonttbl{\\f0\\fswiss\\fcharset204 Arial;}}"
        "{\\colortbl ;\\red0\\green51\\blue153;\\red0\\green0\\blue0;}"
        "\\viewkind4\\uc1"
    ]
    for text, heading in ANNOUNCEMENT:
        text = text.format(year=year_name)
        if heading:
            parts.append("\\pard\\qc\\sa200\\cf1\\b\\f0\\fs28 %s\\b0\\par" % rtf_text(text))
        else:
            parts.append("\\pard\\qj\\sa120\\cf2\\f0\\fs22 %s\\par" % rtf_text(text))
    parts.append("}")
    return "\n".join(parts)


# ---------------------------------------------------------------------------
# Generation

def rand_phone(rng):
    return "+7 9%02d %03d-%02d-%02d" % (
        rng.randrange(100), rng.randrange(1000), rng.randrange(100), rng.randrange(100))


def rand_date(rng, first, last):
    return first + dt.timedelta(days=rng.randrange((last - first).days + 1))


def make_schools(rng):
    schools = []   # dicts: id, name, fullname, adress, area, top class
    sid = 1
    for area_index, count in enumerate(SCHOOLS_PER_AREA):
        area_id = area_index + 1
        area_name, area_gen, settlements = AREAS[area_index]
        town, town_gen = settlements[0]
        city = town_gen is not None and area_index < 3
        numbers = rng.sample(range(1, 60 if area_index == 0 else 25), count)
        numbers.sort()
        for k in range(count):
            num = numbers[k]
            top = 11
            if city:
                kind = rng.random()
                if k == 0 and area_index == 0:
                    short, full = LONG_SCHOOL
                elif kind < 0.15:
                    short = "МАОУ «Гимназия № %d»" % num
                    full = ("Муниципальное автономное общеобразовательное учреждение "
                            "«Гимназия № %d» %s" % (num, town_gen))
                elif kind < 0.25:
                    short = "МАОУ «Лицей № %d»" % num
                    full = ("Муниципальное автономное общеобразовательное учреждение "
                            "«Лицей № %d» %s" % (num, town_gen))
                else:
                    short = "МБОУ «СОШ № %d»" % num
                    full = ("Муниципальное бюджетное общеобразовательное учреждение "
                            "«Средняя общеобразовательная школа № %d» %s" % (num, town_gen))
                place = town
            else:
                place = settlements[0][0] if k < 2 else settlements[1][0]
                if k == 0:
                    short = "МБОУ «СОШ № 1 %s»" % place
                    full = ("Муниципальное бюджетное общеобразовательное учреждение "
                            "«Средняя общеобразовательная школа № 1 %s» %s" % (place, area_gen))
                elif k == 1:
                    short = "МБОУ «СОШ № 2 %s»" % place
                    full = ("Муниципальное бюджетное общеобразовательное учреждение "
                            "«Средняя общеобразовательная школа № 2 %s» %s" % (place, area_gen))
                else:
                    short = "МБОУ «ООШ %s»" % place
                    full = ("Муниципальное бюджетное общеобразовательное учреждение "
                            "«Основная общеобразовательная школа %s» %s" % (place, area_gen))
                    top = 9
            r = rng.random()
            if r < 0.08:
                adress = None
            elif r < 0.12:
                adress = ""
            else:
                adress = "Велградская обл., %s%s, %s, д. %d" % (
                    "" if city else area_name + ", ", place,
                    rng.choice(STREETS), rng.randint(1, 120))
            schools.append(dict(id=sid, name=short, fullname=full, adress=adress,
                                area=area_id, top=top))
            sid += 1
    return schools


def make_pupils(rng, count, schools, active_year):
    """Pupils with their further data; every list is parallel to the ids."""
    pupils = []
    first_id = 10001
    cum, total = [], 0
    for s in schools:
        total += 3 if s["area"] <= 3 else 1
        cum.append(total)
    for i in range(count):
        uid = first_id + i
        school = rng.choices(schools, cum_weights=cum)[0]
        cls = rng.randint(1, school["top"])
        male = rng.random() < 0.49
        base = rng.choice(SURNAMES)
        if male:
            surname, name = base, rng.choice(MALE_NAMES)
            patronymic = rng.choice(PATRONYMICS)[0]
        else:
            surname, name = female_surname(base), rng.choice(FEMALE_NAMES)
            patronymic = rng.choice(PATRONYMICS)[1]
        # Age on 1 September of the active year is class + 6, sometimes + 7.
        age = cls + 6 + (1 if rng.random() < 0.12 else 0)
        born_last = dt.date(active_year - age, 9, 1)
        birthday = rand_date(rng, born_last - dt.timedelta(days=364), born_last)
        r = rng.random()
        pupils.append(dict(
            id=uid, surname=surname, name=name, patronymic=patronymic,
            email="%s.%s%d@pupil.velgrad.example" % (translit(surname), translit(name)[:1], uid),
            phone=rand_phone(rng), area=school["area"], school=school["id"],
            active=0 if r < 0.015 else 1,
            has_add=not (0.015 <= r < 0.025),
            cls=cls, gender=1 if male else 0,
            ovz=1 if rng.random() < 0.03 else 0,
            birthday=birthday,
            citizenship="Нет" if rng.random() < 0.01 else "Да",
        ))
    return pupils


def make_events(rng, count, periods, active_year):
    """Regional events over both school years, about 60 % in the active one."""
    n_active = max(1, (count * 3 + 4) // 5)
    n_past = count - n_active
    events = []
    eid = 1
    for period, n in ((periods[1], n_active), (periods[0], n_past)):
        year = active_year if period["active"] else active_year - 1
        for k in range(n):
            subject, base, lo, hi = SUBJECTS[k % len(SUBJECTS)]
            round_no = k // len(SUBJECTS)
            name = base if round_no == 0 else "%s (поток %d)" % (base, round_no + 1)
            if subject == 20:
                start = rand_date(rng, dt.date(year + 1, 3, 2), dt.date(year + 1, 3, 25))
            elif subject in (30, 31):
                start = rand_date(rng, dt.date(year + 1, 4, 1), dt.date(year + 1, 4, 20))
            else:
                start = rand_date(rng, dt.date(year + 1, 1, 12), dt.date(year + 1, 2, 26))
            end = start + dt.timedelta(days=rng.choice((0, 1, 1, 2)))
            venue = rng.choices(range(1, len(AREAS) + 1),
                                [12, 4, 3] + [0.5] * (len(AREAS) - 3))[0]
            pmin = rng.randrange(60, 110) / 2.0
            pmax = pmin + rng.randrange(20, 50) / 2.0
            events.append(dict(
                id=eid, name=name, period=period["id"], active_period=period["active"],
                start=start, end=end, venue=venue, subject=subject, lo=lo, hi=hi,
                pmin=pmin, pmax=pmax, winner=round(pmax + 0.01, 2),
                is_active=1, permission=0, permission_diplom=0, state="rated"))
            eid += 1
    # States: in the active year the events are at different steps of the
    # work; the past year is finished and closed for editing.
    active = [e for e in events if e["active_period"]]
    for k, e in enumerate(active):
        step = k % 6
        if step in (0, 1):
            e["state"], e["permission"], e["permission_diplom"] = "rated", 1, 1
        elif step == 2:
            e["state"], e["permission"], e["permission_diplom"] = "rated", 0, 1
        elif step == 3:
            e["state"], e["permission"] = "formed", 1
        elif step == 4:
            e["state"], e["permission"] = "formed", None
            e["pmin"] = e["pmax"] = e["winner"] = 0.0
        else:
            e["state"], e["permission"] = "chosen", 1
            e["pmin"] = e["pmax"] = e["winner"] = 0.0
    if len(active) > 11:
        active[11]["is_active"] = 0  # withdrawn: listed nowhere
    for k, e in enumerate(x for x in events if not x["active_period"]):
        e["permission"] = None if k % 3 == 2 else 0
        e["permission_diplom"] = 0 if k % 4 == 3 else 1
    return events


def status_for(result, e):
    if result is None or result <= 0:
        return STATUS_CANDIDATE
    status = STATUS_PARTICIPANT
    if result >= e["winner"]:
        status = STATUS_WINNER
    if e["pmin"] <= result <= e["pmax"]:
        status = STATUS_PRIZE
    return status


def rand_result(rng, e):
    top = max(e["winner"] + 25.0, 70.0)
    r = rng.gauss(e["pmin"] * 0.8, top / 4.5)
    r = min(max(r, 0.0), top)
    return round(r * 2) / 2.0


def main(argv=None):
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("--pupils", type=int, default=2000, help="number of pupils (default 2000)")
    ap.add_argument("--events", type=int, default=20, help="number of regional events (default 20)")
    ap.add_argument("--random-state", type=int, default=2026,
                    help="state of the random generator; the same state gives the same data")
    ap.add_argument("--active-year", type=int, default=2025,
                    help="first calendar year of the active school year (default 2025: 2025-2026)")
    ap.add_argument("--big-event", type=int, default=None,
                    help="candidates of the first active event and participants of the second "
                         "(default 2000 from 20000 pupils on, else none)")
    ap.add_argument("--batch", type=int, default=1000, help="rows per INSERT statement")
    ap.add_argument("-o", "--output", help="output file (default: standard output)")
    args = ap.parse_args(argv)
    if args.pupils < 50 or args.events < 2 or args.batch < 1:
        ap.error("at least 50 pupils, 2 events and 1 row per INSERT")
    big = args.big_event if args.big_event is not None else (2000 if args.pupils >= 20000 else 0)

    rng = random.Random(args.random_state)
    y = args.active_year
    periods = [
        dict(id=1, name="%d-%d" % (y - 1, y), active=0, end=dt.date(y, 5, 31)),
        dict(id=2, name="%d-%d" % (y, y + 1), active=1, end=dt.date(y + 1, 5, 31)),
    ]
    active_period = periods[1]

    schools = make_schools(rng)
    pupils = make_pupils(rng, args.pupils, schools, y)
    events = make_events(rng, args.events, periods, y)
    active_events = [e for e in events if e["active_period"]]
    past_events = [e for e in events if not e["active_period"]]

    # Accompanying persons: one per municipality and a few more; 146 is the
    # default of a new application row and belongs to the regional centre.
    maintainers = []
    first_m = 141
    n_maint = len(AREAS) + 4
    for k in range(n_maint):
        mid = first_m + k
        area = 1 if mid == DEFAULT_MAINTAINER else (k % len(AREAS)) + 1
        male = rng.random() < 0.3
        base = rng.choice(SURNAMES)
        if male:
            sur, nm, pat = base, rng.choice(MALE_NAMES), rng.choice(PATRONYMICS)[0]
        else:
            sur, nm, pat = female_surname(base), rng.choice(FEMALE_NAMES), rng.choice(PATRONYMICS)[1]
        area_schools = [s for s in schools if s["area"] == area]
        if mid == DEFAULT_MAINTAINER:
            sur, nm, pat = "Воронцова", "Ирина", "Павловна"
            post, org = "Методист", "ГАУ ДО «Велградский областной центр развития одарённых детей»"
        else:
            post = rng.choice(["Учитель математики", "Учитель физики", "Учитель химии",
                               "Учитель русского языка и литературы", "Учитель истории",
                               "Учитель биологии", "Учитель начальных классов",
                               "Заместитель директора по УВР", "Педагог-организатор"])
            org = rng.choice(area_schools)["name"]
        maintainers.append(dict(
            id=mid, surname=sur, name=nm, patronymic=pat, post=post, org=org,
            email="%s.%s@school.velgrad.example" % (translit(sur), translit(nm)[:1]),
            phone=rand_phone(rng), area=area,
            active=0 if k in (n_maint - 1, n_maint - 3) else 1,
            date_in=dt.date(y + 1, 1, 11), date_out=dt.date(y + 1, 2, 28),
            hotel=0 if area == 1 else 1))
    maint_by_area = {}
    for m in maintainers:
        if m["active"] and m["id"] != DEFAULT_MAINTAINER:
            maint_by_area.setdefault(m["area"], []).append(m["id"])

    # Pupils' choices. A pupil takes up to three events a year; the big event
    # (large databases only) gets its candidates first.
    with_class = {}
    for p in pupils:
        with_class.setdefault(p["cls"], []).append(p)
    taken_per_year = {p["id"]: {} for p in periods}   # pupil -> events chosen
    full_per_year = {p["id"]: set() for p in periods}  # pupils with three events
    pools = {}
    choices = []   # (pupil, event, classPart, class then)

    def choose(e, wanted):
        past = not e["active_period"]
        key = (past, e["lo"], e["hi"])
        if key not in pools:
            pool = []
            for cls in range(1, 12):
                then = cls - 1 if past else cls
                if e["lo"] <= then <= e["hi"]:
                    pool.extend(with_class.get(cls, []))
            pools[key] = pool
        pool = pools[key]
        full = full_per_year[e["period"]]
        if full:
            pool = [p for p in pool if p["id"] not in full]
        picked = rng.sample(pool, min(wanted, len(pool)))
        picked.sort(key=lambda p: p["id"])
        counts = taken_per_year[e["period"]]
        for p in picked:
            counts[p["id"]] = counts.get(p["id"], 0) + 1
            if counts[p["id"]] >= 3:
                full.add(p["id"])
            cls = p["cls"] - 1 if past else p["cls"]
            part = cls + 1 if (cls < e["hi"] and cls >= e["lo"] and rng.random() < 0.08) else cls
            choices.append((p, e, part, cls))
        return picked

    scale = args.pupils / 2000.0
    big_candidates = big_participants = None
    if big and len(active_events) >= 2:
        big_candidates, big_participants = active_events[0], active_events[1]
        for e in (big_candidates, big_participants):
            e["lo"], e["hi"] = 9, 11
        big_candidates.update(state="chosen", permission=1)
        big_participants.update(state="rated", permission=1, permission_diplom=1)
    chosen = {}
    for e in events:
        if e is big_candidates or e is big_participants:
            wanted = big if e is big_candidates else int(big / 0.9) + 1
        elif e["subject"] == 20:
            wanted = int(rng.randint(30, 70) * min(scale, 3))
        else:
            wanted = int(rng.randint(40, 120) * min(scale, 3))
        chosen[e["id"]] = choose(e, wanted)

    # Applications. Formed events take most of their choosers; only pupils
    # with further data can be candidates, so only they are in applications.
    applications = []
    app_id = 1
    part_of = {(p["id"], e["id"]): (part, cls) for p, e, part, cls in choices}
    for e in events:
        if e["state"] == "chosen":
            continue
        cands = [p for p in chosen[e["id"]] if p["has_add"]]
        if e is big_participants:
            taken = cands[:big]
        else:
            taken = [p for p in cands if rng.random() < 0.85]
        for p in taken:
            part, cls = part_of[(p["id"], e["id"])]
            reg = dt.datetime.combine(e["start"] - dt.timedelta(days=rng.randint(7, 30)),
                                      dt.time(rng.randint(9, 17), rng.randint(0, 59), rng.randint(0, 59)))
            venue = e["venue"] if rng.random() < 0.95 else rng.randint(1, 3)
            far = p["area"] != venue
            hotel = 1 if far and rng.random() < 0.8 else 0
            if e["state"] == "formed" and rng.random() < 0.3:
                # not detailed yet: as the workstation adds a row
                hotel, date_in, date_out = 1, reg.date(), reg.date()
                maint = DEFAULT_MAINTAINER
            else:
                date_in = e["start"] - dt.timedelta(days=1) if hotel else e["start"]
                date_out = e["end"] + dt.timedelta(days=1) if hotel else e["end"]
                options = maint_by_area.get(p["area"]) or [DEFAULT_MAINTAINER]
                maint = rng.choice(options) if rng.random() < 0.85 else DEFAULT_MAINTAINER
            result = None
            status = STATUS_CANDIDATE
            if e["state"] == "rated":
                if rng.random() < 0.05:
                    status = STATUS_ABSENT
                else:
                    result = rand_result(rng, e)
                    status = status_for(result, e)
            applications.append((app_id, p["id"], cls, part, e["id"], STAGE_REGIONAL, e["period"],
                                 reg, p["area"], KOORD_ID, venue, hotel, date_in, date_out,
                                 maint, status, result))
            app_id += 1

    # Responsibility of the administrators for the events, per school year.
    links = []
    for k, e in enumerate(active_events):
        if k % 7 != 6:
            links.append((501, e["id"], e["period"]))
        if k % 7 == 6 or k % 3 == 2:
            links.append((502, e["id"], e["period"]))
    for k, e in enumerate(past_events):
        links.append((501, e["id"], e["period"]))
        if k % 3 == 0:
            links.append((503, e["id"], e["period"]))

    # -----------------------------------------------------------------------
    out = open(args.output, "w", encoding="utf-8", newline="\n") if args.output else sys.stdout
    w = SqlWriter(out, args.batch)
    w.comment("Demo data of the Velgrad region: %d pupils, %d events, random state %d."
              % (args.pupils, args.events, args.random_state))
    w.comment("Demo administrator: %s, password %s." % (DEMO_LOGIN, DEMO_PASSWORD))
    if big_candidates is not None:
        w.comment("Large events: %d has %d candidates, %d has %d participants with results."
                  % (big_candidates["id"], big, big_participants["id"], big))
    w.raw("SET NAMES utf8mb4;")
    w.raw("SET SESSION foreign_key_checks=0, unique_checks=0;")
    w.raw("START TRANSACTION;")

    w.insert("vzl_areas", ["id", "name"], [(k + 1, a[0]) for k, a in enumerate(AREAS)])
    w.insert("vzl_schools", ["id", "name", "fullname", "adress", "areaID"],
             [(s["id"], s["name"], s["fullname"], s["adress"], s["area"]) for s in schools])
    w.insert("vzl_periods", ["id", "name", "active", "dateEnd"],
             [(p["id"], p["name"], p["active"], p["end"]) for p in periods])

    user_cols = ["id", "surname", "name", "patronymic", "email", "password", "phone",
                 "areaID", "schoolID", "roleID", "isActive", "dateLastEnter"]
    staff = [(a[0], a[1], a[2], a[3], a[4], DEMO_HASH, rand_phone(rng), a[5] + 1, None,
              ROLE_ADMIN, 1, dt.date(y, 11, 20) if a[0] != 501 else None) for a in ADMINS]
    # Accounts that must not get in: a retired administrator and a municipal one.
    staff.append((504, "Кравец", "Людмила", "Петровна", "kravec@velgrad.example", DEMO_HASH,
                  rand_phone(rng), 1, None, ROLE_ADMIN, 0, dt.date(y - 2, 3, 1)))
    staff.append((505, "Ольховская", "Татьяна", "Игоревна", "olkhovka.mo@velgrad.example",
                  DEMO_HASH, rand_phone(rng), 6, None, ROLE_MUNICIPAL, 1, None))
    w.insert("vzl_users", user_cols, staff)
    w.insert("vzl_users", user_cols,
             [(p["id"], p["surname"], p["name"], p["patronymic"], p["email"], "", p["phone"],
               p["area"], p["school"], ROLE_PUPIL, p["active"], None) for p in pupils])
    w.insert("vzl_users4add", ["usersID", "classStudy", "gender", "ovz", "birthday", "citizenship"],
             [(p["id"], p["cls"], p["gender"], p["ovz"], p["birthday"], p["citizenship"])
              for p in pupils if p["has_add"]])
    w.insert("vzl_users80add", ["user_id", "placeWork", "postWork"],
             [(a[0], a[6], a[7]) for a in ADMINS]
             + [(505, "Управление образования администрации Ольховского района", "Главный специалист")])

    w.insert("vzl_educationallist_reg",
             ["id", "nameEdu", "isActive", "idPeriod", "dateStart", "dateEnd", "actionAreaID",
              "prizeWinnerMin", "prizeWinnerMax", "Winner", "permission", "permissionDiplom",
              "SubjectsID"],
             [(e["id"], e["name"], e["is_active"], e["period"], e["start"], e["end"], e["venue"],
               e["pmin"], e["pmax"], e["winner"], e["permission"], e["permission_diplom"],
               e["subject"]) for e in events])
    w.insert("vzl_userseducation", ["usersID", "educationListID", "periodsID"], links)
    w.insert("vzl_userseducation_reg", ["usersID", "educationListID", "periodsID", "classPart"],
             [(p["id"], e["id"], e["period"], part) for p, e, part, _ in choices])

    w.insert("vzl_maintainer",
             ["id", "surname", "name", "patronymic", "post", "educationalOrg", "eMail", "phone",
              "areaID", "isActive", "dateIn", "dateOut", "hotel"],
             [(m["id"], m["surname"], m["name"], m["patronymic"], m["post"], m["org"], m["email"],
               m["phone"], m["area"], m["active"], m["date_in"], m["date_out"], m["hotel"])
              for m in maintainers])
    w.insert("vzl_application_reg",
             ["id", "userID", "classStudy", "classPart", "educationlListID_reg", "levelolimpID",
              "periodID", "dateReg", "areaID", "koordID", "actionareaID", "hotel", "dateIn",
              "dateOut", "maintainerID", "statusparticipantID", "result"], applications)

    # Menu permissions of the administrators: every entry open. A row with
    # permission 0 would close that entry for the whole role.
    w.insert("vzl_permissionuser", ["MenuItem", "permission", "roleID"],
             [(item, 1, ROLE_ADMIN) for item in ("N13", "N14", "N31", "N44", "N45", "N4", "N55", "N56", "N11")]
             + [("N13", 0, ROLE_MUNICIPAL), ("N55", 0, ROLE_MUNICIPAL)])
    w.insert("vzl_advertisement1", ["roleID", "isActive", "BodyAdv", "ColorCanvas"],
             [(ROLE_ADMIN, 1, announcement_rtf(active_period["name"]), ANNOUNCEMENT_COLOUR),
              (ROLE_PUPIL, 0, "Выбор региональных мероприятий открыт до 20 декабря.", 0xFFFFFF)])
    w.insert("vzl_updatearm", ["Version", "roleID"],
             [("v3.0.0 build 5", ROLE_UPDATE_ROW), ("v2.4.1 build 12", ROLE_MUNICIPAL)])

    w.raw("COMMIT;")
    if out is not sys.stdout:
        out.close()
    summary = ", ".join("%s %d" % (t, n) for t, n in w.counts.items())
    print("generate_demo: " + summary, file=sys.stderr)
    return 0


if __name__ == "__main__":
    sys.exit(main())
