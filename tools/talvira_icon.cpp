// Draws the program's desktop icon from its emblem, the picture of the about
// box, as PNG files laid out as an icon theme expects them:
//
//   <folder>/<size>x<size>/apps/talvira.png   for each size given
//
// Usage: talvira_icon <folder> <size>...

#include "app/Emblem.h"

#include <QDir>
#include <QImageWriter>
#include <QString>

#include <cstdio>

int main(int argc, char* argv[])
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: talvira_icon <folder> <size>...\n");
        return 2;
    }
    const QDir root(QString::fromLocal8Bit(argv[1]));
    for (int i = 2; i < argc; ++i) {
        bool ok = false;
        const int size = QString::fromLocal8Bit(argv[i]).toInt(&ok);
        if (!ok || size < 8 || size > 1024) {
            std::fprintf(stderr, "talvira_icon: \"%s\" is no icon size (8 to 1024)\n", argv[i]);
            return 2;
        }
        const QString folder = root.filePath(QStringLiteral("%1x%1/apps").arg(size));
        const QString file = QDir(folder).filePath(QStringLiteral("talvira.png"));
        QImageWriter writer(file, "png");
        if (!QDir().mkpath(folder) || !writer.write(emblemPicture(size))) {
            std::fprintf(stderr, "talvira_icon: cannot write %s: %s\n", qPrintable(file),
                         qPrintable(writer.errorString()));
            return 1;
        }
    }
    return 0;
}
