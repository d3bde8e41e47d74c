// The clock texts on Windows: the user's own short date and long time formats
// (GetLocaleInfoEx), written with GetDateFormatEx and GetTimeFormatEx, and read back by the
// same format pictures.
#include <windows.h>

#include <array>
#include <cwctype>
#include <optional>
#include <string_view>

#include "core/clock_platform.h"

namespace quilvane::clock_platform {

namespace {

std::string Utf8(std::wstring_view text) {
    if (text.empty()) return std::string();
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
    return out;
}

std::wstring Wide(std::string_view text) {
    if (text.empty()) return std::wstring();
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size);
    return out;
}

std::string LocaleInfo(LCTYPE what) {
    wchar_t buf[128];
    const int n = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, what, buf, 128);
    return n > 1 ? Utf8(std::wstring_view(buf, static_cast<std::size_t>(n - 1))) : std::string();
}

SYSTEMTIME ToSystemTime(const std::tm& tm) {
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(tm.tm_year + 1900);
    st.wMonth = static_cast<WORD>(tm.tm_mon + 1);
    st.wDay = static_cast<WORD>(tm.tm_mday);
    st.wDayOfWeek = static_cast<WORD>(tm.tm_wday);
    st.wHour = static_cast<WORD>(tm.tm_hour);
    st.wMinute = static_cast<WORD>(tm.tm_min);
    st.wSecond = static_cast<WORD>(tm.tm_sec);
    return st;
}

std::wstring Format(bool datePart, const std::wstring& picture, const SYSTEMTIME& st) {
    wchar_t buf[256];
    const int n = datePart ? GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &st, picture.c_str(), buf, 256, nullptr)
                           : GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &st, picture.c_str(), buf, 256);
    return n > 1 ? std::wstring(buf, static_cast<std::size_t>(n - 1)) : std::wstring();
}

// One element of a format picture: a field (a run of one letter) or literal text.
struct Element {
    wchar_t letter = 0;  // d M y g h H m s t, or 0 for literal text
    int count = 0;
    std::wstring literal;
};

std::vector<Element> Elements(const std::wstring& picture) {
    std::vector<Element> out;
    for (std::size_t i = 0; i < picture.size();) {
        const wchar_t c = picture[i];
        if (std::wstring_view(L"dMygHhmst").find(c) != std::wstring_view::npos) {
            std::size_t j = i;
            while (j < picture.size() && picture[j] == c) ++j;
            out.push_back({c, static_cast<int>(j - i), {}});
            i = j;
            continue;
        }
        std::wstring literal;
        if (c == L'\'') {
            // Quoted text; two quotes stand for one.
            for (++i; i < picture.size(); ++i) {
                if (picture[i] == L'\'') {
                    if (i + 1 < picture.size() && picture[i + 1] == L'\'') {
                        literal += L'\'';
                        ++i;
                        continue;
                    }
                    ++i;
                    break;
                }
                literal += picture[i];
            }
        } else {
            literal += c;
            ++i;
        }
        if (!out.empty() && out.back().letter == 0) out.back().literal += literal;
        else out.push_back({0, 0, literal});
    }
    return out;
}

// The texts a name field can take, each with its value: month names (1-12), weekday names,
// the AM and PM designators (0 and 12), the era.
std::vector<std::pair<std::wstring, int>> Names(const Element& e) {
    std::vector<std::pair<std::wstring, int>> names;
    const std::wstring picture(static_cast<std::size_t>(e.count), e.letter);
    SYSTEMTIME st{};
    st.wYear = 2026;
    st.wDay = 1;
    if (e.letter == L'M') {
        for (int m = 1; m <= 12; ++m) {
            st.wMonth = static_cast<WORD>(m);
            // The form a month takes beside a day number, as short dates write it.
            names.emplace_back(Format(true, picture, st), m);
        }
    } else if (e.letter == L'd') {
        st.wMonth = 3;  // 1 to 7 March 2026 are Sunday to Saturday
        for (int d = 1; d <= 7; ++d) {
            st.wDay = static_cast<WORD>(d);
            st.wDayOfWeek = static_cast<WORD>(d - 1);
            names.emplace_back(Format(true, picture, st), d - 1);
        }
    } else if (e.letter == L't') {
        st.wMonth = 1;
        for (int h : {1, 13}) {
            st.wHour = static_cast<WORD>(h);
            names.emplace_back(Format(false, picture, st), h - 1);
        }
    } else if (e.letter == L'g') {
        st.wMonth = 1;
        names.emplace_back(Format(true, picture, st), 0);
    }
    return names;
}

