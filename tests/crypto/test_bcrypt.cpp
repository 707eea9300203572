// Password hashes: published vectors, the system's crypt library (libxcrypt)
// as an independent implementation, the accepted and refused string forms and
// the exact failure texts.

#include "crypto/Bcrypt.h"
#include "crypto/Blowfish.h"

#include <crypt.h>

#include <QRandomGenerator>
#include <QtTest>
#include <functional>

namespace {

// A 60-character hash string of the password made by libxcrypt.
QByteArray SystemCrypt(const QByteArray& password, const QByteArray& setting)
{
    crypt_data data{};
    const char* out = crypt_rn(password.constData(), setting.constData(), &data, sizeof data);
    return out ? QByteArray(out) : QByteArray();
}

QByteArray SystemHash(const QByteArray& password, int cost)
{
    char setting[CRYPT_GENSALT_OUTPUT_SIZE];
    if (!crypt_gensalt_rn("$2b$", cost, nullptr, 0, setting, sizeof setting))
        return {};
    return SystemCrypt(password, setting);
}

// Our hash string of the password with a given salt and cost.
QString OurHash(const QString& password, const QByteArray& salt, int cost)
{
    return TBCrypt::FormatPasswordHashForBsd(cost, salt, TBCrypt::HashPassword(password, salt, cost));
}

QString ErrorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const EBCryptError& e) {
        return e.message();
    }
    return QStringLiteral("(no error)");
}

// A password of at most maxBytes UTF-8 bytes of ASCII, Cyrillic, a
// three-byte sign and a character outside the BMP.
QString RandomPassword(QRandomGenerator& rng, int maxBytes)
{
    static const QString pool = QStringLiteral(
        "abcXYZ019 !$./~АБВЖЯабвжяЁё€") + QString::fromUtf8("\xF0\x9F\x98\x80");
    QString s;
    int bytes = 0;
    for (;;) {
        const int i = rng.bounded(int(pool.size()));
        const QString c = pool.at(i).isSurrogate() ? pool.mid(pool.size() - 2) : QString(pool.at(i));
        const int n = int(c.toUtf8().size());
        if (bytes + n > maxBytes)
            return s;
        s += c;
        bytes += n;
    }
}

const char kSaltU[] = "CCCCCCCCCCCCCCCCCCCCC.";
} // namespace

class TestBcrypt : public QObject {
    Q_OBJECT
private slots:
    void blowfishVectors_data();
    void blowfishVectors();
    void publishedVectors_data();
    void publishedVectors();
    void systemHashesCheck();
    void oursCheckWithSystem();
    void refusedVariants_data();
    void refusedVariants();
    void malformedHashStrings_data();
    void malformedHashStrings();
    void innerErrors();
    void newHashes();
    void keyCutAt55Bytes();
    void utf8Conversion();
};

// Schneier's published ECB vectors; with the all-zero salt the bcrypt key
// expansion is the plain Blowfish key schedule.
void TestBcrypt::blowfishVectors_data()
{
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("plain");
    QTest::addColumn<QByteArray>("cipher");
    QTest::newRow("zero") << QByteArray::fromHex("0000000000000000") << QByteArray::fromHex("0000000000000000")
                          << QByteArray::fromHex("4EF997456198DD78");
    QTest::newRow("ones") << QByteArray::fromHex("FFFFFFFFFFFFFFFF") << QByteArray::fromHex("FFFFFFFFFFFFFFFF")
                          << QByteArray::fromHex("51866FD5B85ECB8A");
    QTest::newRow("mixed") << QByteArray::fromHex("3000000000000000") << QByteArray::fromHex("1000000000000001")
                           << QByteArray::fromHex("7D856F9A613063F2");
    QTest::newRow("counting") << QByteArray::fromHex("0123456789ABCDEF") << QByteArray::fromHex("1111111111111111")
                              << QByteArray::fromHex("61F9C3802281B096");
}

