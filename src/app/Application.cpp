#include "app/Application.h"

#include "ui/ErrorDisplay.h"

using namespace Qt::Literals::StringLiterals;

TApplication::TApplication(int& argc, char** argv)
    : QApplication(argc, argv)
{
    setApplicationName(u"talvira"_s);
    setApplicationVersion(u"3.0.0.5"_s);
}

bool TApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        ShowException(e);
        return false;
    }
}
