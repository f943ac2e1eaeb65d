#include "config/number_text.h"

#include <gtest/gtest.h>

TEST(NumberText, Placeholder) { EXPECT_EQ(telmora::FormatTwoDecimals(4.175856), "4.18"); }
