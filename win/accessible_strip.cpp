#include "win/accessible_strip.h"

#include <new>

#include "win/system_library.h"
#include "win/text.h"

namespace win {

namespace {
FARPROC accessibilityFunction(const char* name) {
    static HMODULE library = loadSystemLibrary(L"oleacc.dll");
    return library ? GetProcAddress(library, name) : nullptr;
}

template <class Function> Function lookUp(const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(accessibilityFunction(name)));
}

// Child ids are 1-based button positions; CHILDID_SELF (0) is the strip.
class AccessibleStrip final : public IAccessible {
  public:
    explicit AccessibleStrip(AccessibleSource* source) : source_(source) {}
    void detach() { source_ = nullptr; }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (IsEqualIID(iid, __uuidof(IUnknown)) || IsEqualIID(iid, __uuidof(IDispatch)) ||
            IsEqualIID(iid, __uuidof(IAccessible))) {
            *out = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override {
        return static_cast<ULONG>(InterlockedIncrement(&references_));
    }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

    // IDispatch: clients use the interface's methods directly.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (count) *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        if (!parent) return E_POINTER;
        *parent = nullptr;
        if (!source_) return RPC_E_DISCONNECTED;
        using FromWindow = HRESULT(WINAPI*)(HWND, DWORD, REFIID, void**);
        static const auto fromWindow = lookUp<FromWindow>("AccessibleObjectFromWindow");
        if (!fromWindow) return E_FAIL;
        return fromWindow(source_->accessibleWindow(), static_cast<DWORD>(OBJID_WINDOW), __uuidof(IDispatch),
                          reinterpret_cast<void**>(parent));
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
        if (!count) return E_POINTER;
        if (!source_) return RPC_E_DISCONNECTED;
        *count = static_cast<long>(source_->accessibleButtons().size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        // The buttons are simple elements, not objects of their own.
        return validChild(child) ? S_FALSE : E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        return text(child, name, [](const AccessibleButton& b) { return b.name; });
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT, BSTR* value) override { return none(value); }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT, BSTR* text) override { return none(text); }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (!role) return E_POINTER;
        VariantInit(role);
        if (!validChild(child)) return E_INVALIDARG;
        role->vt = VT_I4;
        role->lVal = child.lVal == CHILDID_SELF ? ROLE_SYSTEM_TOOLBAR : ROLE_SYSTEM_PUSHBUTTON;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        if (!state) return E_POINTER;
        VariantInit(state);
        if (!validChild(child)) return E_INVALIDARG;
        state->vt = VT_I4;
        if (child.lVal == CHILDID_SELF) {
            state->lVal = IsWindowVisible(source_->accessibleWindow()) ? 0 : STATE_SYSTEM_INVISIBLE;
        } else {
            const AccessibleButton b = button(child);
            state->lVal = STATE_SYSTEM_FOCUSABLE | (b.pressed ? STATE_SYSTEM_PRESSED : 0) |
                          (b.alert ? STATE_SYSTEM_ALERT_HIGH : 0) | (b.focused ? STATE_SYSTEM_FOCUSED : 0);
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR* help) override { return none(help); }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, long* topic) override {
        if (topic) *topic = 0;
        return none(file);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT, BSTR* keys) override { return none(keys); }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override;
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override { return empty(selection); }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        return text(child, action, [](const AccessibleButton& b) { return b.defaultAction; });
    }
    HRESULT STDMETHODCALLTYPE accSelect(long, VARIANT) override { return DISP_E_MEMBERNOTFOUND; }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                          VARIANT child) override {
        if (!left || !top || !width || !height) return E_POINTER;
        if (!validChild(child)) return E_INVALIDARG;
        RECT r{};
        if (child.lVal == CHILDID_SELF) {
            HWND window = source_->accessibleWindow();
            GetClientRect(window, &r);
            MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
        } else {
            r = button(child).screenRect;
        }
        *left = r.left;
        *top = r.top;
        *width = r.right - r.left;
        *height = r.bottom - r.top;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override;
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* hit) override;
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        if (!validChild(child)) return E_INVALIDARG;
        if (child.lVal == CHILDID_SELF) return DISP_E_MEMBERNOTFOUND;
        source_->pressAccessibleButton(static_cast<int>(child.lVal - 1));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

  private:
    ~AccessibleStrip() = default;

    bool validChild(const VARIANT& child) const {
        if (!source_ || child.vt != VT_I4) return false;
        return child.lVal >= 0 && child.lVal <= static_cast<long>(source_->accessibleButtons().size());
    }
    AccessibleButton button(const VARIANT& child) const {
        return source_->accessibleButtons()[static_cast<size_t>(child.lVal - 1)];
    }
    template <class Field> HRESULT text(const VARIANT& child, BSTR* out, Field field) const {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (!validChild(child)) return source_ ? E_INVALIDARG : RPC_E_DISCONNECTED;
        if (child.lVal == CHILDID_SELF) return S_FALSE;
        const std::wstring wide = widen(field(button(child)));
        *out = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
        return *out ? S_OK : E_OUTOFMEMORY;
    }
    static HRESULT none(BSTR* out) {
        if (out) *out = nullptr;
        return DISP_E_MEMBERNOTFOUND;
    }
    static HRESULT empty(VARIANT* out) {
        if (!out) return E_POINTER;
        VariantInit(out);
        return S_FALSE;
    }

    LONG references_ = 1;
    AccessibleSource* source_;
};

