// Two facts about the system the bar runs on that Wine cannot show: an elevated bar must let through the
// messages other programs send it, and a 32-bit bar on 64-bit Windows sees only 32-bit programs.
#pragma once
#include <cstdint>
#include <vector>

namespace core {

// The bar's messages that come from other processes (the tray icon's, the appbar's and the shell hook's).
// They are defined where they cross (the bar's and the shell hook's headers), which check they lie here.
constexpr uint32_t kFirstMessageFromOthers = 0x0400 + 1;
constexpr uint32_t kLastMessageFromOthers = 0x0400 + 3;

// What an elevated bar lets through its message filter: those messages and the shell's taskbarCreated
// (0 when it could not be registered), and nothing else. A bar that is not elevated filters nothing itself.
std::vector<uint32_t> messagesToAdmit(bool elevated, uint32_t taskbarCreated);

// What the system said about the bar's process. The newer question gives both machines; where it does not
// exist only the older yes or no is known.
struct BitnessAnswer {
    bool hasMachines = false;
    uint16_t processMachine = 0; // 0: the process runs natively
    uint16_t nativeMachine = 0;
    bool wow64 = false;
};

// Whether to tell the user that this bar sees only the programs of its own bitness: it runs translated on a
// system of a wider kind, where its hooks reach none of the native programs.
bool seesOnlyItsOwnBitness(const BitnessAnswer& answer);

// The notice, shown once at start without stopping anything.
constexpr const char* kBitnessNoticeTitle = "Corvane! (32-bit)";
constexpr const char* kBitnessNotice =
    "This is the 32-bit Corvane! running on 64-bit Windows: it sees only 32-bit programs, so most "
    "browsers get no button. The 64-bit Corvane! sees them all.";

} // namespace core
