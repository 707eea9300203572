#include "diplomas/DiplomaRun.h"

#include "ui/Progress.h"

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
{
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
}

void TDiplomaRun::takeOne()
{
    const QString who = queued_.front();
    queued_.pop_front();
    try {
        files_ << writer_.takeNext();
    } catch (const EError& e) {
        failed();
        throw EDiplomaFailure(who, e.message());
    } catch (const std::exception& e) {
        failed();
        throw EDiplomaFailure(who, QString::fromLocal8Bit(e.what()));
    }
    progress_.setPosition(produced());
}

void TDiplomaRun::failed()
{
    // The writer started nothing after the failed image; those already under
    // way were saved all the same and count as made.
    queued_.clear();
    files_ << writer_.savedAfterFailure();
}
