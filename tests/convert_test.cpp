// Number and string conversions: decimal text to number and back, single
// digits, powers of ten and the bounded comparison of names.
#include <gtest/gtest.h>

#include <cstring>

#include "tavrin.h"

namespace {

int32_t read_number(const char *text, int32_t *count = nullptr)
{
    int32_t value = -1;
    int32_t n = tav_transform_str_to_num(text, &value);
    if (count) *count = n;
    return value;
}

std::string write_number(uint32_t value, int32_t *digits = nullptr)
{
    char text[11];
    std::memset(text, '#', sizeof text);
    int32_t d = tav_transform_num_to_str(&value, text);
    if (digits) *digits = d;
    return text;
}

}  // namespace

TEST(ConvertText, DigitsAreReadUpToNine)
{
    int32_t n = 0;
    EXPECT_EQ(read_number("007", &n), 7);
    EXPECT_EQ(n, 3);
    EXPECT_EQ(read_number("1234567890", &n), 123456789);
    EXPECT_EQ(n, 9);
    EXPECT_EQ(read_number("", &n), 0);
    EXPECT_EQ(n, 0);
    EXPECT_EQ(read_number("5", &n), 5);
    // Other characters count as the digit 0.
    EXPECT_EQ(read_number("-12"), 12);
    EXPECT_EQ(read_number("1a2"), 102);
    EXPECT_EQ(read_number("999999999"), 999999999);
}

TEST(ConvertText, NumbersAreWrittenWithoutLeadingZeros)
{
    int32_t d = 0;
    EXPECT_EQ(write_number(0, &d), "0");
    EXPECT_EQ(d, 1);
    EXPECT_EQ(write_number(10, &d), "10");
    EXPECT_EQ(d, 2);
    EXPECT_EQ(write_number(100), "100");
    EXPECT_EQ(write_number(99999999, &d), "99999999");
    EXPECT_EQ(d, 8);
    EXPECT_EQ(write_number(1000000000u, &d), "1000000000");
    EXPECT_EQ(d, 10);
    EXPECT_EQ(write_number(4294967295u, &d), "4294967295");
    // Writing and reading back agree for every number of up to 9 digits.
    for (uint32_t v : {1u, 42u, 640u, 65535u, 123456789u}) EXPECT_EQ(read_number(write_number(v).c_str()), int32_t(v));
}

TEST(ConvertText, SingleDigits)
{
    char c = '#';
    EXPECT_EQ(tav_transform_int_to_asccii(7, &c), 1);
    EXPECT_EQ(c, '7');
    EXPECT_EQ(tav_transform_int_to_asccii(10, &c), -1);
    EXPECT_EQ(c, '0');
    EXPECT_EQ(tav_transform_int_to_asccii(-1, &c), -1);
    int32_t v = -5;
    EXPECT_EQ(tav_transform_ascii_to_int(&v, "9"), 1);
    EXPECT_EQ(v, 9);
    EXPECT_EQ(tav_transform_ascii_to_int(&v, "x"), -1);
    EXPECT_EQ(v, 0);
}

TEST(ConvertText, PowersOfTen)
{
    EXPECT_EQ(tav_zehnerpotenz(0), 10u);
    EXPECT_EQ(tav_zehnerpotenz(1), 10u);
    EXPECT_EQ(tav_zehnerpotenz(2), 100u);
    EXPECT_EQ(tav_zehnerpotenz(9), 1000000000u);
    EXPECT_EQ(tav_zehnerpotenz(10), 1410065408u);  // 10^10 modulo 2^32
}

TEST(ConvertCompare, BoundedComparison)
{
    EXPECT_EQ(tav_strcmp("tav", "tav", 2), 1);
    EXPECT_EQ(tav_strcmp("tav", "taw", 2), 2);
    EXPECT_EQ(tav_strcmp("ta", "tav", 2), 1);   // ends exactly at the count
    EXPECT_EQ(tav_strcmp("t", "tav", 2), 2);
    EXPECT_EQ(tav_strcmp("", "", 2), 0);
    EXPECT_EQ(tav_strcmp("", "a", 0), 0);
    EXPECT_EQ(tav_strcmp("xav", "tav", 2), 2);
    // Only characters 0..count are compared.
    EXPECT_EQ(tav_strcmp("tavX", "tavY", 2), 1);
    EXPECT_EQ(tav_strcmp("font.ttf", "font.ttf", 64), 1);
    EXPECT_EQ(tav_strcmp("font.ttf", "font.ttc", 64), 2);
    EXPECT_EQ(tav_strcmp("font", "font.ttf", 64), 2);
}
