// What a screen reader in the test's process reads of a bar's client object, across processes as a real one
// does. The test program links oleacc, oleaut32, ole32 and uuid.
#pragma once
#include <windows.h>

#include <oleacc.h>

#include <string>
#include <vector>

#include "kit/bar.h"

namespace kit {

struct ScreenReader {
    explicit ScreenReader(HWND window) {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                   reinterpret_cast<void**>(&bar));
    }
    ~ScreenReader() {
        if (bar) bar->Release();
        CoUninitialize();
    }
    ScreenReader(const ScreenReader&) = delete;
    ScreenReader& operator=(const ScreenReader&) = delete;
    static VARIANT child(long id) {
        VARIANT v{};
        v.vt = VT_I4;
        v.lVal = id;
        return v;
    }
    std::vector<std::string> names(long count) const {
        std::vector<std::string> out;
        for (long id = 1; id <= count; ++id) {
            BSTR name = nullptr;
            bar->get_accName(child(id), &name);
            out.push_back(name ? e2e::utf8Of(name) : "");
            SysFreeString(name);
        }
        return out;
    }
    // The focused child, -1 for none.
    long focus() const {
        VARIANT v{};
        bar->get_accFocus(&v);
        return v.vt == VT_I4 ? v.lVal : -1;
    }
    long children() const {
        long count = -1;
        bar->get_accChildCount(&count);
        return count;
    }
    // A child's role or state, -1 when it cannot be read.
    long role(long id) const { return read(&IAccessible::get_accRole, id); }
    long state(long id) const { return read(&IAccessible::get_accState, id); }

    IAccessible* bar = nullptr;

  private:
    long read(HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, VARIANT*), long id) const {
        VARIANT v{};
        return (bar->*get)(child(id), &v) == S_OK && v.vt == VT_I4 ? v.lVal : -1;
    }
};

} // namespace kit
