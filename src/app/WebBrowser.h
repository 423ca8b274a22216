#pragma once

#include <QString>

#include <functional>

// Opens web addresses in the desktop's default browser.
namespace WebBrowser {

// Starts the browser; returns false when it could not be started.
using Launcher = std::function<bool(const QString& address)>;

// Hands the address to the browser. Raises "Couldn't launch default browser" when it cannot be started.
void open(const QString& address);
// Hands the address to the browser; false when it could not be started.
bool tryOpen(const QString& address);

// Replaces the launcher (tests record addresses instead of starting a browser); returns the old one.
Launcher setLauncher(Launcher launcher);

} // namespace WebBrowser
