#include "app/Startup.h"

#include <QApplication>

int runQuillet(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillet"));
    return 0;
}
