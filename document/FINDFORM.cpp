// Byte forms of characters: the code page's own decoder run over every one-
// and two-byte sequence once, so that a character with several forms (the
// duplicate rows of code page 932) is found in each of them.
#include "document/FINDFORM.h"

#include "document/LINEDEC.h"

#include <windows.h>

#include <algorithm>
#include <memory>
#include <mutex>

namespace {

// unit -> its forms, for one code page, built on first use.
class CLSFormTable {
public:
    explicit CLSFormTable(UINT codePage) : m_uCodePage(codePage), m_forms(0x10000)
    {
        CPINFOEXW info{};
        if (GetCPInfoExW(codePage, 0, &info)) {
            m_standIn = static_cast<char16_t>(info.UnicodeDefaultChar);
        }
        for (unsigned lead = 1; lead < 256; ++lead) {
            if (!IsDBCSLeadByteEx(codePage, static_cast<BYTE>(lead))) {
                Add(std::string(1, static_cast<char>(lead)));
                continue;
            }
            for (unsigned trail = 1; trail < 256; ++trail) {
                Add(std::string{static_cast<char>(lead), static_cast<char>(trail)});
            }
        }
    }

    UINT CodePage() const { return m_uCodePage; }
    const std::vector<std::string>& FormsOf(char16_t unit) const { return m_forms[unit]; }
    char16_t StandIn() const { return m_standIn; }

private:
    void Add(const std::string& bytes)
    {
        WCHAR out[4];
        const int n = MultiByteToWideChar(m_uCodePage, 0, bytes.data(), static_cast<int>(bytes.size()), out, 4);
        if (n == 1 && out[0] != 0 && static_cast<char16_t>(out[0]) != m_standIn) {
            m_forms[static_cast<char16_t>(out[0])].push_back(bytes);
        }
    }

    UINT m_uCodePage;
    std::vector<std::vector<std::string>> m_forms;
    char16_t m_standIn = u'?';
};

// Tables stay for the run once built: a search thread may hold one while
// another asks for a second code page.
const CLSFormTable& FormTable(UINT codePage)
{
    static std::mutex s_lock;
    static std::vector<std::unique_ptr<CLSFormTable>> s_tables;
    const std::lock_guard<std::mutex> hold(s_lock);
    for (const auto& table : s_tables) {
        if (table->CodePage() == codePage) {
            return *table;
        }
    }
    s_tables.push_back(std::make_unique<CLSFormTable>(codePage));
    return *s_tables.back();
}

UINT ByteCodePage(TextEncoding encoding)
{
    const UINT codePage = CodePageOf(encoding);
    return codePage == CP_ACP ? GetACP() : codePage;
}

bool IsSurrogate(char16_t unit)
{
    return unit >= 0xD800 && unit <= 0xDFFF;
}

// A Shift-JIS pair as its JIS X 0208 row and cell; false outside the 94 x 94.
bool ShiftJisPairToJis(unsigned char s1, unsigned char s2, unsigned char* jis)
{
    int j1 = (s1 <= 0x9F ? s1 - 0x71 : s1 - 0xB1) * 2 + 1;
    int t = s2 > 0x7F ? s2 - 1 : s2;
    int j2 = 0;
    if (t >= 0x9E) {
        ++j1;
        j2 = t - 0x7D;
    } else {
        j2 = t - 0x1F;
    }
    if (j1 < 0x21 || j1 > 0x7E || j2 < 0x21 || j2 > 0x7E) {
        return false;
    }
    jis[0] = static_cast<unsigned char>(j1);
    jis[1] = static_cast<unsigned char>(j2);
    return true;
}

std::vector<std::string> EucFormsOf(char16_t unit)
{
    std::vector<std::string> forms;
    for (const std::string& sjis : FormTable(932).FormsOf(unit)) {
        const auto b = static_cast<unsigned char>(sjis[0]);
        unsigned char jis[2];
        if (sjis.size() == 1 && b < 0x80) {
            forms.push_back(sjis);
        } else if (sjis.size() == 1 && b >= 0xA1 && b <= 0xDF) {
            forms.push_back(std::string{'\x8E', static_cast<char>(b)});
        } else if (sjis.size() == 2 && ShiftJisPairToJis(b, static_cast<unsigned char>(sjis[1]), jis)) {
            forms.push_back(std::string{static_cast<char>(jis[0] | 0x80), static_cast<char>(jis[1] | 0x80)});
        }
    }
    return forms;
}

// JIS text written with its escapes: ASCII, kanji (ESC $ B) and half-width
// katakana (ESC ( I); no escape before the first character or after the
// last, so that the bytes are found inside a run as well.
std::string JisBytesOf(const std::u16string& text)
{
    enum { kAscii, kKanji, kKana } state = kAscii;
    bool first = true;
    std::string out;
    for (char16_t unit : text) {
        const std::vector<std::string>& forms = FormTable(932).FormsOf(unit);
        if (forms.empty()) {
            return std::string();
        }
        const std::string& sjis = forms.front();
        const auto b = static_cast<unsigned char>(sjis[0]);
        unsigned char jis[2];
        const bool kana = sjis.size() == 1 && b >= 0xA1 && b <= 0xDF;
        const bool kanji = sjis.size() == 2 && ShiftJisPairToJis(b, static_cast<unsigned char>(sjis[1]), jis);
        if (sjis.size() == 2 && !kanji) {
            return std::string();
        }
        const auto wanted = kanji ? kKanji : kana ? kKana : kAscii;
        if (wanted != state && !first) {
            out += wanted == kKanji ? "\x1B$B" : wanted == kKana ? "\x1B(I" : "\x1B(B";
        }
        state = wanted;
        first = false;
        if (kanji) {
            out.append(reinterpret_cast<const char*>(jis), 2);
        } else {
            out.push_back(static_cast<char>(kana ? b - 0x80 : b));
        }
    }
    return out;
}

}  // namespace

