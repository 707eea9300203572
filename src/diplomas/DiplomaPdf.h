#pragma once
// The diplomas of one run as one PDF file for the printer: a page per image,
// each page the size of the template at its resolution.

#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QString>

/// Writes pages one at a time, so that only the page being added is held; the
/// file appears under its name only at commit(). Dropped without commit (a
/// failed run), it leaves nothing under that name.
///
///     TDiplomaPdf pdf(folder + u"/(0)Дипломы_(Физика)_14.02.2026.pdf"_s, templ);
///     pdf.addPage(image1);
///     pdf.addPage(image2);
///     pdf.commit();
class TDiplomaPdf {
public:
    /// A PDF at path whose pages have the size of page (its pixels at its dots
    /// per metre: 2480 x 3508 at 11811 per metre is A4). Throws EError when the
    /// file cannot be started.
    TDiplomaPdf(const QString& path, const QImage& page);
    ~TDiplomaPdf();
    TDiplomaPdf(const TDiplomaPdf&) = delete;
    TDiplomaPdf& operator=(const TDiplomaPdf&) = delete;

    /// Adds one page filled with image.
    void addPage(const QImage& image);
    /// Finishes the file and gives it its name; throws EError naming the file
    /// when it cannot be written.
    void commit();

    /// The pages added so far.
    int pages() const { return pages_; }
    const QString& path() const { return path_; }

private:
    QString path_;
    QSaveFile file_;
    QPdfWriter writer_;
    QPainter painter_;
    int pages_ = 0;
};
