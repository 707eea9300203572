#pragma once
// A PDF file of JPEG pictures, one picture filling each page. The JPEG bytes go
// into the file as they are (an image with the DCT filter): nothing is decoded
// or coded again.

#include <QByteArray>
#include <QList>
#include <QSaveFile>
#include <QSizeF>
#include <QString>
#include <optional>

/// What a PDF page needs to know of a JPEG picture: its size in pixels and its
/// number of colour components (1 grey, 3 colour).
struct TJpegInfo {
    int width = 0;
    int height = 0;
    int components = 0;
};

/// Reads the frame header of a JPEG picture; nothing when the bytes are no
/// JPEG or end before the frame header.
///
///     jpegInfo(bytes)->width   // 1654
///     jpegInfo("not a picture") // std::nullopt
std::optional<TJpegInfo> jpegInfo(const QByteArray& jpeg);

/// Writes the pages one at a time straight into the file, so that only the
/// page being added is held; the file appears under its name only at commit().
/// Dropped without commit (a failed run), it leaves nothing under that name.
/// Every page has the size given at construction, and its picture is stretched
/// over the whole page.
///
///     TJpegPdf pdf(folder + u"/(0)Дипломы_(Физика)_14.02.2026.pdf"_s, QSizeF(595.28, 841.89), u"Тальвира"_s);
///     pdf.addPage(firstJpeg);
///     pdf.addPage(secondJpeg);
///     pdf.commit();
class TJpegPdf {
public:
    /// A PDF at path with pages of pagePoints (1/72 inch; A4 is 595.28 x
    /// 841.89) and creator as the program that made it. Throws EExportError
    /// naming the file when it cannot be started.
    TJpegPdf(const QString& path, const QSizeF& pagePoints, const QString& creator = QString());
    ~TJpegPdf();
    TJpegPdf(const TJpegPdf&) = delete;
    TJpegPdf& operator=(const TJpegPdf&) = delete;

    /// Adds one page showing the picture. Throws EExportError for bytes that
    /// are no grey or colour JPEG, or when the file cannot be written.
    ///
    ///     pdf.addPage(jpegBytes);
    void addPage(const QByteArray& jpeg);
    /// Ends the file and gives it its name; throws EExportError naming the
    /// file when it cannot be written.
    void commit();

    /// The pages added so far.
    int pages() const { return int(pageObjects_.size()); }
    const QString& path() const { return path_; }

private:
    /// Starts object number `object` at the current place in the file.
    void beginObject(int object);
    void write(const QByteArray& bytes);
    [[noreturn]] void fail(const QString& reason) const;

    QString path_;
    QSaveFile file_;
    QSizeF page_;
    QString creator_;
    qint64 written_ = 0;
    QList<qint64> offsets_;   // by object number less 1; -1 until written
    QList<int> pageObjects_;
};
