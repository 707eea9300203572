#include "crypto/Bcrypt.h"

#include "crypto/Guid.h"

#include <cstring>

namespace {

const char kBsdAlphabet[] = "./ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

constexpr int kSaltSize = 16;
constexpr int kRawHashSize = 24;
constexpr int kEncodedHashBytes = 23;
constexpr int kMaxKeyBytes = 56;
constexpr int kMaxPasswordBytes = kMaxKeyBytes - 1;

// Value of a character of the alphabet, -1 for any other character.
int BsdBase64Value(char16_t c)
{
    if (c == u'.')
        return 0;
    if (c == u'/')
        return 1;
    if (c >= u'A' && c <= u'Z')
        return c - u'A' + 2;
    if (c >= u'a' && c <= u'z')
        return c - u'a' + 28;
    if (c >= u'0' && c <= u'9')
        return c - u'0' + 54;
    return -1;
}

// The 18 words that are XORed into the P-array: the bytes taken cyclically,
// four at a time, big-endian.
void CyclicWords(const QByteArray& bytes, uint32_t (&words)[18])
{
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype n = bytes.size();
    qsizetype j = 0;
    for (uint32_t& w : words) {
        uint32_t v = 0;
        for (int k = 0; k < 4; ++k) {
            v = (v << 8) | b[j];
            if (++j == n)
                j = 0;
        }
        w = v;
    }
}

// Key expansion with a salt of 16 bytes given as four big-endian words.
void ExpandKeySalted(TBlowfishData& s, const uint32_t (&key)[18], const uint32_t (&salt)[4])
{
    for (int i = 0; i < 18; ++i)
        s.PBoxes[i] ^= key[i];
    uint32_t l = 0;
    uint32_t r = 0;
    // 9 blocks fill the P-array, 512 the S-boxes; the salt halves alternate
    // over all of them.
    for (int i = 0; i < 18; i += 4) {
        l ^= salt[0];
        r ^= salt[1];
        BlowfishEncryptWords(s, l, r);
        s.PBoxes[i] = l;
        s.PBoxes[i + 1] = r;
        if (i + 2 == 18)
            break;
        l ^= salt[2];
        r ^= salt[3];
        BlowfishEncryptWords(s, l, r);
        s.PBoxes[i + 2] = l;
        s.PBoxes[i + 3] = r;
    }
    // The P-array ended with the first half, so the S-boxes begin with the second.
    uint32_t* sw = &s.SBoxes[0][0];
    for (int i = 0; i < 4 * 256; i += 4) {
        l ^= salt[2];
        r ^= salt[3];
        BlowfishEncryptWords(s, l, r);
        sw[i] = l;
        sw[i + 1] = r;
        l ^= salt[0];
        r ^= salt[1];
        BlowfishEncryptWords(s, l, r);
        sw[i + 2] = l;
        sw[i + 3] = r;
    }
}

// Key expansion with the all-zero salt: the plain Blowfish key schedule.
void ExpandKeyUnsalted(TBlowfishData& s, const uint32_t (&key)[18])
{
    for (int i = 0; i < 18; ++i)
        s.PBoxes[i] ^= key[i];
    uint32_t l = 0;
    uint32_t r = 0;
    for (int i = 0; i < 18; i += 2) {
        BlowfishEncryptWords(s, l, r);
        s.PBoxes[i] = l;
        s.PBoxes[i + 1] = r;
    }
    uint32_t* sw = &s.SBoxes[0][0];
    for (int i = 0; i < 4 * 256; i += 2) {
        BlowfishEncryptWords(s, l, r);
        sw[i] = l;
        sw[i + 1] = r;
    }
}

void SaltWords(const QByteArray& salt, uint32_t (&words)[4])
{
    const auto* b = reinterpret_cast<const unsigned char*>(salt.constData());
    for (int i = 0; i < 4; ++i)
        words[i] = (uint32_t(b[4 * i]) << 24) | (uint32_t(b[4 * i + 1]) << 16)
                   | (uint32_t(b[4 * i + 2]) << 8) | uint32_t(b[4 * i + 3]);
}

void CheckKeyLength(const QByteArray& key)
{
    if (key.isEmpty() || key.size() > kMaxKeyBytes)
        throw EBCryptError(QStringLiteral("Blowfish: Key must be between 1 and 56 bytes long"));
}

// Overwrites secrets before their memory is given back.
void Wipe(void* data, size_t size)
{
    volatile unsigned char* p = static_cast<volatile unsigned char*>(data);
    while (size--)
        *p++ = 0;
}

void Wipe(QByteArray& bytes)
{
    if (!bytes.isEmpty())
        Wipe(bytes.data(), static_cast<size_t>(bytes.size()));
}

// Compares without stopping at the first difference, so that the time taken
// tells nothing about where the strings differ.
bool ConstantTimeEquals(const QString& a, const QString& b)
{
    if (a.size() != b.size())
        return false;
    const ushort* pa = a.utf16();
    const ushort* pb = b.utf16();
    unsigned diff = 0;
    for (qsizetype i = 0; i < a.size(); ++i)
        diff |= unsigned(pa[i] ^ pb[i]);
    return diff == 0;
}

} // namespace