std::string TextInCodePage(const std::u16string& text, unsigned codePage)
{
    const auto* wide = reinterpret_cast<const WCHAR*>(text.data());
    const int n = WideCharToMultiByte(codePage, 0, wide, static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? static_cast<std::size_t>(n) : 0, '\0');
    if (n > 0) {
        WideCharToMultiByte(codePage, 0, wide, static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    }
    return out;
}

std::vector<std::string> ByteFormsOf(char16_t unit, TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Utf16Le:
        return {std::string{static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)}};
    case TextEncoding::Utf16Be:
        return {std::string{static_cast<char>(unit >> 8), static_cast<char>(unit & 0xFF)}};
    case TextEncoding::Utf8: {
        if (IsSurrogate(unit)) {
            return {};
        }
        return {TextInCodePage(std::u16string(1, unit), CP_UTF8)};
    }
    case TextEncoding::Euc:
        return EucFormsOf(unit);
    case TextEncoding::Jis:
    case TextEncoding::Utf7:
        return {};
    default:
        return FormTable(ByteCodePage(encoding)).FormsOf(unit);
    }
}

bool IsStandInUnit(char16_t unit, TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Utf16Le:
    case TextEncoding::Utf16Be:
        return false;
    case TextEncoding::Utf8:
        return unit == 0xFFFD || IsSurrogate(unit);
    default:
        return unit == u'?' || unit == FormTable(ByteCodePage(encoding)).StandIn() || IsSurrogate(unit);
    }
}

std::vector<char16_t> CaselessVariants(char16_t folded, FoldTable fold)
{
    if (fold == nullptr) {
        return {folded};
    }
    std::vector<char16_t> variants;
    for (unsigned u = 0; u < 0x10000; ++u) {
        if (fold[u] == folded) {
            variants.push_back(static_cast<char16_t>(u));
        }
    }
    return variants;
}

namespace {

// The byte sets of one unit of a text search, or false when the unit cannot
// anchor a filter (a stand-in, no form at all, or forms of several lengths).
bool UnitSets(char16_t folded, TextEncoding encoding, FoldTable fold, std::vector<std::vector<unsigned char>>& sets)
{
    sets.clear();
    for (char16_t variant : CaselessVariants(folded, fold)) {
        if (IsStandInUnit(variant, encoding)) {
            return false;
        }
        for (const std::string& form : ByteFormsOf(variant, encoding)) {
            if (sets.empty()) {
                sets.resize(form.size());
            }
            if (form.size() != sets.size()) {
                return false;
            }
            for (std::size_t i = 0; i < form.size(); ++i) {
                sets[i].push_back(static_cast<unsigned char>(form[i]));
            }
        }
    }
    return !sets.empty();
}

}  // namespace

