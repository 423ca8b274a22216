#include "app/GrowingControls.h"

#include <cmath>

void GrowingControls::add(QWidget* control, Share share)
{
    m_entries.append(Entry{control, control->geometry(), share});
}

void GrowingControls::apply(QSize extra) const
{
    // A window is never smaller than its designed size, so no control shrinks below its own.
    const double dx = std::max(0, extra.width());
    const double dy = std::max(0, extra.height());
    auto part = [](double share, double room) { return static_cast<int>(std::lround(share * room)); };
    for (const Entry& e : m_entries) {
        if (!e.control)
            continue;
        e.control->setGeometry(e.designed.x() + part(e.share.moveX, dx), e.designed.y() + part(e.share.moveY, dy),
            e.designed.width() + part(e.share.growX, dx), e.designed.height() + part(e.share.growY, dy));
    }
}
