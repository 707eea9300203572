#include "diplomas/DiplomaWriter.h"

#include "data/Errors.h"

#include <QDir>
#include <QImageWriter>
#include <QSaveFile>
#include <QThread>
#include <stdexcept>

using namespace Qt::Literals::StringLiterals;

void writeDiploma(const QImage& image, const QString& path)
{
    const auto failure = [&](const QString& reason) {
        return EError(u"Не удалось сохранить файл \"%1\": %2"_s.arg(QDir::toNativeSeparators(path), reason));
    };
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw failure(file.errorString());
    QImageWriter writer(&file, "jpeg");
    writer.setQuality(TDiplomaWriter::Quality);
    if (!writer.write(image))
        throw failure(writer.errorString());
    if (!file.commit())
        throw failure(file.errorString());
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
    auto task = std::make_shared<std::packaged_task<void()>>(
        [templ = template_, faces = faces_, cancelled = cancelled_, data, path] {
            if (*cancelled)
                return;
            writeDiploma(createTitle(templ, data, faces), path);
        });
    queue_.push_back({path, task->get_future()});
    pool_.start([task] { (*task)(); });
}

QString TDiplomaWriter::takeNext()
{
    if (queue_.empty())
        throw std::logic_error("TDiplomaWriter::takeNext: no image queued");
    Job job = std::move(queue_.front());
    queue_.pop_front();
    try {
        job.done.get();
    } catch (...) {
        // The run ends at its first failure: the rest are not started.
        dropAll();
        throw;
    }
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
