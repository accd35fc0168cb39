// The server's answer: lines of key=value read by a fixed extraction rule, the "show nothing" directive,
// which actions may be opened, and the column of buttons under the message.
#pragma once
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "core/dpi_scale.h"

namespace core {

constexpr int kMessageButtons = 4;

// The value of a key: from the key's first occurrence anywhere in the body up to the next line feed
// (a carriage return before it stays), with every double quote removed. Empty when the key is missing or
// no line feed follows it.
std::string extractAnswerValue(std::string_view body, std::string_view key);

// "flag=1" anywhere in the body means the server has nothing to show.
bool answerShowsNothing(std::string_view body);

struct MessageAnswer {
    std::string text;
    std::array<std::string, kMessageButtons> buttonText;
    std::array<std::string, kMessageButtons> buttonAction;

    // A button exists when it has a caption or an action.
    bool hasButton(int index) const { return !buttonText[index].empty() || !buttonAction[index].empty(); }
};

MessageAnswer parseMessageAnswer(std::string_view body);

// The address a button's action opens, or empty when it opens nothing. Only an action that begins with
// http://, https:// or ftp:// and has something after the scheme is opened, so that an answer can never
// make the shell start a program; a carriage return left over from a CR LF line end is dropped, and any
// other control character or space makes the action open nothing.
std::string openableAddress(std::string_view action);

// Longest address handed to the shell (the system's own limit for a URL).
constexpr size_t kMaxAddressLength = 2083;

struct ButtonPlacement {
    int index; // 0 to 3: which button of the answer
    int left, top, right, bottom;
};

struct MessageButtonLayout {
    std::vector<ButtonPlacement> buttons;
    int windowHeight;
};

// The buttons stand in a column under the message frame, 24 pixels high and 28 apart, from one pixel
// inside the left edge to the frame's right edge; the dialog's window ends 8 pixels below the last one
// (or below the frame). Buttons that exist are stacked without holes, so a missing button 2 leaves no gap
// that would push button 3 off the dialog. Coordinates are the dialog's client pixels.
// The figures are for 96 DPI and scale with the dialog's DPI.
MessageButtonLayout layoutMessageButtons(const MessageAnswer& answer, int frameBottom, int frameRight,
                                         int dpi = kBaseDpi);

} // namespace core
