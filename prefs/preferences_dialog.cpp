#include "prefs/preferences_dialog.h"

#include <commctrl.h>

#include <algorithm>

#include "core/dpi_scale.h"
#include "prefs/preferences_page.h"
#include "resources/resource.h"
#include "win/dpi.h"
#include "win/text.h"
#include "win/ui_text.h"

namespace prefs {

namespace {
struct PageEntry {
    UINT text;
    int templateId;
};
const PageEntry kPages[] = {{IDS_PAGE_GENERAL, IDD_PREFS_GENERAL},
                            {IDS_PAGE_APPEARANCE, IDD_PREFS_APPEARANCE},
                            {IDS_PAGE_BROWSERS, IDD_PREFS_BROWSERS},
                            {IDS_PAGE_HOTKEYS, IDD_PREFS_HOTKEYS},
                            {IDS_PAGE_ADVANCED, IDD_PREFS_ADVANCED}};

// Where the page sits in the dialog's client area, in pixels; never over the tree, which a wider dialog font
// than the template's makes reach past that place (the page then keeps this gap to the tree).
constexpr int kPageX = 130;
constexpr int kPageY = 2;
constexpr int kPageGap = 6;

LPARAM itemData(HWND tree, HTREEITEM item) {
    TVITEMA tvi{};
    tvi.mask = TVIF_PARAM | TVIF_HANDLE;
    tvi.hItem = item;
    if (!SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tvi))) return 0;
    return tvi.lParam;
}
} // namespace

PreferencesDialog::PreferencesDialog(PreferencesHost& host) : host_(host) {}

PreferencesDialog::~PreferencesDialog() = default;

INT_PTR PreferencesDialog::run() {
    selectedPageId_ = host_.lastPreferencesPage();
    return runModal(host_.instance(), IDD_PREFERENCES, host_.barWindow());
}

INT_PTR PreferencesDialog::dialogProc(UINT msg, WPARAM, LPARAM) {
    switch (msg) {
    case WM_INITDIALOG:
        return onInitDialog();
    case WM_DESTROY:
        destroyPage();
        return FALSE;
    default:
        return FALSE;
    }
}

BOOL PreferencesDialog::onInitDialog() {
    SendMessageA(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(host_.dialogFont()), TRUE);
    tree_ = GetDlgItem(hwnd(), IDC_PREFS_TREE);
    fillTree();
    selectInitialPage();
    setText(IDC_PREFS_TIP, win::uiText(host_.instance(), IDS_PREFS_TIP));
    return TRUE;
}

void PreferencesDialog::fillTree() {
    for (const PageEntry& page : kPages) {
        std::wstring text = win::uiWideText(host_.instance(), page.text);
        TVINSERTSTRUCTW insert{};
        insert.hParent = TVI_ROOT;
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT;
        insert.item.pszText = text.data();
        auto item = reinterpret_cast<HTREEITEM>(
            SendMessageW(tree_, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
        TVITEMA data{};
        data.mask = TVIF_PARAM | TVIF_HANDLE;
        data.hItem = item;
        data.lParam = page.templateId;
        SendMessageA(tree_, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&data));
    }
}

void PreferencesDialog::selectInitialPage() {
    auto item = reinterpret_cast<HTREEITEM>(SendMessageA(tree_, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    if (selectedPageId_ != 0) {
        while (item && itemData(tree_, item) != selectedPageId_)
            item = reinterpret_cast<HTREEITEM>(
                SendMessageA(tree_, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)));
    }
    // An id that matches no page selects nothing: the dialog opens without a page.
    if (item) SendMessageA(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
}

bool PreferencesDialog::onCommand(UINT, int id, HWND) {
    if (id != IDOK && id != IDCANCEL) return false;
    onClose();
    return true;
}

bool PreferencesDialog::onNotify(const NMHDR& header, LRESULT& result) {
    result = 0;
    // The dialog is a Unicode window, so the tree reports in the wide form; the narrow one is taken too. Both
    // hold the item's data at the same place.
    if (header.idFrom != IDC_PREFS_TREE || (header.code != TVN_SELCHANGEDW && header.code != TVN_SELCHANGEDA))
        return true;
    const auto& change = reinterpret_cast<const NMTREEVIEWW&>(header);
    showPage(static_cast<int>(change.itemNew.lParam));
    return true;
}

void PreferencesDialog::showPage(int pageId) {
    selectedPageId_ = pageId;
    // The old page goes first, so its hot keys are taken before the new page reads the settings.
    destroyPage();
    auto* page = new PreferencesPage(host_, *this);
    if (!page->createModeless(host_.instance(), LOWORD(pageId), hwnd())) {
        delete page;
        return;
    }
    currentPage_ = page;
    // Directly after the tree in the z-order, so the tab order runs tree, page, then the dialog's buttons.
    // The place is in 96-DPI pixels, as the template's units grow with the DPI.
    const int dpi = win::windowDpi(hwnd());
    RECT tree{};
    GetWindowRect(tree_, &tree);
    MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&tree), 2);
    const int x = std::max(core::scaleForDpi(kPageX, dpi),
                           static_cast<int>(tree.right) + core::scaleForDpi(kPageGap, dpi));
    SetWindowPos(page->hwnd(), tree_, x, core::scaleForDpi(kPageY, dpi), 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    ShowWindow(page->hwnd(), SW_SHOW);
    SetFocus(tree_);
}

void PreferencesDialog::destroyPage() {
    PreferencesPage* page = currentPage_;
    currentPage_ = nullptr;
    // The page deletes itself once its window is gone.
    if (page && page->hwnd()) DestroyWindow(page->hwnd());
}

void PreferencesDialog::onClose() {
    if (closing_) return;
    // Moving the focus makes an edit with a pending value judge it now, before anything is applied.
    SetFocus(GetDlgItem(hwnd(), IDOK));
    closing_ = true;
    if (placementChanged_) host_.placeBrowsers();
    if (barGeometryChanged_) host_.positionBar();
    host_.setLastPreferencesPage(selectedPageId_);
    EndDialog(hwnd(), IDOK);
}

} // namespace prefs
