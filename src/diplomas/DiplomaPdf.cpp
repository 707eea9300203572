#include "diplomas/DiplomaPdf.h"

#include "data/Errors.h"

#include <QDir>
#include <QPageLayout>
#include <QPageSize>
#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace {

// Dots per inch of an image: Qt gives 2835 dots per metre (72 per inch) to an
// image that does not say.
int dotsPerInch(int dotsPerMeter)
{
    return dotsPerMeter > 0 ? qMax(1, int(std::lround(dotsPerMeter * 0.0254))) : 72;
}

EError failure(const QString& path, const QString& reason)
{
    return EError(u"Не удалось сохранить файл \"%1\": %2"_s.arg(QDir::toNativeSeparators(path), reason));
}

} // namespace

TDiplomaPdf::TDiplomaPdf(const QString& path, const QImage& page)
    : path_(path)
    , file_(path)
    , writer_(&file_)
{
    if (!file_.open(QIODevice::WriteOnly))
        throw failure(path_, file_.errorString());
    const int dpi = dotsPerInch(page.dotsPerMeterX());
    // A size within a point of a standard one (A4) takes the standard's name
    // and size; a landscape template gives landscape pages.
    const double w = page.width() * 72.0 / dpi, h = page.height() * 72.0 / dpi;
    const QPageSize size(QSizeF(qMin(w, h), qMax(w, h)), QPageSize::Point);
    writer_.setResolution(dpi);
    writer_.setPageLayout(QPageLayout(size, w > h ? QPageLayout::Landscape : QPageLayout::Portrait,
                                      QMarginsF(0, 0, 0, 0)));
    writer_.setCreator(u"АИС \"Тальвира\""_s);
    if (!painter_.begin(&writer_))
        throw failure(path_, u"не удалось начать файл PDF"_s);
}

TDiplomaPdf::~TDiplomaPdf()
{
    if (painter_.isActive())
        painter_.end();
    // An uncommitted file is dropped by QSaveFile: nothing under the name.
}

void TDiplomaPdf::addPage(const QImage& image)
{
    if (pages_ > 0 && !writer_.newPage())
        throw failure(path_, u"не удалось добавить страницу"_s);
    painter_.drawImage(QRect(0, 0, writer_.width(), writer_.height()), image);
    ++pages_;
}

void TDiplomaPdf::commit()
{
    if (!painter_.end())
        throw failure(path_, file_.errorString());
    if (!file_.commit())
        throw failure(path_, file_.errorString());
}