HRESULT AccessibleStrip::accNavigate(long direction, VARIANT start, VARIANT* end) {
    if (!end) return E_POINTER;
    VariantInit(end);
    if (!validChild(start)) return E_INVALIDARG;
    const long count = static_cast<long>(source_->accessibleButtons().size());
    long to = 0;
    switch (direction) {
    case NAVDIR_FIRSTCHILD:
        to = start.lVal == CHILDID_SELF ? 1 : 0;
        break;
    case NAVDIR_LASTCHILD:
        to = start.lVal == CHILDID_SELF ? count : 0;
        break;
    case NAVDIR_NEXT:
    case NAVDIR_RIGHT:
        to = start.lVal == CHILDID_SELF ? 0 : start.lVal + 1;
        break;
    case NAVDIR_PREVIOUS:
    case NAVDIR_LEFT:
        to = start.lVal == CHILDID_SELF ? 0 : start.lVal - 1;
        break;
    default:
        return DISP_E_MEMBERNOTFOUND;
    }
    if (to < 1 || to > count) return S_FALSE;
    end->vt = VT_I4;
    end->lVal = to;
    return S_OK;
}

HRESULT AccessibleStrip::get_accFocus(VARIANT* focus) {
    if (!focus) return E_POINTER;
    VariantInit(focus);
    if (!source_) return RPC_E_DISCONNECTED;
    const std::vector<AccessibleButton> buttons = source_->accessibleButtons();
    for (size_t i = 0; i < buttons.size(); ++i) {
        if (!buttons[i].focused) continue;
        focus->vt = VT_I4;
        focus->lVal = static_cast<long>(i + 1);
        return S_OK;
    }
    // Nothing of the strip has the keyboard.
    return S_FALSE;
}

HRESULT AccessibleStrip::accHitTest(long x, long y, VARIANT* hit) {
    if (!hit) return E_POINTER;
    VariantInit(hit);
    if (!source_) return RPC_E_DISCONNECTED;
    const POINT p{x, y};
    const std::vector<AccessibleButton> buttons = source_->accessibleButtons();
    for (size_t i = 0; i < buttons.size(); ++i) {
        if (PtInRect(&buttons[i].screenRect, p)) {
            hit->vt = VT_I4;
            hit->lVal = static_cast<long>(i + 1);
            return S_OK;
        }
    }
    HWND window = source_->accessibleWindow();
    RECT client{};
    GetClientRect(window, &client);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    if (!PtInRect(&client, p)) return S_FALSE;
    hit->vt = VT_I4;
    hit->lVal = CHILDID_SELF;
    return S_OK;
}
} // namespace

IAccessible* createAccessibleStrip(AccessibleSource* source) {
    return new (std::nothrow) AccessibleStrip(source);
}

LRESULT lresultFromObject(REFIID iid, WPARAM wParam, IUnknown* object) {
    using FromObject = LRESULT(WINAPI*)(REFIID, WPARAM, IUnknown*);
    static const auto fromObject = lookUp<FromObject>("LresultFromObject");
    return fromObject ? fromObject(iid, wParam, object) : static_cast<LRESULT>(E_FAIL);
}

void detachAccessibleStrip(IAccessible* strip) {
    if (strip) static_cast<AccessibleStrip*>(strip)->detach();
}

} // namespace win
