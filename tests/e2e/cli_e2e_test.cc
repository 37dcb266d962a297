#include <gtest/gtest.h>

TEST(CliEndToEnd, Placeholder) {}
