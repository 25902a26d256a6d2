// The text of a file that could not be opened.
#include "view/OPENFAIL.h"

std::string OpenFailureLine(const std::string& name, unsigned long error, const std::string& systemText)
{
    std::string reason;
    if (error == kOpenErrorFolder) {
        reason = "フォルダです。";
    } else {
        reason = systemText;
        // The system's texts end with a line break, which would draw as a box.
        while (!reason.empty() && (reason.back() == '\r' || reason.back() == '\n' || reason.back() == ' ')) {
            reason.pop_back();
        }
        if (reason.empty()) {
            reason = "エラー " + std::to_string(error);
        }
    }
    const std::string head = name.empty() ? std::string("開けません: ") : "「" + name + "」を開けません: ";
    return head + reason;
}
