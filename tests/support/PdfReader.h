#pragma once
// Reading back a PDF file in a test: what poppler's pdfinfo says about it, and
// the bytes of its JPEG pictures as the file holds them.

#include <QByteArray>
#include <QList>
#include <QString>

/// The output of pdfinfo for the file; "pdfinfo failed: ..." with its error
/// text when it fails or complains on its error output.
///
///     QVERIFY(pdfinfo(path).contains(u"Pages:           3"_s));
QString pdfinfo(const QString& path);

/// The streams of the file's DCT-coded pictures, in the order the file holds
/// them, each exactly the bytes between "stream" and "endstream" as /Length
/// gives them.
///
///     QCOMPARE(pdfJpegStreams(path).at(0), jpegBytesOfPage1);
QList<QByteArray> pdfJpegStreams(const QString& path);
