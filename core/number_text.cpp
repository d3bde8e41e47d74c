#include "core/number_text.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <system_error>

namespace quilvane {

namespace {

// Walks a text, skipping the characters that reading ignores wherever they stand.
class Cursor {
public:
    explicit Cursor(std::string_view text) : text_(text) {}

    // The next significant character, or -1 at the end.
    int Peek() {
        while (pos_ < text_.size() && IsIgnored(text_[pos_])) ++pos_;
        return pos_ < text_.size() ? static_cast<unsigned char>(text_[pos_]) : -1;
    }
    void Take() { ++pos_; }

private:
    static bool IsIgnored(char c) { return c == ' ' || c == '\t' || c == '\n'; }

    std::string_view text_;
    std::size_t pos_ = 0;
};

bool IsDigit(int c) { return c >= '0' && c <= '9'; }

int DigitValue(int c, int radix) {
    int v = -1;
    if (c >= '0' && c <= '9') v = c - '0';
    else if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
    return v < radix ? v : -1;
}

// An integer in radix 16 or 8 after the &H / &O prefix.
double ReadRadixInteger(Cursor& in, int radix) {
    double value = 0;
    for (int d; (d = DigitValue(in.Peek(), radix)) >= 0; in.Take()) value = value * radix + d;
    return value;
}

// Significant digits kept for the conversion; beyond them a sticky digit keeps the rounding
// direction right. More than any double needs.
constexpr std::size_t kMaxDigits = 800;
constexpr long long kExponentCap = 1'000'000'000'000LL;

// Value = digits × 10^exponent, with the digits an integer without leading zeros. Held on
// the stack: reading a number allocates nothing.
struct Decimal {
    char digits[kMaxDigits + 32];  // room for a sticky digit and an exponent
    std::size_t count = 0;
    long long exponent = 0;
    bool sticky = false;

    void AddDigit(int c, bool fraction) {
        if (count == 0 && c == '0') {
            if (fraction) --exponent;
            return;
        }
        if (count < kMaxDigits) {
            digits[count++] = static_cast<char>(c);
            if (fraction) --exponent;
        } else {
            sticky = sticky || c != '0';
            if (!fraction) ++exponent;
        }
    }

    // Converts digits × 10^exp10, clamping what lies outside the double range.
    double ToDouble(long long exp10) {
        if (count == 0) return 0.0;
        if (sticky) {
            digits[count++] = '1';
            --exp10;
        }
        const long long lead = exp10 + static_cast<long long>(count) - 1;
        if (lead > 310) return std::numeric_limits<double>::infinity();
        if (lead < -345) return 0.0;

        char* const end = digits + sizeof digits;
        char* p = digits + count;
        *p++ = 'e';
        p = std::to_chars(p, end, exp10).ptr;
        double value = 0;
        if (std::from_chars(digits, p, value).ec == std::errc()) return value;
        if (lead < 0) return 0.0;
        // The 15-digit text of the largest double, 1.79769313486232E+308, lies a hair above
        // it; read it (and anything up to it) as the largest double so that it reads back.
        std::string_view significant(digits, count);
        while (significant.size() > 1 && significant.back() == '0') significant.remove_suffix(1);
        if (lead == 308 && significant <= std::string_view("179769313486232")) return DBL_MAX;
        return std::numeric_limits<double>::infinity();
    }
};

long long SaturatingAdd(long long a, long long b) {
    const long long s = a + b;  // both bounded far below overflow by the caps
    return s > kExponentCap ? kExponentCap : (s < -kExponentCap ? -kExponentCap : s);
}

}  // namespace

double ReadNumber(std::string_view text) noexcept {
    Cursor in(text);
    int c = in.Peek();
    if (c == '&') {
        in.Take();
        const int kind = in.Peek();
        if (kind == 'h' || kind == 'H' || kind == 'o' || kind == 'O') {
            in.Take();
            return ReadRadixInteger(in, (kind == 'h' || kind == 'H') ? 16 : 8);
        }
        return 0.0;
    }

    bool negative = false;
    if (c == '+' || c == '-') {
        negative = c == '-';
        in.Take();
        c = in.Peek();
    }

    Decimal mantissa;
    bool anyDigit = false;
    for (; IsDigit(c); in.Take(), c = in.Peek()) {
        mantissa.AddDigit(c, false);
        anyDigit = true;
    }
    if (c == '.') {
        in.Take();
        for (c = in.Peek(); IsDigit(c); in.Take(), c = in.Peek()) {
            mantissa.AddDigit(c, true);
            anyDigit = true;
        }
    }

    long long exp10 = 0;
    if (anyDigit && (c == 'e' || c == 'E')) {
        in.Take();
        c = in.Peek();
        bool expNegative = false;
        if (c == '+' || c == '-') {
            expNegative = c == '-';
            in.Take();
            c = in.Peek();
        }
        for (; IsDigit(c); in.Take(), c = in.Peek())
            if (exp10 < kExponentCap) exp10 = exp10 * 10 + (c - '0');
        if (expNegative) exp10 = -exp10;
    }

    const long long totalExponent = SaturatingAdd(mantissa.exponent, exp10);
    const double magnitude = mantissa.ToDouble(totalExponent);
    return negative ? -magnitude : magnitude;
}

std::optional<double> ReadWholeNumber(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    std::size_t i = 0;
    const auto digits = [&] {
        const std::size_t from = i;
        while (i < text.size() && IsDigit(static_cast<unsigned char>(text[i]))) ++i;
        return i - from;
    };
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    std::size_t mantissaDigits = digits();
    if (i < text.size() && text[i] == '.') {
        ++i;
        mantissaDigits += digits();
    }
    if (mantissaDigits == 0) return std::nullopt;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
        if (digits() == 0) return std::nullopt;
    }
    if (i != text.size()) return std::nullopt;
    // The text is exactly the number ReadNumber reads.
    const double value = ReadNumber(text);
    if (!std::isfinite(value)) return std::nullopt;
    return value;
}

