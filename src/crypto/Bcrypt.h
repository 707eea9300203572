#pragma once
// bcrypt password hashes as the accounts table stores them, shared with the
// web platform: "$2a$", two cost digits, "$", 22 characters of salt and 31 of
// hash (60 characters). New hashes use the cost 10 and a salt made of the bytes
// of a new random GUID.
//
//     const QString stored = TBCrypt::HashPassword(newPassword);
//     if (TBCrypt::CheckPassword(typedPassword, stored)) ...

#include "crypto/Blowfish.h"

#include <QByteArray>
#include <QString>
#include <stdexcept>

/// A failure of hashing or checking; what() is UTF-8.
class EBCryptError : public std::runtime_error {
public:
    explicit EBCryptError(const QString& message) : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromUtf8(what()); }
};

class TBCrypt {
public:
    TBCrypt() = delete;

    /// Cost of the hashes this program writes.
    static constexpr int DefaultCost = 10;

    /// A new 60-character hash string "$2a$10$..." of the password, with a new salt.
    static QString HashPassword(const QString& password);

    /// Whether the password matches the stored hash string. Throws EBCryptError
    /// with "Invalid hash string" when the string does not parse, and the
    /// base64, cost and salt errors of the inner operations.
    static bool CheckPassword(const QString& password, const QString& expectedHashString);

    // The inner operations; the rest of the program calls only the two above.

    /// 16 bytes: a new version-4 GUID as it lies in memory.
    static QByteArray GenerateSalt();
    /// The 24 raw bytes of bcrypt for the password's key, the 16-byte salt and the cost.
    static QByteArray HashPassword(const QString& password, const QByteArray& salt, int cost);
    static QByteArray CryptCore(int Cost, const QByteArray& Key, const QByteArray& salt);
    static void EksBlowfishSetup(TBlowfishData& state, int Cost, const QByteArray& salt, const QByteArray& key);
    /// bcrypt's salted key expansion; salt is 16 bytes, key 1 to 56.
    static void ExpandKey(TBlowfishData& state, const QByteArray& salt, const QByteArray& key);
    /// Reads version ("2a" in any case, or "2"), salt and cost; false when the
    /// string has no such form. A bad salt text throws the base64 error.
    static bool TryParseHashString(const QString& hashString, QString& version, QByteArray& Salt, int& Cost);
    static QString FormatPasswordHashForBsd(int cost, const QByteArray& salt, const QByteArray& hash);
    static QString BsdBase64Encode(const QByteArray& data, int BytesToEncode);
    static QByteArray BsdBase64Decode(const QString& s);
    /// UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD.
    static QByteArray WideStringToUtf8(const QString& s);
    /// The bcrypt key of a password: its UTF-8 bytes, at most 55, and a zero byte.
    static QByteArray PasswordKey(const QString& password);
};
