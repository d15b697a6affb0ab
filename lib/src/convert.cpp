// Conversions between unsigned decimal numbers and text, as the forms of
// the applications show coordinates, sizes and colours, and a bounded
// comparison of file names and extensions.
#include <cstring>

#include "tavrin.h"

namespace {

constexpr uint32_t most_digits_read = 9;

}  // namespace

int32_t tav_transform_str_to_num(const char *text, int32_t *number)
{
    const uint32_t n = text ? uint32_t(strnlen(text, most_digits_read)) : 0;
    // The last character read has weight 1, the one before it 10, ...
    uint32_t value = 0;
    for (uint32_t i = 0; i < n; ++i) {
        int32_t digit = 0;
        tav_transform_ascii_to_int(&digit, &text[i]);
        const uint32_t distance = n - 1 - i;
        value += uint32_t(digit) * (distance == 0 ? 1u : tav_zehnerpotenz(distance));
    }
    if (number) *number = int32_t(value);
    return int32_t(n);
}

int32_t tav_transform_num_to_str(const uint32_t *number, char *text)
{
    if (!number || !text) return 0;
    uint32_t v = *number;
    int32_t digits = 1;
    for (uint32_t rest = v / 10; rest != 0; rest /= 10) ++digits;
    text[digits] = '\0';
    for (int32_t i = digits - 1; i >= 0; --i) {
        text[i] = char('0' + v % 10);
        v /= 10;
    }
    return digits;
}

int32_t tav_transform_int_to_asccii(int32_t value, char *digit)
{
    const bool ok = value >= 0 && value <= 9;
    if (digit) *digit = char('0' + (ok ? value : 0));
    return ok ? 1 : -1;
}

int32_t tav_transform_ascii_to_int(int32_t *value, const char *digit)
{
    const bool ok = digit && *digit >= '0' && *digit <= '9';
    if (value) *value = ok ? *digit - '0' : 0;
    return ok ? 1 : -1;
}

uint32_t tav_zehnerpotenz(uint32_t n)
{
    // Exponents 0 and 1 both give 10; larger powers wrap modulo 2^32.
    uint32_t power = 10;
    for (uint32_t i = 1; i < n; ++i) power *= 10;
    return power;
}

int32_t tav_strcmp(const char *a, const char *b, uint32_t count)
{
    if (!a) a = "";
    if (!b) b = "";
    // Compares characters 0..count: 1 all equal, 2 a difference, 0 none compared.
    int32_t result = 0;
    uint32_t pos = 0;
    while (result != 2 && a[pos] != '\0' && b[pos] != '\0' && pos <= count) {
        result = a[pos] == b[pos] ? 1 : 2;
        ++pos;
    }
    if (pos >= count) return result;
    if ((a[pos] == '\0') != (b[pos] == '\0')) result = 2;
    return result;
}
