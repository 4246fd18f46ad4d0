#include "network/RandomGenerator.h"

namespace orvalis {

RandomGenerator& RandomGenerator::Process()
{
    static RandomGenerator generator(DefaultSeed);
    return generator;
}

} // namespace orvalis