bool BuildTextFilter(const std::u16string& segment, TextEncoding encoding, FoldTable fold, CLSByteFilter& filter)
{
    switch (encoding) {
    case TextEncoding::ShiftJis:
    case TextEncoding::Binary:
    case TextEncoding::Utf8:
    case TextEncoding::Utf16Le:
    case TextEncoding::Utf16Be:
        break;
    default:
        return false;  // bytes that depend on what came before (or EUC's 3-byte forms)
    }
    std::vector<std::vector<unsigned char>> best;
    std::vector<std::vector<unsigned char>> run;
    std::vector<std::vector<unsigned char>> unit;
    for (std::size_t i = 0; i <= segment.size(); ++i) {
        const bool usable = i < segment.size() && UnitSets(segment[i], encoding, fold, unit);
        if (usable && run.size() < CLSByteFilter::kMaxPositions) {
            run.insert(run.end(), unit.begin(), unit.end());
            continue;
        }
        if (run.size() > best.size()) {
            best.swap(run);
        }
        run.clear();
        if (usable) {
            run = unit;
        }
    }
    if (best.empty()) {
        return false;
    }
    filter = CLSByteFilter();
    for (std::size_t i = 0; i < best.size() && i < CLSByteFilter::kMaxPositions; ++i) {
        filter.AddPosition(best[i]);
    }
    return true;
}

namespace {

// A character outside the Basic Multilingual Plane is two units; it exists
// only in the Unicode encodings, and is written there whole: UTF-8 as one
// 4-byte sequence, UTF-16 as its two units.
bool HasWholeSurrogatePairsOnly(const std::u16string& text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!IsSurrogate(text[i])) {
            continue;
        }
        const bool high = text[i] < 0xDC00;
        if (!high || i + 1 >= text.size() || !(text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF)) {
            return false;
        }
        ++i;
    }
    return true;
}

void AppendSingleByteSets(const std::string& bytes, std::vector<std::vector<unsigned char>>& sets)
{
    for (char b : bytes) {
        sets.push_back({static_cast<unsigned char>(b)});
    }
}

}  // namespace

std::vector<std::vector<unsigned char>> EncodeQueryBytes(const std::u16string& text, TextEncoding encoding,
                                                         FoldTable fold)
{
    std::vector<std::vector<unsigned char>> sets;
    const bool pairs = std::any_of(text.begin(), text.end(), IsSurrogate);
    const bool unicode = encoding == TextEncoding::Utf8 || encoding == TextEncoding::Utf16Le ||
                         encoding == TextEncoding::Utf16Be || encoding == TextEncoding::Utf7;
    if (pairs && (!unicode || !HasWholeSurrogatePairsOnly(text))) {
        return {};  // no such bytes in this encoding
    }
    if (encoding == TextEncoding::Jis || encoding == TextEncoding::Utf7) {
        AppendSingleByteSets(encoding == TextEncoding::Jis ? JisBytesOf(text) : TextInCodePage(text, CP_UTF7), sets);
        return sets;
    }
    for (std::size_t k = 0; k < text.size(); ++k) {
        const char16_t unit = text[k];
        if (encoding == TextEncoding::Utf8 && IsSurrogate(unit)) {
            AppendSingleByteSets(TextInCodePage(text.substr(k, 2), CP_UTF8), sets);
            ++k;
            continue;
        }
        const std::vector<std::string> own = ByteFormsOf(unit, encoding);
        if (own.empty()) {
            return {};
        }
        const std::size_t base = sets.size();
        sets.resize(base + own.front().size());
        for (char16_t variant : CaselessVariants(FoldUnit(fold, unit), fold)) {
            for (const std::string& form : ByteFormsOf(variant, encoding)) {
                for (std::size_t i = 0; form.size() == own.front().size() && i < form.size(); ++i) {
                    sets[base + i].push_back(static_cast<unsigned char>(form[i]));
                }
            }
        }
    }
    return sets;
}