void TestBcrypt::blowfishVectors()
{
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, plain);
    QFETCH(QByteArray, cipher);
    TBlowfishData state;
    BlowfishInitState(state);
    TBCrypt::ExpandKey(state, QByteArray(16, '\0'), key);
    QByteArray out(8, '\0');
    BlowfishEncryptECB(state, plain.constData(), out.data());
    QCOMPARE(out.toHex().toUpper(), cipher.toHex().toUpper());
}

// The widely published "U*U" vectors and the empty password at cost 05, and
// the empty and a Cyrillic password at further costs with fixed salts
// (libxcrypt confirms each string).
void TestBcrypt::publishedVectors_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("hash");
    QTest::newRow("U*U") << "U*U" << "$2a$05$CCCCCCCCCCCCCCCCCCCCC.E5YPO9kmyuRGyh0XouQYb4YMJKvyOeW";
    QTest::newRow("U*U*") << "U*U*" << "$2a$05$CCCCCCCCCCCCCCCCCCCCC.VGOzA784oUp/Z0DY336zx7pLYAy0lwK";
    QTest::newRow("U*U*U") << "U*U*U" << "$2a$05$XXXXXXXXXXXXXXXXXXXXXOAcXxm9kjPGEMsLznoKqmqw7tc8WCx4a";
    QTest::newRow("empty") << "" << "$2a$05$CCCCCCCCCCCCCCCCCCCCC.7uG0VCzI2bS7j6ymqJi9CdcdxiRTWNy";
    for (int cost : {4, 6, 10, 12}) {
        for (const QString& password : {QString(), QStringLiteral("Пароль_1")}) {
            const QByteArray setting = "$2a$" + QByteArray::number(cost).rightJustified(2, '0') + '$' + kSaltU;
            const QByteArray hash = SystemCrypt(password.toUtf8(), setting);
            QTest::addRow("cost %d %s", cost, password.isEmpty() ? "empty" : "cyrillic")
                << password << QString::fromLatin1(hash);
        }
    }
}

void TestBcrypt::publishedVectors()
{
    QFETCH(QString, password);
    QFETCH(QString, hash);
    QCOMPARE(hash.size(), 60);
    QCOMPARE(SystemCrypt(password.toUtf8(), hash.toLatin1()), hash.toLatin1());
    QVERIFY(TBCrypt::CheckPassword(password, hash));
    QVERIFY(!TBCrypt::CheckPassword(password + "x", hash));
}

// Hashes of libxcrypt ("$2b$" relabelled "$2a$", the same algorithm below
// 72 bytes) check true with ours.
void TestBcrypt::systemHashesCheck()
{
    QRandomGenerator rng(20240917u);
    for (int i = 0; i < 40; ++i) {
        const QString password = RandomPassword(rng, rng.bounded(56));
        QByteArray hash = SystemHash(password.toUtf8(), 4 + i % 2);
        QVERIFY(hash.startsWith("$2b$"));
        hash[2] = 'a';
        QVERIFY2(TBCrypt::CheckPassword(password, QString::fromLatin1(hash)), qPrintable(password));
        const QString wrong = (password.startsWith(u'x') ? "y" : "x") + password.mid(1);
        QVERIFY2(!TBCrypt::CheckPassword(wrong, QString::fromLatin1(hash)), qPrintable(password));
    }
}

// And libxcrypt accepts ours.
void TestBcrypt::oursCheckWithSystem()
{
    QRandomGenerator rng(77001u);
    for (int i = 0; i < 40; ++i) {
        const QString password = RandomPassword(rng, i == 0 ? 55 : rng.bounded(56));
        const QString hash = OurHash(password, TBCrypt::GenerateSalt(), 4 + i % 2);
        QCOMPARE(SystemCrypt(password.toUtf8(), hash.toLatin1()), hash.toLatin1());
    }
}

