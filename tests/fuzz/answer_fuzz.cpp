// libFuzzer target for the answer rules: any body, however broken, parses without a fault, and what comes
// out keeps the rules' promises.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/message_answer.h"

namespace {
void check(bool condition) {
    if (!condition) std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view body(reinterpret_cast<const char*>(data), size);
    const core::MessageAnswer answer = core::parseMessageAnswer(body);
    core::answerShowsNothing(body);
    for (int i = 0; i < core::kMessageButtons; ++i) {
        for (const std::string* value : {&answer.buttonText[i], &answer.buttonAction[i]}) {
            check(value->find('"') == std::string::npos && value->find('\n') == std::string::npos);
            check(value->size() <= size);
        }
        const std::string address = core::openableAddress(answer.buttonAction[i]);
        check(address.empty() || address.rfind("http://", 0) == 0 || address.rfind("https://", 0) == 0 ||
              address.rfind("ftp://", 0) == 0);
        check(address.find_first_of(" \r\n\t") == std::string::npos);
    }
    const core::MessageButtonLayout layout = core::layoutMessageButtons(answer, 100, 200);
    check(layout.buttons.size() <= 4);
    for (const auto& b : layout.buttons)
        check(b.bottom < layout.windowHeight);
    return 0;
}
