// The PDF of JPEG pictures: the frame header read from the bytes, one page per
// picture holding its bytes unchanged, pages that poppler reads and draws, and
// the failures that leave no file.

#include "data/Errors.h"
#include "export/JpegPdf.h"
#include "support/PdfReader.h"

#include <QBuffer>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

namespace {

const QSizeF A4(595.28, 841.89);

QByteArray encoded(const QImage& image, const char* format = "JPEG")
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, 90);
    return bytes;
}

QImage filled(int w, int h, QRgb colour, QImage::Format format = QImage::Format_RGB32)
{
    QImage image(w, h, format);
    image.fill(colour);
    return image;
}

} // namespace

class TestJpegPdf : public QObject {
    Q_OBJECT

private slots:
    void frameHeader_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("width");  // 0: no JPEG
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("components");
        const QByteArray colour = encoded(filled(331, 468, qRgb(200, 40, 40)));
        QTest::newRow("colour") << colour << 331 << 468 << 3;
        QTest::newRow("grey") << encoded(filled(40, 30, 0, QImage::Format_Grayscale8)) << 40 << 30 << 1;
        QTest::newRow("cut before the frame") << colour.left(20) << 0 << 0 << 0;
        QTest::newRow("png") << encoded(filled(4, 4, 0), "PNG") << 0 << 0 << 0;
        QTest::newRow("empty") << QByteArray() << 0 << 0 << 0;
    }
    void frameHeader()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, components);
        const std::optional<TJpegInfo> info = jpegInfo(bytes);
        QCOMPARE(info.has_value(), width > 0);
        if (info) {
            QCOMPARE(info->width, width);
            QCOMPARE(info->height, height);
            QCOMPARE(info->components, components);
        }
    }

    // Three pictures of different sizes, grey and colour: three A4 pages that
    // hold the bytes as they were given, and poppler draws each page from its
    // own picture over the whole page.
    void pagesHoldTheBytes()
    {
        QTemporaryDir dir;
        const QString path = dir.path() + u"/Дипломы.pdf"_s;
        const QList<QByteArray> pictures{encoded(filled(331, 468, qRgb(200, 40, 40))),
                                         encoded(filled(165, 234, qRgb(40, 40, 200))),
                                         encoded(filled(100, 141, qRgb(128, 128, 128), QImage::Format_Grayscale8))};
        {
            TJpegPdf pdf(path, A4, u"АИС \"Тальвира\""_s);
            for (const QByteArray& p : pictures)
                pdf.addPage(p);
            QCOMPARE(pdf.pages(), 3);
            QVERIFY(!QFile::exists(path));  // not before commit
            pdf.commit();
        }
        const QString info = pdfinfo(path);
        QVERIFY2(info.contains(QRegularExpression(u"Pages:\\s+3\\n"_s)), qPrintable(info));
        QVERIFY2(info.contains(QRegularExpression(u"Page size:\\s+595.28 x 841.89 pts \\(A4\\)"_s)), qPrintable(info));
        QVERIFY2(info.contains(u"АИС \"Тальвира\""_s), qPrintable(info));
        QCOMPARE(pdfJpegStreams(path), pictures);

        QProcess render;
        render.start(u"pdftoppm"_s, {u"-r"_s, u"10"_s, u"-png"_s, path, dir.path() + u"/page"_s});
        QVERIFY(render.waitForFinished(30000) && render.exitCode() == 0);
        const QRgb expected[] = {qRgb(200, 40, 40), qRgb(40, 40, 200), qRgb(128, 128, 128)};
        for (int page = 1; page <= 3; ++page) {
            const QImage shown(dir.path() + u"/page-%1.png"_s.arg(page));
            QCOMPARE(shown.size(), QSize(83, 117));  // A4 at 10 dots per inch
            for (const QPoint at : {QPoint(1, 1), QPoint(41, 58), QPoint(81, 115)}) {
                const QRgb p = shown.pixel(at), e = expected[page - 1];
                QVERIFY2(qAbs(qRed(p) - qRed(e)) + qAbs(qGreen(p) - qGreen(e)) + qAbs(qBlue(p) - qBlue(e)) < 30,
                         qPrintable(u"page %1 at %2,%3"_s.arg(page).arg(at.x()).arg(at.y())));
            }
        }
    }

    // A picture that is no JPEG, a file that cannot be made: the error names
    // the file, and nothing is left under its name.
    void failures()
    {
        QTemporaryDir dir;
        const QString path = dir.path() + u"/a.pdf"_s;
        {
            TJpegPdf pdf(path, A4);
            pdf.addPage(encoded(filled(10, 10, 0)));
            try {
                pdf.addPage("not a picture");
                QFAIL("no error");
            } catch (const EExportError& e) {
                QVERIFY2(e.message().contains(u"a.pdf"_s) && e.message().contains(u"страница 2"_s), qPrintable(e.message()));
            }
        }
        QVERIFY(!QFile::exists(path));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{});
        try {
            TJpegPdf missing(dir.path() + u"/нет/b.pdf"_s, A4);
            QFAIL("no error");
        } catch (const EExportError& e) {
            QVERIFY2(e.message().startsWith(u"Не удалось сохранить файл"_s) && e.message().contains(u"b.pdf"_s),
                     qPrintable(e.message()));
        }
    }
};

QTEST_MAIN(TestJpegPdf)
#include "test_jpeg_pdf.moc"
