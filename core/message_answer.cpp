#include "core/message_answer.h"

namespace core {

namespace {

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

std::string keyName(const char* stem, int number, const char* suffix) {
    return std::string(stem) + std::to_string(number) + suffix;
}

} // namespace

std::string extractAnswerValue(std::string_view body, std::string_view key) {
    if (key.empty()) return {};
    const size_t start = body.find(key);
    if (start == std::string_view::npos) return {};
    const size_t end = body.find('\n', start);
    if (end == std::string_view::npos) return {};
    // A key that itself holds a line feed would end before its own end.
    if (end < start + key.size()) return {};
    std::string value;
    for (char c : body.substr(start + key.size(), end - start - key.size())) {
        if (c != '"') value += c;
    }
    return value;
}

bool answerShowsNothing(std::string_view body) {
    return body.find("flag=1") != std::string_view::npos;
}

MessageAnswer parseMessageAnswer(std::string_view body) {
    MessageAnswer answer;
    answer.text = extractAnswerValue(body, "dialogtext=");
    for (int i = 0; i < kMessageButtons; ++i) {
        answer.buttonText[i] = extractAnswerValue(body, keyName("button", i + 1, "text="));
        answer.buttonAction[i] = extractAnswerValue(body, keyName("button", i + 1, "action="));
    }
    return answer;
}

std::string openableAddress(std::string_view action) {
    if (!action.empty() && action.back() == '\r') action.remove_suffix(1);
    if (action.size() > kMaxAddressLength) return {};
    size_t schemeLength = 0;
    for (std::string_view scheme : {"http://", "https://", "ftp://"}) {
        if (startsWith(action, scheme)) schemeLength = scheme.size();
    }
    if (schemeLength == 0 || action.size() == schemeLength) return {};
    for (char c : action) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte == 0x7F) return {};
    }
    return std::string(action);
}

MessageButtonLayout layoutMessageButtons(const MessageAnswer& answer, int frameBottom, int frameRight,
                                         int dpi) {
    const int kGap = scaleForDpi(4, dpi), kHeight = scaleForDpi(24, dpi), kStep = scaleForDpi(28, dpi),
              kBelow = scaleForDpi(8, dpi);
    MessageButtonLayout layout{{}, 0};
    int y = frameBottom;
    for (int i = 0; i < kMessageButtons; ++i) {
        if (!answer.hasButton(i)) continue;
        const int top = y + kGap;
        layout.buttons.push_back({i, 1, top, frameRight, top + kHeight});
        y += kStep;
    }
    layout.windowHeight = y + kBelow;
    return layout;
}

} // namespace core
