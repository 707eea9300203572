#include "app/FileVersion.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <array>
#include <functional>
#include <string_view>

#ifdef _WIN32
#include <windows.h>
#include <vector>
#pragma comment(lib, "version.lib")
#endif

using namespace Qt::Literals::StringLiterals;

QString versionText(int major, int minor, int release, int build)
{
    return QString::asprintf("v%d.%d.%d build %d", major, minor, release, build);
}

QString updaterProgram()
{
#ifdef _WIN32
    return u"Kelvort.exe"_s;
#else
    return u"Kelvort"_s;
#endif
}

QStringList updaterArguments(const QString& executablePath, quintptr windowHandle)
{
    return {executablePath, QString::number(windowHandle)};
}

namespace {

QString failure(int code, const QString& text)
{
    return QString::asprintf("GetFileVersionInfo failed: (%d) %s", code, text.toUtf8().constData());
}

} // namespace

#ifdef _WIN32

namespace {

QString systemErrorText(DWORD code)
{
    wchar_t* buffer = nullptr;
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM
                                       | FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    QString text = n ? QString::fromWCharArray(buffer, int(n)) : QString();
    if (buffer)
        LocalFree(buffer);
    while (!text.isEmpty() && (text.back() == u'\r' || text.back() == u'\n' || text.back() == u' '))
        text.chop(1);
    return text;
}

QString systemFailure()
{
    const DWORD code = GetLastError();
    return failure(int(code), systemErrorText(code));
}

} // namespace

QString FileVersion(const QString& path)
{
    const std::wstring file = QDir::toNativeSeparators(path).toStdWString();
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &handle);
    if (size == 0)
        return systemFailure();
    std::vector<BYTE> data(size);
    if (!GetFileVersionInfoW(file.c_str(), handle, size, data.data()))
        return systemFailure();
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &length) && info)
        return versionText(HIWORD(info->dwFileVersionMS), LOWORD(info->dwFileVersionMS),
                           HIWORD(info->dwFileVersionLS), LOWORD(info->dwFileVersionLS));
    return {};
}

#else

namespace {

constexpr int kFileNotFound = 2;
constexpr int kAccessDenied = 5;
constexpr int kResourceTypeNotFound = 1813;

/// The four numbers of a dotted version text, at compile time.
constexpr std::array<unsigned, 4> parseVersion(std::string_view text)
{
    std::array<unsigned, 4> parts{};
    std::size_t part = 0;
    for (const char c : text) {
        if (c == '.') {
            if (++part == parts.size())
                throw "a file version has four parts";
        } else if (c >= '0' && c <= '9') {
            parts[part] = parts[part] * 10 + unsigned(c - '0');
            if (parts[part] > 0xFFFF)
                throw "a part of a file version is a 16-bit number";
        } else {
            throw "a file version is made of digits and dots";
        }
    }
    if (part != parts.size() - 1)
        throw "a file version has four parts";
    return parts;
}

constexpr std::array<unsigned, 4> kVersion = parseVersion(TALVIRA_FILE_VERSION);
constexpr std::size_t kMarkerSize = 20;

constexpr unsigned char lo(unsigned v) { return static_cast<unsigned char>(v & 0xFF); }
constexpr unsigned char hi(unsigned v) { return static_cast<unsigned char>(v >> 8); }

} // namespace

// The version record of this program. Its marker is written out byte by byte
// and the search reads it back from here, so the pattern lies in the binary
// only once: in this record. It is deliberately neither const nor local to
// this file: a constant would be copied once more into the debug information.
namespace talvira_version {
extern unsigned char fileVersionRecord[kMarkerSize + 8];
__attribute__((used)) alignas(4) unsigned char fileVersionRecord[kMarkerSize + 8] = {
    'T', 'A', 'L', 'V', 'I', 'R', 'A', '-', 'F', 'I', 'L', 'E', 'V', 'E', 'R', 'S', 'I', 'O', 'N', 0,
    lo(kVersion[0]), hi(kVersion[0]), lo(kVersion[1]), hi(kVersion[1]),
    lo(kVersion[2]), hi(kVersion[2]), lo(kVersion[3]), hi(kVersion[3]),
};
} // namespace talvira_version

QByteArray fileVersionMarker()
{
    return QByteArray(reinterpret_cast<const char*>(talvira_version::fileVersionRecord), kMarkerSize);
}

QString FileVersion(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return failure(kFileNotFound, u"The system cannot find the file specified."_s);
    QFile file(path);
    if (info.isDir() || !file.open(QIODevice::ReadOnly))
        return failure(kAccessDenied, u"Access is denied."_s);
    const QString notFound = failure(kResourceTypeNotFound,
                                     u"The specified resource type cannot be found in the image file."_s);
    const qint64 size = file.size();
    if (size <= 0)
        return notFound;
    QByteArray read;
    const char* data = reinterpret_cast<const char*>(file.map(0, size));
    qint64 length = size;
    if (!data) {
        read = file.readAll();
        data = read.constData();
        length = read.size();
    }
    const QByteArray marker = fileVersionMarker();
    const char* end = data + length;
    const char* found = std::search(data, end, std::boyer_moore_horspool_searcher(marker.cbegin(), marker.cend()));
    if (found == end || end - found < qint64(kMarkerSize + 8))
        return notFound;
    const auto* n = reinterpret_cast<const unsigned char*>(found + kMarkerSize);
    auto part = [n](int i) { return int(n[2 * i]) | (int(n[2 * i + 1]) << 8); };
    return versionText(part(0), part(1), part(2), part(3));
}

#endif