QString TBCrypt::HashPassword(const QString& password)
{
    const QByteArray salt = GenerateSalt();
    const QByteArray raw = HashPassword(password, salt, DefaultCost);
    return FormatPasswordHashForBsd(DefaultCost, salt, raw);
}

bool TBCrypt::CheckPassword(const QString& password, const QString& expectedHashString)
{
    QString version;
    QByteArray salt;
    int cost = 0;
    if (!TryParseHashString(expectedHashString, version, salt, cost))
        throw EBCryptError(QStringLiteral("Invalid hash string"));
    const QByteArray raw = HashPassword(password, salt, cost);
    const QString actual = FormatPasswordHashForBsd(cost, salt, raw);
    return ConstantTimeEquals(actual, expectedHashString);
}

QByteArray TBCrypt::GenerateSalt()
{
    return GuidBytes(CreateGuid());
}

QByteArray TBCrypt::PasswordKey(const QString& password)
{
    QByteArray key = WideStringToUtf8(password);
    if (key.size() > kMaxPasswordBytes)
        key.truncate(kMaxPasswordBytes); // also inside a character
    key.append('\0');
    return key;
}

QByteArray TBCrypt::HashPassword(const QString& password, const QByteArray& salt, int cost)
{
    QByteArray key = PasswordKey(password);
    QByteArray raw = CryptCore(cost, key, salt);
    Wipe(key);
    return raw;
}

QByteArray TBCrypt::CryptCore(int Cost, const QByteArray& Key, const QByteArray& salt)
{
    TBlowfishData state;
    EksBlowfishSetup(state, Cost, salt, Key);

    static const char kMagic[] = "OrpheanBeholderScryDoubt";
    static_assert(sizeof kMagic - 1 == kRawHashSize);
    uint32_t words[6];
    for (int i = 0; i < 6; ++i) {
        const auto* b = reinterpret_cast<const unsigned char*>(kMagic) + 4 * i;
        words[i] = (uint32_t(b[0]) << 24) | (uint32_t(b[1]) << 16) | (uint32_t(b[2]) << 8) | uint32_t(b[3]);
    }
    for (int pass = 0; pass < 64; ++pass) {
        for (int i = 0; i < 6; i += 2)
            BlowfishEncryptWords(state, words[i], words[i + 1]);
    }
    QByteArray raw(kRawHashSize, Qt::Uninitialized);
    for (int i = 0; i < 6; ++i) {
        raw[4 * i] = char(words[i] >> 24);
        raw[4 * i + 1] = char(words[i] >> 16);
        raw[4 * i + 2] = char(words[i] >> 8);
        raw[4 * i + 3] = char(words[i]);
    }
    Wipe(&state, sizeof state);
    return raw;
}

void TBCrypt::EksBlowfishSetup(TBlowfishData& state, int Cost, const QByteArray& salt, const QByteArray& key)
{
    if (Cost < 4 || Cost > 31)
        throw EBCryptError(QStringLiteral("Blowfish: Cost (%1) must be between 4..31").arg(Cost));
    CheckKeyLength(key);
    if (salt.size() != kSaltSize)
        throw EBCryptError(QStringLiteral("Blowfish: salt must be 16 bytes"));

    uint32_t keyWords[18];
    uint32_t saltKeyWords[18];
    uint32_t saltWords[4];
    CyclicWords(key, keyWords);
    CyclicWords(salt, saltKeyWords);
    SaltWords(salt, saltWords);

    BlowfishInitState(state);
    ExpandKeySalted(state, keyWords, saltWords);
    const uint64_t rounds = uint64_t(1) << Cost;
    for (uint64_t i = 0; i < rounds; ++i) {
        ExpandKeyUnsalted(state, keyWords);
        ExpandKeyUnsalted(state, saltKeyWords);
    }
    Wipe(keyWords, sizeof keyWords);
}

void TBCrypt::ExpandKey(TBlowfishData& state, const QByteArray& salt, const QByteArray& key)
{
    CheckKeyLength(key);
    if (salt.size() != kSaltSize)
        throw EBCryptError(QStringLiteral("Blowfish: salt must be 16 bytes"));
    uint32_t keyWords[18];
    uint32_t saltWords[4];
    CyclicWords(key, keyWords);
    SaltWords(salt, saltWords);
    ExpandKeySalted(state, keyWords, saltWords);
    Wipe(keyWords, sizeof keyWords);
}