void TestBcrypt::refusedVariants_data()
{
    QTest::addColumn<QString>("hash");
    QTest::addColumn<QString>("error"); // empty: parses and checks false
    const QString tail = QStringLiteral("05$CCCCCCCCCCCCCCCCCCCCC.E5YPO9kmyuRGyh0XouQYb4YMJKvyOeW");
    QTest::newRow("2b") << "$2b$" + tail << "Invalid hash string";
    QTest::newRow("2y") << "$2y$" + tail << "Invalid hash string";
    QTest::newRow("2") << "$2$" + tail << "";
    QTest::newRow("2A") << "$2A$" + tail << "";
}

// Each with the right password "U*U".
void TestBcrypt::refusedVariants()
{
    QFETCH(QString, hash);
    QFETCH(QString, error);
    if (error.isEmpty())
        QVERIFY(!TBCrypt::CheckPassword(QStringLiteral("U*U"), hash));
    else
        QCOMPARE(ErrorOf([&] { TBCrypt::CheckPassword(QStringLiteral("U*U"), hash); }), error);
}

void TestBcrypt::malformedHashStrings_data()
{
    QTest::addColumn<QString>("hash");
    QTest::addColumn<QString>("error");
    const QString salt = QString::fromLatin1(kSaltU);
    const QString hash31 = QStringLiteral("E5YPO9kmyuRGyh0XouQYb4YMJKvyOeW");
    QTest::newRow("empty") << "" << "Invalid hash string";
    QTest::newRow("27 characters") << "$2a$05$" + salt.left(20) << "Invalid hash string";
    QTest::newRow("no prefix") << "2a$05$" + salt + hash31 << "Invalid hash string";
    QTest::newRow("other prefix") << "$2x$05$" + salt + hash31 << "Invalid hash string";
    QTest::newRow("one cost digit") << "$2a$5$" + salt + hash31 << "Invalid hash string";
    QTest::newRow("three cost digits") << "$2a$010$" + salt + hash31 << "Invalid hash string";
    QTest::newRow("cost not a number") << "$2a$x5$" + salt + hash31 << "Invalid hash string";
    QTest::newRow("negative cost") << "$2a$-5$" + salt + hash31 << "Invalid hash string";
    QTest::newRow("cost 03") << "$2a$03$" + salt + hash31 << "Blowfish: Cost (3) must be between 4..31";
    QTest::newRow("cost 32") << "$2a$32$" + salt + hash31 << "Blowfish: Cost (32) must be between 4..31";
    QTest::newRow("salt character") << "$2a$05$CCCCCCCCCC*CCCCCCCCCC." + hash31 << "Invalid base64 hash string";
    QTest::newRow("salt Cyrillic") << "$2a$05$CCCCCCCCCCЖCCCCCCCCCC." + hash31 << "Invalid base64 hash string";
    QTest::newRow("salt of 21 characters") << "$2a$05$" + salt.left(21) << "Invalid base64 hash string";
    QTest::newRow("bad hash part only") << "$2a$05$" + salt + "*" << "";
}

void TestBcrypt::malformedHashStrings()
{
    QFETCH(QString, hash);
    QFETCH(QString, error);
    if (error.isEmpty())
        QVERIFY(!TBCrypt::CheckPassword(QStringLiteral("U*U"), hash));
    else
        QCOMPARE(ErrorOf([&] { TBCrypt::CheckPassword(QStringLiteral("U*U"), hash); }), error);
}