// Reads the whole text by the picture into tm; false where it does not match.
bool ReadPicture(const std::wstring& picture, std::wstring_view text, std::tm& tm) {
    int hour12 = -1, pm = -1;
    for (const Element& e : Elements(picture)) {
        if (e.letter == 0) {
            if (text.substr(0, e.literal.size()) != e.literal) return false;
            text.remove_prefix(e.literal.size());
            continue;
        }
        const bool name = (e.letter == L'M' || e.letter == L'd') ? e.count >= 3 : (e.letter == L't' || e.letter == L'g');
        if (name) {
            // The longest name that the text begins with.
            std::size_t best = 0;
            int value = -1;
            for (const auto& [n, v] : Names(e))
                if (!n.empty() && n.size() > best && text.substr(0, n.size()) == n) {
                    best = n.size();
                    value = v;
                }
            if (value < 0) return false;
            text.remove_prefix(best);
            if (e.letter == L'M') tm.tm_mon = value - 1;
            if (e.letter == L't') pm = value;
            continue;
        }
        // A number: as many digits as the field has, or up to two for a one-letter field.
        const std::size_t most = e.letter == L'y' ? (e.count <= 2 ? 2 : static_cast<std::size_t>(e.count)) : 2;
        std::size_t n = 0;
        int value = 0;
        while (n < most && n < text.size() && std::iswdigit(text[n])) value = value * 10 + (text[n++] - L'0');
        if (n == 0 || (e.count >= 2 && e.letter != L'y' && n != 2) || (e.letter == L'y' && e.count >= 3 && n != most))
            return false;
        text.remove_prefix(n);
        switch (e.letter) {
        case L'd': tm.tm_mday = value; break;
        case L'M': tm.tm_mon = value - 1; break;
        case L'y': tm.tm_year = (e.count <= 2 ? 2000 + value : value) - 1900; break;
        case L'H': tm.tm_hour = value; break;
        case L'h': hour12 = value; break;
        case L'm': tm.tm_min = value; break;
        case L's': tm.tm_sec = value; break;
        default: return false;
        }
    }
    if (hour12 >= 0) {
        if (pm < 0 || hour12 < 1 || hour12 > 12) return false;
        tm.tm_hour = hour12 % 12 + pm;
    }
    return text.empty();
}

// The same date picture with a four-digit year, so that 2069 does not read back as 1969.
std::string FourDigitYear(const std::string& picture) {
    std::string out;
    for (std::size_t i = 0; i < picture.size();) {
        if (picture[i] == 'y') {
            std::size_t j = i;
            while (j < picture.size() && picture[j] == 'y') ++j;
            out += j - i <= 2 ? "yyyy" : picture.substr(i, j - i);
            i = j;
        } else {
            out += picture[i++];
        }
    }
    return out;
}

}  // namespace

std::string LocaleKey() {
    return LocaleInfo(LOCALE_SNAME) + "|" + LocaleInfo(LOCALE_SSHORTDATE) + "|" + LocaleInfo(LOCALE_STIMEFORMAT);
}

std::vector<ClockPatterns> Candidates() {
    const std::string date = LocaleInfo(LOCALE_SSHORTDATE);
    const std::string time = LocaleInfo(LOCALE_STIMEFORMAT);
    const std::string date4 = FourDigitYear(date);
    const std::string clock24 = "HH:mm:ss";
    return {{date, time, true, {}},     {date4, time, false, {}},       {date, clock24, false, {}},
            {date4, clock24, false, {}}, {"yyyy-MM-dd", clock24, false, {}}};
}

std::string Write(const ClockPatterns& p, bool datePart, const std::tm& tm) {
    return Utf8(Format(datePart, Wide(datePart ? p.date : p.time), ToSystemTime(tm)));
}

bool Read(const ClockPatterns& p, bool withTime, const std::string& text, std::tm& tm) {
    tm = std::tm{};
    tm.tm_isdst = -1;
    const std::wstring wide = Wide(text);
    if (!withTime) return ReadPicture(Wide(p.date), wide, tm);
    // The date, one blank, the time: each part by its own picture, split at each blank.
    const std::wstring date = Wide(p.date), time = Wide(p.time);
    for (std::size_t blank = wide.find(L' '); blank != std::wstring::npos; blank = wide.find(L' ', blank + 1)) {
        std::tm t{};
        t.tm_isdst = -1;
        if (ReadPicture(date, std::wstring_view(wide).substr(0, blank), t) &&
            ReadPicture(time, std::wstring_view(wide).substr(blank + 1), t)) {
            tm = t;
            return true;
        }
    }
    return false;
}

Moment Now() {
    SYSTEMTIME st;
    GetLocalTime(&st);
    using namespace std::chrono;
    const year_month_day ymd{year{st.wYear}, month{st.wMonth}, day{st.wDay}};
    return local_days{ymd} + hours{st.wHour} + minutes{st.wMinute} + seconds{st.wSecond};
}

}  // namespace quilvane::clock_platform