bool TBCrypt::TryParseHashString(const QString& hashString, QString& version, QByteArray& Salt, int& Cost)
{
    if (hashString.size() < 28)
        return false;
    QString rest;
    if (hashString.left(4).compare(QLatin1String("$2a$"), Qt::CaseInsensitive) == 0) {
        version = hashString.mid(1, 2);
        rest = hashString.mid(4, 25);
    } else if (hashString.startsWith(QLatin1String("$2$"))) {
        version = hashString.mid(1, 1);
        rest = hashString.mid(3, 25);
    } else {
        return false;
    }
    // At least 24 characters remain after a prefix of four, so the cost and
    // its "$" are always there.
    const QChar d1 = rest.at(0);
    const QChar d2 = rest.at(1);
    if (d1 < u'0' || d1 > u'9' || d2 < u'0' || d2 > u'9' || rest.at(2) != u'$')
        return false;
    Cost = (d1.unicode() - u'0') * 10 + (d2.unicode() - u'0');
    Salt = BsdBase64Decode(rest.mid(3, 22));
    return true;
}

QString TBCrypt::FormatPasswordHashForBsd(int cost, const QByteArray& salt, const QByteArray& hash)
{
    return QStringLiteral("$2a$%1$").arg(cost, 2, 10, QLatin1Char('0'))
           + BsdBase64Encode(salt, kSaltSize) + BsdBase64Encode(hash, kEncodedHashBytes);
}

QString TBCrypt::BsdBase64Encode(const QByteArray& data, int BytesToEncode)
{
    if (BytesToEncode < 0 || data.size() < BytesToEncode)
        throw EBCryptError(QStringLiteral("Invalid length"));
    const auto* b = reinterpret_cast<const unsigned char*>(data.constData());
    QString out;
    out.reserve((BytesToEncode * 4 + 2) / 3);
    for (int i = 0; i < BytesToEncode; i += 3) {
        const int n = qMin(3, BytesToEncode - i);
        const unsigned b1 = b[i];
        const unsigned b2 = n > 1 ? b[i + 1] : 0;
        const unsigned b3 = n > 2 ? b[i + 2] : 0;
        out += QLatin1Char(kBsdAlphabet[b1 >> 2]);
        out += QLatin1Char(kBsdAlphabet[((b1 & 3) << 4) | (b2 >> 4)]);
        if (n > 1)
            out += QLatin1Char(kBsdAlphabet[((b2 & 15) << 2) | (b3 >> 6)]);
        if (n > 2)
            out += QLatin1Char(kBsdAlphabet[b3 & 63]);
    }
    return out;
}

QByteArray TBCrypt::BsdBase64Decode(const QString& s)
{
    const qsizetype len = s.size();
    if (len % 4 == 1)
        throw EBCryptError(QStringLiteral("Invalid base64 hash string"));
    QByteArray out;
    out.reserve(len * 3 / 4);
    for (qsizetype i = 0; i < len; i += 4) {
        const qsizetype n = qMin<qsizetype>(4, len - i);
        int v[4] = {0, 0, 0, 0};
        for (qsizetype k = 0; k < n; ++k) {
            v[k] = BsdBase64Value(s.at(i + k).unicode());
            if (v[k] < 0)
                throw EBCryptError(QStringLiteral("Invalid base64 hash string"));
        }
        out += char((v[0] << 2) | (v[1] >> 4));
        if (n > 2)
            out += char(((v[1] & 15) << 4) | (v[2] >> 2));
        if (n > 3)
            out += char(((v[2] & 3) << 6) | v[3]);
    }
    return out;
}

QByteArray TBCrypt::WideStringToUtf8(const QString& s)
{
    // Own conversion rather than QString::toUtf8: that writes "?" for an
    // unpaired surrogate, while the program has always hashed it as U+FFFD.
    const ushort* u = s.utf16();
    const qsizetype n = s.size();
    QByteArray out;
    out.reserve(n * 3);
    for (qsizetype i = 0; i < n; ++i) {
        char32_t c = u[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < n && u[i + 1] >= 0xDC00 && u[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (u[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        if (c < 0x80) {
            out += char(c);
        } else if (c < 0x800) {
            out += char(0xC0 | (c >> 6));
            out += char(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += char(0xE0 | (c >> 12));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        } else {
            out += char(0xF0 | (c >> 18));
            out += char(0x80 | ((c >> 12) & 0x3F));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        }
    }
    return out;
}