void TestBcrypt::innerErrors()
{
    const QByteArray salt(16, 'S');
    TBlowfishData state;
    BlowfishInitState(state);
    QCOMPARE(ErrorOf([&] { TBCrypt::HashPassword("x", salt.left(15), 4); }), "Blowfish: salt must be 16 bytes");
    QCOMPARE(ErrorOf([&] { TBCrypt::HashPassword("x", salt + 'S', 4); }), "Blowfish: salt must be 16 bytes");
    QCOMPARE(ErrorOf([&] { TBCrypt::CryptCore(4, QByteArray(), salt); }),
             "Blowfish: Key must be between 1 and 56 bytes long");
    QCOMPARE(ErrorOf([&] { TBCrypt::ExpandKey(state, salt, QByteArray(57, 'k')); }),
             "Blowfish: Key must be between 1 and 56 bytes long");
    QCOMPARE(ErrorOf([&] { TBCrypt::BsdBase64Encode(salt, 17); }), "Invalid length");
    QCOMPARE(ErrorOf([&] { TBCrypt::BsdBase64Decode("ABCDE"); }), "Invalid base64 hash string");
    // Last groups of one and two bytes give two and three characters, and back.
    const QList<QPair<QByteArray, QString>> groups = {{"ff", "9u"}, {"ffff", "996"}, {"ffffff", "9999"}};
    for (const auto& [hex, text] : groups) {
        const QByteArray bytes = QByteArray::fromHex(hex);
        QCOMPARE(TBCrypt::BsdBase64Encode(bytes, int(bytes.size())), text);
        QCOMPARE(TBCrypt::BsdBase64Decode(text), bytes);
    }
}

void TestBcrypt::newHashes()
{
    const QString password = QStringLiteral("Новый пароль 2024");
    const QString a = TBCrypt::HashPassword(password);
    const QString b = TBCrypt::HashPassword(password);
    for (const QString& h : {a, b}) {
        QCOMPARE(h.size(), 60);
        QVERIFY(h.startsWith("$2a$10$"));
        QVERIFY(TBCrypt::CheckPassword(password, h));
    }
    QVERIFY(a != b);
    QVERIFY(!TBCrypt::CheckPassword(QStringLiteral("Новый пароль 2025"), a));
    QCOMPARE(SystemCrypt(password.toUtf8(), a.toLatin1()), a.toLatin1());

    // The salt is a version-4 GUID as it lies in memory: the version in the
    // high nibble of byte 7, the variant bits 10 at the top of byte 8.
    const QByteArray salt = TBCrypt::GenerateSalt();
    QCOMPARE(salt.size(), 16);
    QCOMPARE(uchar(salt[7]) >> 4, 4);
    QCOMPARE(uchar(salt[8]) >> 6, 2);
}

void TestBcrypt::keyCutAt55Bytes()
{
    const QByteArray salt = TBCrypt::GenerateSalt();
    const QString p55 = QString(55, QChar(u'p'));
    const QString h55 = OurHash(p55, salt, 4);
    QCOMPARE(OurHash(p55 + "q", salt, 4), h55);
    QCOMPARE(OurHash(p55 + QString(30, QChar(u'z')), salt, 4), h55);
    QVERIFY(OurHash(p55.left(54), salt, 4) != h55);
    // A cut inside a character: "Ж" and "Я" share their first UTF-8 byte.
    const QString p54 = p55.left(54);
    QCOMPARE(OurHash(p54 + "Ж", salt, 4), OurHash(p54 + "Я", salt, 4));
    QVERIFY(OurHash(p54 + "Ж", salt, 4) != OurHash(p54 + "ё", salt, 4));
    QVERIFY(TBCrypt::CheckPassword(p55 + "long tail", h55));
}

void TestBcrypt::utf8Conversion()
{
    QCOMPARE(TBCrypt::WideStringToUtf8(QString()), QByteArray());
    QCOMPARE(TBCrypt::WideStringToUtf8(QStringLiteral("aЖ€")), QByteArray("a\xD0\x96\xE2\x82\xAC"));
    QCOMPARE(TBCrypt::WideStringToUtf8(QString::fromUtf8("\xF0\x9F\x98\x80")), QByteArray("\xF0\x9F\x98\x80"));
    const QChar lone[] = {QChar(u'a'), QChar(0xD800), QChar(u'b'), QChar(0xDC00)};
    QCOMPARE(TBCrypt::WideStringToUtf8(QString(lone, 4)), QByteArray("a\xEF\xBF\xBD" "b\xEF\xBF\xBD"));
}

QTEST_GUILESS_MAIN(TestBcrypt)
#include "test_bcrypt.moc"
