// Compiled with the engine's include root only: the engine and the grid core are
// separate libraries at the bottom, and neither may use the other.
#include "grid/core/GridTypes.h"

int main()
{
    return 0;
}
