#include <gtest/gtest.h>
#include "core/SettingsBlock.h"
TEST(Smoke, Size) { EXPECT_EQ(qv::FactoryDefaults.size(), 270u); }