std::int16_t RoundToInt16(double x) {
    if (!(x > -32769.0 && x < 32768.0)) throw NumericError("value does not fit 16 bits");
    double whole = std::floor(x);
    const double fraction = x - whole;  // exact at this magnitude
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0.0)) whole += 1.0;
    if (whole < -32768.0 || whole > 32767.0) throw NumericError("value does not fit 16 bits");
    return static_cast<std::int16_t>(whole);
}

std::string IntText(std::int16_t n) {
    char buf[8];
    const auto result = std::to_chars(buf, buf + sizeof buf, static_cast<int>(n));
    return std::string(buf, result.ptr);
}

namespace {

// 15 significant digits, fixed or with an exponent of at least two digits, written into
// out (room for 24 characters); returns the end. Negative values carry their sign. A value
// of 15 or more integer digits, or below 0.0001, takes the exponent form.
char* WriteGeneral(char* out, double x) {
    if (!std::isfinite(x)) throw NumericError("value is not a finite number");
    if (x == 0) x = 0.0;  // no "-0"
    char* end = std::to_chars(out, out + 24, x, std::chars_format::general, 15).ptr;
    const auto length = static_cast<std::size_t>(end - out);
    char* e = static_cast<char*>(std::memchr(out, 'e', length));
    if (e == nullptr) {
        // %g keeps up to 15 integer digits fixed; 15 of them already take the exponent form.
        const char* point = static_cast<const char*>(std::memchr(out, '.', length));
        const char* digits = out[0] == '-' ? out + 1 : out;
        if ((point ? point : end) - digits < 15) return end;
        end = std::to_chars(out, out + 24, x, std::chars_format::scientific, 14).ptr;
        e = static_cast<char*>(std::memchr(out, 'e', static_cast<std::size_t>(end - out)));
        char* mantissaEnd = e;
        while (mantissaEnd[-1] == '0') --mantissaEnd;
        if (mantissaEnd[-1] == '.') --mantissaEnd;
        end = std::copy(e, end, mantissaEnd);
        e = mantissaEnd;
    }
    *e = 'E';
    return end;
}

}  // namespace

std::string SpacedText(double x) {
    char buf[32];
    char* const end = WriteGeneral(buf + 1, x);
    char* begin = buf + 1;
    const bool negative = *begin == '-';
    if (negative) ++begin;
    if (end - begin > 1 && begin[0] == '0' && begin[1] == '.') ++begin;  // ".5", not "0.5"
    *--begin = negative ? '-' : ' ';
    return std::string(begin, end);
}

std::string PlainText(double x) {
    char buf[32];
    return std::string(buf, WriteGeneral(buf, x));
}

std::string ExponentText(double x) {
    if (!std::isfinite(x)) throw NumericError("value is not a finite number");
    if (x == 0) return "0";
    char buf[32];
    char* end = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::scientific, 14).ptr;
    char* e = std::find(buf, end, 'e');
    char* mantissaEnd = e;
    while (mantissaEnd[-1] == '0') --mantissaEnd;
    if (mantissaEnd[-1] == '.') --mantissaEnd;
    *e = 'E';
    end = std::copy(e, end, mantissaEnd);
    return std::string(buf, end);
}

}  // namespace quilvane
