// libFuzzer target for the parsing side of the password hashes: hash strings,
// BSD base64 and the UTF-16 to UTF-8 conversion. Not part of the test suite;
// build and run it by hand:
//
//     clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fPIC \
//         -I src tests/crypto/fuzz_bcrypt.cpp src/crypto/*.cpp \
//         $(pkg-config --cflags --libs Qt6Core) -o /tmp/fuzz_bcrypt
//     /tmp/fuzz_bcrypt -max_total_time=60
//
// Input: the password, a line feed, the hash string (both UTF-8).

#include "crypto/Bcrypt.h"

#include <QString>
#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const char* text = reinterpret_cast<const char*>(data);
    const auto* nl = static_cast<const char*>(std::memchr(text, '\n', size));
    const qsizetype split = nl ? nl - text : qsizetype(size);
    const QString password = QString::fromUtf8(text, split);
    const QString hash = nl ? QString::fromUtf8(nl + 1, qsizetype(size) - split - 1) : QString();

    // Hash strings: only the documented errors may come out. High costs
    // are left out to keep each run short.
    try {
        QString version;
        QByteArray salt;
        int cost = 0;
        if (TBCrypt::TryParseHashString(hash, version, salt, cost) && cost <= 5)
            TBCrypt::CheckPassword(password, hash);
    } catch (const EBCryptError&) {
    }

    // BSD base64: what decodes encodes back to text that decodes the same.
    try {
        const QByteArray bytes = TBCrypt::BsdBase64Decode(hash);
        const QString again = TBCrypt::BsdBase64Encode(bytes, int(bytes.size()));
        if (TBCrypt::BsdBase64Decode(again) != bytes)
            std::abort();
    } catch (const EBCryptError&) {
    }

    // UTF-16 to UTF-8 of arbitrary code units: valid text as Qt converts it.
    QString units(qsizetype(size / 2), Qt::Uninitialized);
    std::memcpy(units.data(), data, (size / 2) * 2);
    const QByteArray utf8 = TBCrypt::WideStringToUtf8(units);
    bool lone = false;
    for (qsizetype i = 0; i < units.size(); ++i) {
        if (units.at(i).isHighSurrogate() && i + 1 < units.size() && units.at(i + 1).isLowSurrogate())
            ++i;
        else if (units.at(i).isSurrogate())
            lone = true;
    }
    if (!lone && utf8 != units.toUtf8())
        std::abort();
    return 0;
}
