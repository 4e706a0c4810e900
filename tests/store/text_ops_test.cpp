#include <gtest/gtest.h>
#include <limits>

#include "store/text_ops.h"

namespace {

TEST(TextOps, DecimalText) {
    const struct {
        int64_t value;
        const wchar_t* text;
    } cases[] = {
        {0, L"0"},
        {7, L"7"},
        {-7, L"-7"},
        {1234567890123, L"1234567890123"},
        {std::numeric_limits<int64_t>::max(), L"9223372036854775807"},
        {std::numeric_limits<int64_t>::min(), L"-9223372036854775808"},
    };
    for (const auto& c : cases) EXPECT_EQ(DecimalText(c.value), c.text) << c.value;
}

TEST(TextOps, FieldOf) {
    const struct {
        const wchar_t* text;
        int32_t n;
        wchar_t separator;
        const wchar_t* field;
    } cases[] = {
        {L"32, 32, 32", 1, L',', L"32"},
        {L"32, 32, 32", 2, L',', L" 32"},
        {L"32, 32, 32", 3, L',', L" 32"},
        {L"32, 32, 32", 4, L',', L""},
        {L"32, 32, 32", 0, L',', L""},
        {L"32, 32, 32", -1, L',', L""},
        {L"Link 1 = C:\\x", 2, L'=', L" C:\\x"},
        {L"a=b=c", 2, L'=', L"b"},
        {L"a=", 2, L'=', L""},
        {L"abc", 2, L'=', L""},
        {L"abc", 1, L'=', L"abc"},
        {L"", 1, L'=', L""},
        {L",x", 1, L',', L""},
        {L",x", 2, L',', L"x"},
        {L"a,,c", 2, L',', L""},
        {L"a,,c", 3, L',', L"c"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FieldOf(c.text, c.n, c.separator), c.field) << c.text << " field " << c.n;
    }
}

TEST(TextOps, IntegerOf) {
    const struct {
        const wchar_t* text;
        int64_t value;
    } cases[] = {
        {L" 32", 32},
        {L"\t 9", 9},
        {L"$FF", 255},
        {L"$ff", 255},
        {L"%101", 5},
        {L"%102", 2},
        {L"12abc", 12},
        {L"abc", 0},
        {L"", 0},
        {L"- 5", 0},
        {L"-5", -5},
        {L"+7", 7},
        {L"-$10", -16},
        {L"$G", 0},
        {L"%", 0},
        {L"0x10", 0},
        {L"3.9", 3},
        {L"9223372036854775807", std::numeric_limits<int64_t>::max()},
        // 64-bit two's complement, wrapping without a test
        {L"9223372036854775808", std::numeric_limits<int64_t>::min()},
        {L"18446744073709551617", 1},
        {L"$FFFFFFFFFFFFFFFF", -1},
    };
    for (const auto& c : cases) EXPECT_EQ(IntegerOf(c.text), c.value) << c.text;
}

TEST(TextOps, TrimmedRemovesOnlyBlanks) {
    const struct {
        const wchar_t* text;
        const wchar_t* trimmed;
    } cases[] = {
        {L"  a b  ", L"a b"},
        {L"\ta \t", L"\ta \t"},
        {L" \tx", L"\tx"},
        {L"   ", L""},
        {L"", L""},
        {L"\u00A0x\u00A0", L"\u00A0x\u00A0"},
    };
    for (const auto& c : cases) EXPECT_EQ(Trimmed(c.text), c.trimmed) << c.text;
}

TEST(TextOps, ColorTextLeavesOutAlpha) {
    EXPECT_EQ(ColorText(0xFF202020), L"32, 32, 32");
    EXPECT_EQ(ColorText(0x00FF8001), L"1, 128, 255");
    EXPECT_EQ(ColorText(0), L"0, 0, 0");
}

}  // namespace
