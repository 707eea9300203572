#pragma once
// One run of "Создать" in the diploma window: the images of the chosen
// participants saved in the event's folder in list order, each under a name of
// its own, the progress bar following them, and a failure that names the
// participant it happened to. Knows no window and no database.

#include "data/Errors.h"
#include "diplomas/DiplomaDrawing.h"
#include "diplomas/DiplomaFiles.h"
#include "diplomas/DiplomaWriter.h"

#include <QImage>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <deque>
#include <memory>

class TJpegPdf;

class TProgressSink;

/// The image of one participant could not be made: who ("Петров Иван
/// Сергеевич") and why (the text of the failure).
///
///     catch (const EDiplomaFailure& f) { ShowErrorMessage(f.participant() + u": "_s + f.reason()); }
class EDiplomaFailure : public EError {
public:
    EDiplomaFailure(const QString& participant, const QString& reason)
        : EError(participant + QStringLiteral(": ") + reason), participant_(participant), reason_(reason)
    {
    }
    const QString& participant() const { return participant_; }
    const QString& reason() const { return reason_; }

private:
    QString participant_;
    QString reason_;
};

/// The page of a template in points (1/72 inch): its pixels at its dots per
/// inch (72 when it does not say), a size within a point of A4 taken as A4.
///
///     diplomaPageSize(templ)   // QSizeF(595.28, 841.89) for 1654 x 2339 at 200 dpi
QSizeF diplomaPageSize(const QImage& templ);

/// The full name a participant's image and messages are known by: surname,
/// blank, name, blank, patronymic.
///
///     fullName(d)   // "Петров Иван Сергеевич"
QString fullName(const TDiplomaData& data);

/// Draws and saves the images of one run. Participants are added in list
/// order; the progress position counts the images finished. The first failure
/// (in list order) is thrown as EDiplomaFailure; the images finished before it
/// stay, nothing after it is started. The PDF of the run is an extra: when it
/// cannot be written the images are made all the same, and pdfFailure() says why.
///
///     TDiplomaRun run(templ, folder, faces, progress);
///     for (const TDiplomaData& d : chosen)
///         run.add(d);
///     run.finish();
///     run.produced()   // chosen.size()
class TDiplomaRun {
public:
    /// A run into folder (which exists) on a copy of templ. Throws EError for
    /// a null template.
    TDiplomaRun(const QImage& templ, const QString& folder, const TDiplomaFaces& faces,
                TProgressSink& progress, int threads = 0);
    ~TDiplomaRun();

    /// Also writes the images, in list order, as the pages of one PDF file at
    /// pdfPath, each page holding the bytes of its image file as they are; it
    /// appears there only when finish() has ended without a failure. Call
    /// before the first add.
    ///
    ///     run.writePdf(CounterFileName(folder, u"Дипломы_(Физика)_"_s, u".pdf"_s));
    void writePdf(const QString& pdfPath);
    /// The PDF file written by a run that finished, empty otherwise.
    const QString& pdfFile() const { return pdfFile_; }
    /// Why the PDF file asked for could not be written ("Не удалось сохранить
    /// файл ...: ..."), empty when it was or none was asked for.
    const QString& pdfFailure() const { return pdfFailure_; }

    /// Queues the image of one participant; may wait for an earlier one to
    /// finish first (and throw its failure).
    void add(const TDiplomaData& data);
    /// Waits for every queued image and finishes the PDF file; throws the
    /// first failure among the images (a PDF that cannot be written only
    /// sets pdfFailure()).
    void finish();

    /// Ends a run short (a failure outside the images): waits for the images
    /// queued so far, which stay, and drops the PDF file. Throws the first
    /// failure among those images.
    void stop();

    /// The images finished so far.
    int produced() const { return int(files_.size()); }
    /// Their paths, in list order (after a failure, those finished after the
    /// failed one come last).
    const QStringList& files() const { return files_; }
    /// The event's folder.
    const QString& folder() const { return names_.folder(); }

private:
    void takeOne();
    void failed();
    /// The PDF cannot be written: it is dropped and the run goes on.
    void pdfFailed(const QString& reason);

    TDiplomaWriter writer_;
    TDiplomaFileNames names_;
    TProgressSink& progress_;
    std::deque<QString> queued_;  // full names of the queued images, oldest first
    QStringList files_;
    QImage templ_;
    std::unique_ptr<TJpegPdf> pdf_;
    QString pdfFile_;
    QString pdfFailure_;
};
