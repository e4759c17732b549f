// Prints what a screen reader finds in the message box on screen, through
// Microsoft Active Accessibility: one line per child window of the dialog,
// "ROLE NAME", ROLE as the system's role number (Windows reports 41 for
// static text and 43 for a push button; Wine's proxies report 10, client).

#include <windows.h>
#include <oleacc.h>

#include <cstdio>
#include <string>

namespace {

HWND FindBox()
{
    for (int i = 0; i < 100; ++i) {
        if (const HWND box = FindWindowW(L"#32770", nullptr))
            return box;
        Sleep(100);
    }
    return nullptr;
}

std::string Utf8(const wchar_t* text)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size > 0 ? size - 1 : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), size, nullptr, nullptr);
    return out;
}

}  // namespace

int main()
{
    CoInitialize(nullptr);
    const HWND box = FindBox();
    if (!box)
        return 1;
    // Each child window as the system's accessibility proxy presents it.
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        IAccessible* accessible = nullptr;
        if (FAILED(AccessibleObjectFromWindow(child, OBJID_CLIENT, IID_IAccessible,
                                              reinterpret_cast<void**>(&accessible))))
            continue;
        VARIANT self;
        VariantInit(&self);
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        BSTR name = nullptr;
        VARIANT role;
        VariantInit(&role);
        accessible->get_accName(self, &name);
        accessible->get_accRole(self, &role);
        std::printf("%ld %s\n", role.vt == VT_I4 ? role.lVal : -1L, name ? Utf8(name).c_str() : "");
        if (name)
            SysFreeString(name);
        accessible->Release();
    }
    CoUninitialize();
    return 0;
}
