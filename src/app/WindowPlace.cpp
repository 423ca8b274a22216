#include "app/WindowPlace.h"

#include "core/ProfileFile.h"

#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace WindowPlace {

namespace {

    const QString Section = QStringLiteral("WINDOW");

    QString settingsPath(const QString& basedir)
    {
        return basedir + QLatin1String("/cat/settings.dat");
    }

} // namespace

Place read(const QString& basedir)
{
    const ProfileFile file(settingsPath(basedir));
    auto number = [&](const char* key) { return file.readString(Section, QString::fromLatin1(key)).toInt(); };
    Place place;
    const int width = number("WIDTH");
    const int height = number("HEIGHT");
    if (width > 0 && height > 0)
        place.normal = QRect(number("LEFT"), number("TOP"), width, height);
    place.maximized = file.readBool(Section, QStringLiteral("MAXIMIZED"));
    place.program = file.readString(Section, QStringLiteral("PROGRAM"));
    return place;
}

void write(const QString& basedir, const Place& place)
{
    QDir(basedir).mkdir(QStringLiteral("cat"));
    ProfileFile file(settingsPath(basedir));
    const std::pair<const char*, int> values[] = {
        {"LEFT", place.normal.x()},
        {"TOP", place.normal.y()},
        {"WIDTH", place.normal.width()},
        {"HEIGHT", place.normal.height()},
    };
    for (const auto& [key, value] : values)
        file.writeString(Section, QString::fromLatin1(key), QString::number(value));
    file.writeBool(Section, QStringLiteral("MAXIMIZED"), place.maximized);
    file.writeString(Section, QStringLiteral("PROGRAM"), place.program);
    file.commit();
}

Place of(const QWidget& window)
{
    return Place{window.isMaximized() ? window.normalGeometry() : window.geometry(), window.isMaximized(), {}};
}

bool restore(QWidget& window, const Place& place)
{
    if (place.normal.isEmpty())
        return false;
    // A screen that has gone since (a second monitor unplugged) does not take the window with it.
    const QScreen* screen = QGuiApplication::screenAt(place.normal.center());
    if (!screen)
        return false;
    const QSize size = place.normal.size().expandedTo(window.minimumSizeHint());
    window.setGeometry(QRect(place.normal.topLeft(), size));
    if (place.maximized)
        window.setWindowState(window.windowState() | Qt::WindowMaximized);
    return true;
}

} // namespace WindowPlace
