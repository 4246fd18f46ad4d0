// Compiled with the include root of one core library only: it must find the header
// when that library is the worksheet's and must not when it is the engine's or the
// grid core's, which sit below the worksheet.
#include "worksheet/IntegerText.h"

int main()
{
    return orvalis::ReadIntegerText("0");
}
