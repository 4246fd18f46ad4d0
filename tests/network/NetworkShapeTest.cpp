#include "network/NetworkShape.h"

#include <gtest/gtest.h>

using namespace orvalis;

namespace {

NetworkShape Shape(std::initializer_list<int> units)
{
    NetworkShape shape;
    for (int u : units)
        shape.unitsPerLayer[shape.layerCount++] = u;
    return shape;
}

} // namespace

TEST(NetworkShape, WeightCount)
{
    EXPECT_EQ(Shape({20, 10, 1}).WeightCount(), 10 * 21 + 11);
    EXPECT_EQ(Shape({1, 0, 1}).WeightCount(), 1);
    EXPECT_EQ(Shape({4}).WeightCount(), 0);
}
