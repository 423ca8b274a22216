// Settings: the SMTP server, sender, proxy and port of the Check / Options page.
#include "app/TForm1.h"

void TForm1::getsettings() { }

void TForm1::savesettings() { }

void TForm1::FormShow() { }

void TForm1::FormClose() { }

void TForm1::settingsExit() { }
