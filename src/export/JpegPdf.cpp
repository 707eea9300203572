#include "export/JpegPdf.h"

#include "data/Errors.h"

#include <QDir>

using namespace Qt::Literals::StringLiterals;

namespace {

// Objects of the file besides the pages: the catalogue, the page tree and the
// document information.
constexpr int kCatalog = 1;
constexpr int kPages = 2;
constexpr int kInfo = 3;

QByteArray points(double value)
{
    return QByteArray::number(value, 'f', 2);
}

QByteArray ref(int object)
{
    return QByteArray::number(object) + " 0 R";
}

// A text of the document information: UTF-16 with its byte order mark, in hex.
QByteArray pdfText(const QString& text)
{
    QByteArray utf16("\xFE\xFF", 2);
    for (const QChar c : text) {
        utf16 += char(c.unicode() >> 8);
        utf16 += char(c.unicode() & 0xFF);
    }
    return '<' + utf16.toHex().toUpper() + '>';
}

} // namespace

std::optional<TJpegInfo> jpegInfo(const QByteArray& jpeg)
{
    const auto byte = [&](qsizetype at) { return quint8(jpeg.at(at)); };
    const qsizetype size = jpeg.size();
    if (size < 4 || byte(0) != 0xFF || byte(1) != 0xD8)
        return std::nullopt;
    qsizetype at = 2;
    while (at + 4 <= size) {
        if (byte(at) != 0xFF)
            return std::nullopt;
        const quint8 marker = byte(at + 1);
        if (marker == 0xFF) {  // fill byte before a marker
            ++at;
            continue;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {  // markers without a length
            at += 2;
            continue;
        }
        const int length = byte(at + 2) << 8 | byte(at + 3);
        // SOF0 to SOF15 but DHT (C4), JPG (C8) and DAC (CC) carry the frame header.
        const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            if (at + 10 > size || length < 8)
                return std::nullopt;
            TJpegInfo info;
            info.height = byte(at + 5) << 8 | byte(at + 6);
            info.width = byte(at + 7) << 8 | byte(at + 8);
            info.components = byte(at + 9);
            return info;
        }
        if (marker == 0xDA || length < 2)  // the picture data begins: no frame header before it
            return std::nullopt;
        at += 2 + length;
    }
    return std::nullopt;
}

TJpegPdf::TJpegPdf(const QString& path, const QSizeF& pagePoints, const QString& creator)
    : path_(path), file_(path), page_(pagePoints), creator_(creator)
{
    if (!file_.open(QIODevice::WriteOnly))
        fail(file_.errorString());
    offsets_ = {-1, -1, -1};
    // The binary comment tells transfer programs that the file is not text.
    write("%PDF-1.4\n%\xE2\xE3\xCF\xD3\n");
}

TJpegPdf::~TJpegPdf() = default;  // an uncommitted file is dropped by QSaveFile

void TJpegPdf::fail(const QString& reason) const
{
    throw EExportError(u"Не удалось сохранить файл \"%1\": %2"_s.arg(QDir::toNativeSeparators(path_), reason));
}

void TJpegPdf::write(const QByteArray& bytes)
{
    if (file_.write(bytes) != bytes.size())
        fail(file_.errorString());
    written_ += bytes.size();
}

void TJpegPdf::beginObject(int object)
{
    while (offsets_.size() < object)
        offsets_ << -1;
    offsets_[object - 1] = written_;
    write(QByteArray::number(object) + " 0 obj\n");
}

void TJpegPdf::addPage(const QByteArray& jpeg)
{
    const std::optional<TJpegInfo> info = jpegInfo(jpeg);
    if (!info || info->width <= 0 || info->height <= 0)
        fail(u"страница %1 не является изображением JPEG"_s.arg(pages() + 1));
    if (info->components != 1 && info->components != 3)
        fail(u"изображение JPEG страницы %1 не в оттенках серого и не в цвете RGB"_s.arg(pages() + 1));

    const int image = int(offsets_.size()) + 1, contents = image + 1, page = image + 2;
    beginObject(image);
    write("<< /Type /XObject /Subtype /Image /Width " + QByteArray::number(info->width) + " /Height "
          + QByteArray::number(info->height) + " /ColorSpace "
          + (info->components == 1 ? "/DeviceGray" : "/DeviceRGB")
          + " /BitsPerComponent 8 /Filter /DCTDecode /Length " + QByteArray::number(jpeg.size()) + " >>\nstream\n");
    write(jpeg);
    write("\nendstream\nendobj\n");

    // The picture stretched over the whole page.
    const QByteArray draw = "q " + points(page_.width()) + " 0 0 " + points(page_.height()) + " 0 0 cm /Im0 Do Q\n";
    beginObject(contents);
    write("<< /Length " + QByteArray::number(draw.size()) + " >>\nstream\n" + draw + "endstream\nendobj\n");

    beginObject(page);
    write("<< /Type /Page /Parent " + ref(kPages) + " /MediaBox [0 0 " + points(page_.width()) + ' '
          + points(page_.height()) + "] /Resources << /XObject << /Im0 " + ref(image) + " >> >> /Contents "
          + ref(contents) + " >>\nendobj\n");
    pageObjects_ << page;
}

void TJpegPdf::commit()
{
    QByteArray kids;
    for (const int page : pageObjects_)
        kids += ref(page) + ' ';
    beginObject(kPages);
    write("<< /Type /Pages /Kids [" + kids + "] /Count " + QByteArray::number(pages()) + " >>\nendobj\n");
    beginObject(kCatalog);
    write("<< /Type /Catalog /Pages " + ref(kPages) + " >>\nendobj\n");
    beginObject(kInfo);
    write("<< /Creator " + pdfText(creator_) + " /Producer " + pdfText(creator_) + " >>\nendobj\n");

    // The cross-reference table: one entry of 20 bytes per object.
    const qint64 xref = written_;
    QByteArray table = "xref\n0 " + QByteArray::number(offsets_.size() + 1) + "\n0000000000 65535 f \n";
    for (const qint64 offset : offsets_)
        table += QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
    write(table);
    write("trailer\n<< /Size " + QByteArray::number(offsets_.size() + 1) + " /Root " + ref(kCatalog) + " /Info "
          + ref(kInfo) + " >>\nstartxref\n" + QByteArray::number(xref) + "\n%%EOF\n");
    if (!file_.commit())
        fail(file_.errorString());
}
