#pragma once

#include <QString>

// The one table of Windows Sockets and resolver codes with their texts. The socket layer and the
// mail client word some codes differently (each as its users have always read it): both wordings
// live side by side here.
namespace SocketErrorTexts {

// The socket layer's text ("Connection refused"); empty for a code it has none for.
QString socketLayer(int code);
// The mail client's text for the same code; empty for a code it has none for.
QString mailClient(int code);

} // namespace SocketErrorTexts
