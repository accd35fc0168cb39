// Starting the browser command with the real bar: the program the command names and no other, and a bar that
// goes on answering while the program it started is still getting ready.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "kit/bar_fixture.h"

namespace {

using namespace e2e;

constexpr const char* kProbeClass = "CorvaneLaunchProbe";

std::string probePath() {
    return kit::binDir() + "\\tests\\wine\\launch_probe.exe";
}

void endProcessesNamed(const char* exeFile) {
    for (DWORD id : kit::processesNamed(exeFile)) {
        if (HANDLE p = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id)) {
            TerminateProcess(p, 99);
            WaitForSingleObject(p, 3000);
            CloseHandle(p);
        }
    }
}

// Copies of the probe where an unquoted path with spaces could lead the system astray: a program at the root
// named after the first word of the path, and the program the path names. Removed with everything they ran.
class PlantedPrograms {
  public:
    static constexpr const char* kDecoy = "C:\\Program.exe";
    static constexpr const char* kFolder = "C:\\Program Files\\Some Dir";
    static constexpr const char* kNamed = "C:\\Program Files\\Some Dir\\app.exe";

    PlantedPrograms() {
        CreateDirectoryA(kFolder, nullptr);
        planted_ =
            CopyFileA(probePath().c_str(), kDecoy, FALSE) && CopyFileA(probePath().c_str(), kNamed, FALSE);
    }
    ~PlantedPrograms() {
        endProcessesNamed("Program.exe");
        endProcessesNamed("app.exe");
        DeleteFileA(kDecoy);
        DeleteFileA(kNamed);
        RemoveDirectoryA(kFolder);
    }
    PlantedPrograms(const PlantedPrograms&) = delete;
    PlantedPrograms& operator=(const PlantedPrograms&) = delete;
    bool planted() const { return planted_; }

  private:
    bool planted_ = false;
};

DWORD processOf(HWND window) {
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    return id;
}

class Launch : public BarTest {
  protected:
    void TearDown() override {
        BarTest::TearDown();
        endProcessesNamed("launch_probe.exe");
    }
};

// The command as the user typed it, unquoted: the path's own program starts, with the arguments after it.
TEST_F(Launch, AnUnquotedPathWithSpacesStartsTheProgramItNamesAndNoShorterOne) {
    PlantedPrograms programs;
    ASSERT_TRUE(programs.planted());
    writeSetting("Internet Explorer path", std::string(PlantedPrograms::kNamed) + " -x");
    start();
    PostMessageA(bar_, WM_COMMAND, 126, 0);
    HWND started = nullptr;
    ASSERT_TRUE(kit::waitFor([&] {
        std::vector<HWND> found = kit::topLevelWindows(kProbeClass);
        started = found.empty() ? nullptr : found.front();
        return started != nullptr;
    }));
    std::vector<DWORD> named = kit::processesNamed("app.exe");
    EXPECT_EQ(named, std::vector<DWORD>{processOf(started)});
    EXPECT_TRUE(kit::processesNamed("Program.exe").empty());
    char title[64] = {};
    GetWindowTextA(started, title, sizeof title);
    EXPECT_STREQ(title, "-x") << "the program did not get its arguments as typed";
}

// Nothing waits for the started program: while it is still getting ready, a posted command takes effect and
// a new browser window's button is drawn, each within a second.
TEST_F(Launch, WhileTheStartedProgramGetsReadyTheBarAnswersAndRepaints) {
    writeSetting("Internet Explorer path", probePath() + " --busy 10000 probe busy");
    start();
    PostMessageA(bar_, WM_COMMAND, 126, 0);
    ASSERT_TRUE(kit::waitFor([] { return !kit::processesNamed("launch_probe.exe").empty(); }));
    PostMessageA(bar_, WM_COMMAND, 230, 0); // Hide
    EXPECT_TRUE(kit::waitFor([&] { return !IsWindowVisible(bar_); }, 1000)) << "the bar did not hide";
    PostMessageA(bar_, WM_COMMAND, 125, 0); // Hide/restore
    EXPECT_TRUE(kit::waitFor([&] { return IsWindowVisible(bar_) != 0; }, 1000))
        << "the bar did not come back";
    browsers_.open("Meanwhile");
    EXPECT_TRUE(kit::waitFor(
        [&] { return BarShot(bar_).at(button(0).left, 10) == GetSysColor(COLOR_BTNHIGHLIGHT); }, 1000))
        << "the new window's button was not drawn";
    EXPECT_EQ(tray::windowTitled("probe busy"), nullptr)
        << "the checks did not fall in the program's busy time";
    EXPECT_TRUE(kit::waitFor([] { return tray::windowTitled("probe busy") != nullptr; }, 15000));
}

} // namespace
