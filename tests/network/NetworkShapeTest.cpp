#include "network/NetworkShape.h"

#include "support/ShapeOf.h"

#include <gtest/gtest.h>

using namespace orvalis;
using testsupport::ShapeOf;

TEST(NetworkShape, WeightCount)
{
    EXPECT_EQ(ShapeOf({20, 10, 1}).WeightCount(), 10 * 21 + 11);
    EXPECT_EQ(ShapeOf({1, 0, 1}).WeightCount(), 1);
    EXPECT_EQ(ShapeOf({4}).WeightCount(), 0);
}
