#pragma once
// Drawing and saving diploma images on worker threads while the diploma window
// prepares the next participant. The window sees a plain sequence of calls on
// its own thread: it adds images, gets back those that are finished, in the
// order it added them, and a failure comes back as the exception it was.

#include "diplomas/DiplomaDrawing.h"

#include <QImage>
#include <QString>
#include <QStringList>
#include <QThreadPool>
#include <atomic>
#include <deque>
#include <future>
#include <memory>

/// Codes an image as JPEG of quality 90 and saves the bytes as the file at
/// path; returns them. The file is replaced only once the new one is complete;
/// throws EError naming the file when it cannot be written.
///
///     const QByteArray jpeg = writeDiploma(createTitle(templ, d, faces), u"Дипломы/Физика/Петров Иван Сергеевич.jpg"_s);
QByteArray writeDiploma(const QImage& image, const QString& path);

/// Draws (createTitle) and saves (writeDiploma) diploma images on worker
/// threads, several at a time, and hands them back one by one in the order
/// they were added. Use it from one thread, the window's.
///
///     TDiplomaWriter writer(templ, TDiplomaFaces::platform());
///     TDiplomaFileNames names(folder);
///     int produced = 0;
///     for (const TDiplomaData& d : chosen) {
///         if (writer.full()) {
///             writer.takeNext();
///             progress.setPosition(++produced);
///         }
///         writer.add(d, names.next(d.surname, d.name, d.patronymic));
///     }
///     while (writer.pending() > 0) {
///         writer.takeNext();
///         progress.setPosition(++produced);
///     }
///
/// A failed image throws from the takeNext() that reaches it, so every image
/// added before it has been handed back; the images added after it are not
/// started (those already under way end first) and the writer is empty again.
class TDiplomaWriter {
public:
    /// The JPEG quality the images are saved with (of 100).
    static constexpr int Quality = 90;

    /// A writer of images on a copy of templ, drawn with faces, on that many
    /// worker threads (0: one per processor core). Throws EError for a null
    /// template.
    ///
    ///     TDiplomaWriter writer(templ, TDiplomaFaces::platform());
    TDiplomaWriter(const QImage& templ, const TDiplomaFaces& faces, int threads = 0);
    /// Waits for the images under way; those not yet started are dropped.
    ~TDiplomaWriter();
    TDiplomaWriter(const TDiplomaWriter&) = delete;
    TDiplomaWriter& operator=(const TDiplomaWriter&) = delete;

    /// Queues the image of data, to be saved at path, and returns at once. It
    /// is started as soon as a worker is free.
    ///
    ///     writer.add(d, names.next(d.surname, d.name, d.patronymic));
    void add(const TDiplomaData& data, const QString& path);

    /// True when enough images are queued to keep every worker busy: take the
    /// oldest before adding more (adding anyway only queues more).
    ///
    ///     if (writer.full()) writer.takeNext();
    bool full() const { return int(queue_.size()) >= capacity_; }

    /// Waits for the oldest queued image and returns its path; rethrows its
    /// failure (EError for a file that cannot be written). With jpeg given
    /// (and the files' bytes kept, see keepJpegs) the bytes of the saved file
    /// are handed back too.
    ///
    ///     const QString saved = writer.takeNext();
    QString takeNext(QByteArray* jpeg = nullptr);

    /// Keeps the bytes of each saved file until takeNext hands them back (for
    /// a second output of the same pictures, coded once); only the queued
    /// images' bytes are held, never the whole run. Set it before the first add.
    ///
    ///     writer.keepJpegs(true);
    ///     QByteArray page;
    ///     writer.takeNext(&page);
    void keepJpegs(bool on) { keepJpegs_ = on; }

    /// The images that were under way when takeNext threw and were finished
    /// and saved all the same (the failure leaves them in place), in order.
    ///
    ///     catch (const EError&) { made += writer.savedAfterFailure().size(); }
    const QStringList& savedAfterFailure() const { return savedAfterFailure_; }

    /// Images added and not yet taken.
    ///
    ///     while (writer.pending() > 0) writer.takeNext();
    int pending() const { return int(queue_.size()); }

private:
    struct Job {
        QString path;
        std::future<bool> done;  // true once the image is saved
        std::shared_ptr<QByteArray> jpeg;  // the saved file's bytes, when kept
    };

    void dropAll();

    QImage template_;
    TDiplomaFaces faces_;
    int capacity_;
    bool keepJpegs_ = false;
    QStringList savedAfterFailure_;
    std::deque<Job> queue_;
    std::shared_ptr<std::atomic_bool> cancelled_ = std::make_shared<std::atomic_bool>(false);
    QThreadPool pool_;
};
