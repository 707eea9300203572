#include "diplomas/DiplomaRun.h"

#include "diplomas/DiplomaPdf.h"
#include "base/Progress.h"

using namespace Qt::Literals::StringLiterals;

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
    pdf_ = std::make_unique<TDiplomaPdf>(pdfPath, templ_);
    writer_.keepImages(true);
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
        std::unique_ptr<TDiplomaPdf> pdf = std::move(pdf_);
        pdf->commit();
        pdfFile_ = pdf->path();
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
    QImage image;
    try {
        files_ << writer_.takeNext(pdf_ ? &image : nullptr);
    } catch (const EError& e) {
        failed();
        throw EDiplomaFailure(who, e.message());
    } catch (const std::exception& e) {
        failed();
        throw EDiplomaFailure(who, QString::fromLocal8Bit(e.what()));
    }
    if (pdf_) {
        // The page goes in as soon as its image is back; the image is then let go.
        try {
            pdf_->addPage(image);
        } catch (const EError&) {
            pdf_.reset();
            throw;
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
