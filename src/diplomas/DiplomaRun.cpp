#include "diplomas/DiplomaRun.h"

#include "export/JpegPdf.h"
#include "ui/Progress.h"

#include <QPageSize>
#include <cmath>

using namespace Qt::Literals::StringLiterals;

QSizeF diplomaPageSize(const QImage& templ)
{
    // Qt gives 2835 dots per metre (72 per inch) to an image that does not say.
    const int dpm = templ.dotsPerMeterX();
    const double dpi = dpm > 0 ? qMax(1.0, std::round(dpm * 0.0254)) : 72.0;
    const QSizeF size(templ.width() * 72.0 / dpi, templ.height() * 72.0 / dpi);
    // A size within a point of a standard one (A4) takes the standard's size,
    // turned as the template is.
    const QSizeF portrait(qMin(size.width(), size.height()), qMax(size.width(), size.height()));
    const QPageSize standard(portrait, QPageSize::Point);
    const QSizeF points = standard.size(QPageSize::Point);
    if (standard.id() == QPageSize::Custom || qAbs(points.width() - portrait.width()) > 1.0
        || qAbs(points.height() - portrait.height()) > 1.0)
        return size;
    return size.width() > size.height() ? points.transposed() : points;
}

QString fullName(const TDiplomaData& data)
{
    return data.surname + u' ' + data.name + u' ' + data.patronymic;
}

TDiplomaRun::TDiplomaRun(const QImage& templ, const QString& folder, const TDiplomaFaces& faces,
                         TProgressSink& progress, int threads)
    : writer_(templ, faces, threads)
    , names_(folder)
    , progress_(progress)
    , templ_(templ)
{
}

TDiplomaRun::~TDiplomaRun() = default;

void TDiplomaRun::writePdf(const QString& pdfPath)
{
    try {
        pdf_ = std::make_unique<TJpegPdf>(pdfPath, diplomaPageSize(templ_), u"АИС \"Тальвира\""_s);
        writer_.keepJpegs(true);
    } catch (const EError& e) {
        pdfFailed(e.message());
    }
}

void TDiplomaRun::pdfFailed(const QString& reason)
{
    pdf_.reset();
    writer_.keepJpegs(false);
    pdfFailure_ = reason;
}

void TDiplomaRun::add(const TDiplomaData& data)
{
    if (writer_.full())
        takeOne();
    writer_.add(data, names_.next(data.surname, data.name, data.patronymic));
    queued_.push_back(fullName(data));
}

void TDiplomaRun::finish()
{
    while (writer_.pending() > 0)
        takeOne();
    if (pdf_ && queued_.empty()) {
        try {
            pdf_->commit();
            pdfFile_ = pdf_->path();
            pdf_.reset();
        } catch (const EError& e) {
            pdfFailed(e.message());
        }
    }
}

void TDiplomaRun::stop()
{
    pdf_.reset();
    while (writer_.pending() > 0)
        takeOne();
}

void TDiplomaRun::takeOne()
{
    const QString who = queued_.front();
    queued_.pop_front();
    QByteArray jpeg;
    try {
        files_ << writer_.takeNext(&jpeg);
    } catch (const EError& e) {
        failed();
        throw EDiplomaFailure(who, e.message());
    } catch (const std::exception& e) {
        failed();
        throw EDiplomaFailure(who, QString::fromUtf8(e.what()));
    }
    if (pdf_) {
        // The page goes in as soon as its file is saved: the same bytes.
        try {
            pdf_->addPage(jpeg);
        } catch (const EError& e) {
            pdfFailed(e.message());
        }
    }
    progress_.setPosition(produced());
}

void TDiplomaRun::failed()
{
    // The writer started nothing after the failed image; those already under
    // way were saved all the same and count as made.
    queued_.clear();
    files_ << writer_.savedAfterFailure();
    pdf_.reset();  // a failed run leaves no PDF
}
