// The program's name where it stands alone: message box captions, the tray tip, the user agent, the version
// resources and the setup program. A plain macro too, so that the resource compiler can take it and the
// build can read it out of here for the setup program; C++ code uses kProgramName.
#pragma once

#define CORVANE_PROGRAM_NAME "Corvane!"

#ifndef RC_INVOKED
namespace core {
constexpr const char kProgramName[] = CORVANE_PROGRAM_NAME;
} // namespace core
#endif
