// The fixture of the preferences tests: a fresh registry key, the UI thread with its stand-in bar, and
// the dialog run there as the bar runs it.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <atomic>
#include <functional>
#include <memory>

#include "core/program_name.h"
#include "kit/bar.h"
#include "prefs/preferences_dialog.h"
#include "prefs/preferences_page.h"
#include "prefs_support.h"
#include "resources/resource.h"

namespace prefs_test {

class PrefsDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        e2e::deleteSettingsKey();
        ui_ = std::make_unique<UiThread>();
        watchdog_ = std::make_unique<Watchdog>(ui_->id(), 8000);
        ui_->call([&] { createStandInBar(host_); });
    }
    void TearDown() override {
        dismissAll(ui_->id());
        kit::waitFor([&] { return !running_; }, 5000);
        ui_->call([&] { DestroyWindow(host_.bar); });
        EXPECT_EQ(watchdog_->dismissed(), 0) << "a modal dialog was left open";
        watchdog_.reset();
        ui_.reset();
        e2e::deleteSettingsKey();
    }

    // Opens the dialog on the UI thread and waits until it shows a page (or none is due).
    HWND open() {
        running_ = true;
        dialogHwnd_ = nullptr;
        ui_->post([this] {
            prefs::PreferencesDialog dialog(host_);
            dialog_ = &dialog;
            dialog.run();
            dialog_ = nullptr;
            running_ = false;
        });
        // A modal dialog shows itself only once its loop first runs dry: until then its page is not visible.
        kit::waitFor([&] {
            HWND d = dialogWindow();
            return d != nullptr && IsWindowVisible(d);
        });
        watchdog_->spare(dialogWindow());
        return dialogWindow();
    }
    HWND dialogWindow() {
        HWND w = nullptr;
        ui_->call([&] { w = dialog_ ? dialog_->hwnd() : nullptr; });
        return w;
    }
    HWND page() {
        HWND w = nullptr;
        ui_->call([&] {
            auto* p = dialog_ ? dialog_->currentPage() : nullptr;
            w = p ? p->hwnd() : nullptr;
        });
        return w;
    }
    HWND control(int id) { return GetDlgItem(page(), id); }
    // Closes with the given command (IDOK for Close or Enter, IDCANCEL for Escape) and waits for the end.
    bool close(int command = IDOK) {
        HWND d = dialogWindow();
        if (d) PostMessageA(d, WM_COMMAND, command, 0);
        return kit::waitFor([&] { return !running_; }, 5000);
    }
    void selectPage(const char* text);
    // Types text into an edit as the user would leave it: new text, marked modified.
    void type(int id, const char* text) {
        HWND edit = control(id);
        ui_->call([&] {
            SetFocus(edit);
            SetWindowTextA(edit, text);
            SendMessageA(edit, EM_SETMODIFY, TRUE, 0);
        });
    }
    // Moves the focus to the tree without waiting: a refusal shows a message box on the way.
    void leaveEditAsync() {
        HWND tree = GetDlgItem(dialogWindow(), IDC_PREFS_TREE);
        ui_->post([tree] { SetFocus(tree); });
    }
    void click(int id) {
        HWND button = control(id);
        ui_->call([&] { SendMessageA(button, BM_CLICK, 0, 0); });
    }
    HWND focus() {
        HWND f = nullptr;
        ui_->call([&] { f = GetFocus(); });
        return f;
    }
    // Waits for the "Bad value!" box and dismisses it; true when it came with the right text.
    bool expectBadValue();
    bool noMessageBox() { return threadWindows(ui_->id(), "#32770", core::kProgramName).empty(); }

    TestHost host_;
    std::unique_ptr<UiThread> ui_;
    std::unique_ptr<Watchdog> watchdog_;
    prefs::PreferencesDialog* dialog_ = nullptr;
    HWND dialogHwnd_ = nullptr;
    std::atomic<bool> running_{false};
};

// The tree's top-level items in order, each with its text; stops at the first for which `visit` is true and
// returns it (null when none was).
inline HTREEITEM walkTree(HWND tree, const std::function<bool(HTREEITEM, const char*)>& visit) {
    auto item = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    while (item) {
        char buffer[64] = {};
        TVITEMA tvi{};
        tvi.mask = TVIF_TEXT | TVIF_HANDLE;
        tvi.hItem = item;
        tvi.pszText = buffer;
        tvi.cchTextMax = sizeof(buffer);
        SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tvi));
        if (visit(item, buffer)) return item;
        item = reinterpret_cast<HTREEITEM>(
            SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)));
    }
    return nullptr;
}

inline void PrefsDialogTest::selectPage(const char* text) {
    HWND tree = GetDlgItem(dialogWindow(), IDC_PREFS_TREE);
    ui_->call([&] {
        HTREEITEM item =
            walkTree(tree, [&](HTREEITEM, const char* itemText) { return lstrcmpA(itemText, text) == 0; });
        SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    });
}

inline bool PrefsDialogTest::expectBadValue() {
    HWND box = nullptr;
    if (!kit::waitFor([&] {
            auto boxes = threadWindows(ui_->id(), "#32770", core::kProgramName);
            box = boxes.empty() ? nullptr : boxes.front();
            return box && IsWindowVisible(box);
        }))
        return false;
    const std::string text = messageBoxText(box);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    kit::waitFor([&] { return !IsWindow(box); });
    return text == "Bad value!";
}

} // namespace prefs_test
