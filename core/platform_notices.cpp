#include "core/platform_notices.h"

namespace core {

std::vector<uint32_t> messagesToAdmit(bool elevated, uint32_t taskbarCreated) {
    std::vector<uint32_t> admitted;
    if (!elevated) return admitted;
    for (uint32_t m = kFirstMessageFromOthers; m <= kLastMessageFromOthers; ++m)
        admitted.push_back(m);
    if (taskbarCreated != 0) admitted.push_back(taskbarCreated);
    return admitted;
}

bool seesOnlyItsOwnBitness(const BitnessAnswer& answer) {
    if (answer.hasMachines)
        return answer.processMachine != 0 && answer.processMachine != answer.nativeMachine;
    return answer.wow64;
}

} // namespace core
