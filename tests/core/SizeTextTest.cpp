#include "lists/SizeText.h"
#include "util/Errors.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace vyp {
namespace {

TEST(SizeText, SixtyFourBitValuesAndErrors) {
    EXPECT_EQ(ParseSizeText("3221225472"), 3221225472LL);
    EXPECT_EQ(ParseSizeText("-5"), -5);
    EXPECT_EQ(ParseSizeText("9223372036854775807"), INT64_MAX);
    EXPECT_EQ(ParseSizeText("-9223372036854775808"), INT64_MIN);
    EXPECT_FALSE(TryParseSizeText("9223372036854775808"));
    EXPECT_FALSE(TryParseSizeText(""));
    EXPECT_FALSE(TryParseSizeText("-"));
    EXPECT_FALSE(TryParseSizeText(" 5"));
    EXPECT_FALSE(TryParseSizeText("5x"));
    EXPECT_THROW(ParseSizeText("abc"), VypisnikError);
}

} // namespace
} // namespace vyp
