#include "support/PdfReader.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>

using namespace Qt::Literals::StringLiterals;

QString pdfinfo(const QString& path)
{
    QProcess p;
    p.start(u"pdfinfo"_s, {path});
    if (!p.waitForFinished(30000))
        return u"pdfinfo failed: it did not end"_s;
    const QString errors = QString::fromLocal8Bit(p.readAllStandardError());
    if (p.exitCode() != 0 || !errors.isEmpty())
        return u"pdfinfo failed: "_s + errors;
    return QString::fromLocal8Bit(p.readAllStandardOutput());
}

QList<QByteArray> pdfJpegStreams(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray pdf = file.readAll();
    static const QRegularExpression dictionary(u"/Filter\\s*/DCTDecode[^>]*/Length\\s+(\\d+)[^>]*>>\\s*stream\\r?\\n"_s);
    QList<QByteArray> streams;
    // The dictionary is searched as Latin-1 text: one character per byte, so positions are byte offsets.
    const QString text = QString::fromLatin1(pdf);
    for (auto it = dictionary.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        streams << pdf.mid(m.capturedEnd(), m.captured(1).toLongLong());
    }
    return streams;
}
