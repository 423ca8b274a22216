// The submission run and its controls.
#include "app/TForm1.h"

void TForm1::submitClick() { }

void TForm1::skipClick() { }

void TForm1::cancelClick() { }

void TForm1::HTTP1StartTransfer() { }

void TForm1::HTTP1Transfer(qint64, const QByteArray&) { }

void TForm1::HTTP1EndTransfer() { }
