#include "diplomas/DiplomaWriter.h"

#include "data/Errors.h"

#include <QBuffer>
#include <QDir>
#include <QImageWriter>
#include <QSaveFile>
#include <QThread>
#include <stdexcept>

using namespace Qt::Literals::StringLiterals;

QByteArray writeDiploma(const QImage& image, const QString& path)
{
    const auto failure = [&](const QString& reason) {
        return EError(u"Не удалось сохранить файл \"%1\": %2"_s.arg(QDir::toNativeSeparators(path), reason));
    };
    QByteArray jpeg;
    {
        QBuffer buffer(&jpeg);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "jpeg");
        writer.setQuality(TDiplomaWriter::Quality);
        if (!writer.write(image))
            throw failure(writer.errorString());
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw failure(file.errorString());
    if (file.write(jpeg) != jpeg.size() || !file.commit())
        throw failure(file.errorString());
    return jpeg;
}

TDiplomaWriter::TDiplomaWriter(const QImage& templ, const TDiplomaFaces& faces, int threads)
    : template_(templ.convertToFormat(QImage::Format_RGB32)), faces_(faces)
{
    if (template_.isNull())
        throw EError(u"Шаблон диплома не загружен"_s);
    if (threads <= 0)
        threads = qMax(1, QThread::idealThreadCount());
    pool_.setMaxThreadCount(threads);
    pool_.setExpiryTimeout(-1);  // threads keep their font caches for the whole run
    // Twice as many images as workers: a worker never waits for the window to
    // hand it the next one, and only the images being drawn hold pixels.
    capacity_ = 2 * threads;
}

TDiplomaWriter::~TDiplomaWriter()
{
    dropAll();
}

void TDiplomaWriter::add(const TDiplomaData& data, const QString& path)
{
    std::shared_ptr<QByteArray> kept = keepJpegs_ ? std::make_shared<QByteArray>() : nullptr;
    auto task = std::make_shared<std::packaged_task<bool()>>(
        [templ = template_, faces = faces_, cancelled = cancelled_, data, path, kept] {
            if (*cancelled)
                return false;
            QByteArray jpeg = writeDiploma(createTitle(templ, data, faces), path);
            if (kept)
                *kept = std::move(jpeg);
            return true;
        });
    queue_.push_back({path, task->get_future(), kept});
    pool_.start([task] { (*task)(); });
}

QString TDiplomaWriter::takeNext(QByteArray* jpeg)
{
    if (queue_.empty())
        throw std::logic_error("TDiplomaWriter::takeNext: no image queued");
    Job job = std::move(queue_.front());
    queue_.pop_front();
    try {
        job.done.get();
    } catch (...) {
        // The run ends at its first failure: the rest are not started.
        savedAfterFailure_.clear();
        *cancelled_ = true;
        for (Job& later : queue_) {
            try {
                if (later.done.get())
                    savedAfterFailure_ << later.path;
            } catch (const std::exception&) {
                // A later image that failed as well is simply not there.
            }
        }
        queue_.clear();
        *cancelled_ = false;
        throw;
    }
    if (jpeg)
        *jpeg = job.jpeg ? std::move(*job.jpeg) : QByteArray();
    return job.path;
}

void TDiplomaWriter::dropAll()
{
    *cancelled_ = true;
    for (Job& job : queue_)
        job.done.wait();
    queue_.clear();
    *cancelled_ = false;
}
