// Status bar texts and part edges.
#include "app/BARTEXT.h"

#include <cstdio>

namespace {

// The usual widths of parts 1 to 4, right to left from the size grip; part 0
// takes the rest.
constexpr int kSizeWidth = 90;
constexpr int kEncodingWidth = 56;
constexpr int kCaretWidth = 70;
constexpr int kTypeWidth = 200;

int AtLeast(int usual, int needed)
{
    return needed > usual ? needed : usual;
}

}  // namespace

void StatusPartEdges(int clientWidth, int barHeight, int (&edges)[kStatusPartCount], const StatusWidths& needed)
{
    edges[4] = clientWidth - barHeight;
    edges[3] = edges[4] - AtLeast(kSizeWidth, needed.size);
    edges[2] = edges[3] - AtLeast(kEncodingWidth, needed.encoding);
    edges[1] = edges[2] - AtLeast(kCaretWidth, needed.caret);
    edges[0] = edges[1] - kTypeWidth;
}

std::string CaretText(int line, int column)
{
    char text[32];
    std::snprintf(text, sizeof(text), "\t%5d:%-5d", line + 1, column + 1);
    return text;
}

std::string PictureText(int width, int height, int percent)
{
    char text[64];
    std::snprintf(text, sizeof(text), "\t%d × %d  %d%%", width, height, percent);
    return text;
}

const char* EncodingLabel(std::uint32_t encoding)
{
    static const char* const kLabels[] = {"", "BIN", "SJIS", "JIS", "EUC", "UTF16LE", "UTF16BE", "UTF8", "UTF7"};
    return encoding < sizeof(kLabels) / sizeof(kLabels[0]) ? kLabels[encoding] : "";
}

std::string SizeText(std::uint64_t size)
{
    static const std::uint64_t kUnits[] = {1000000000, 1000000, 1000};
    std::string text = "\t\t";
    char digits[32];
    bool grouped = false;
    for (const std::uint64_t unit : kUnits) {
        if (!grouped && unit > size) {
            continue;
        }
        const unsigned long long quotient = size / unit;
        std::snprintf(digits, sizeof(digits), grouped ? "%03llu," : "%llu,", quotient);
        text += digits;
        size %= unit;
        grouped = true;
    }
    std::snprintf(digits, sizeof(digits), grouped ? "%03llu" : "%llu", static_cast<unsigned long long>(size));
    text += digits;
    text += "バイト";
    return text;
}
