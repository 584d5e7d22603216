#include "shared/ui_text.h"

namespace {

LANGID ResourceLanguage(UiLanguage language) {
    return language == UiLanguage::Japanese ? MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT)
                                            : MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
}

// The resource in the shown language, else in the other one.
HRSRC FindUiResource(HINSTANCE instance, LPCWSTR type, LPCWSTR name) {
    const UiLanguage shown = ShownLanguage();
    const UiLanguage other =
        shown == UiLanguage::Japanese ? UiLanguage::English : UiLanguage::Japanese;
    for (UiLanguage language : {shown, other})
        if (HRSRC found = FindResourceExW(instance, type, name, ResourceLanguage(language)))
            return found;
    return nullptr;
}

const void* LockUiResource(HINSTANCE instance, HRSRC found, DWORD* size) {
    HGLOBAL loaded = found != nullptr ? LoadResource(instance, found) : nullptr;
    *size = loaded != nullptr ? SizeofResource(instance, found) : 0;
    return loaded != nullptr ? LockResource(loaded) : nullptr;
}

}  // namespace

UiLanguage ShownLanguage() {
    wchar_t forced[8] = {};
    const DWORD length = GetEnvironmentVariableW(L"TESSARY_LANGUAGE", forced, 8);
    if (length > 0 && length < 8) {
        if (lstrcmpiW(forced, L"ja") == 0) return UiLanguage::Japanese;
        if (lstrcmpiW(forced, L"en") == 0) return UiLanguage::English;
    }
    return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE ? UiLanguage::Japanese
                                                                      : UiLanguage::English;
}

std::wstring UiText(HINSTANCE instance, UINT id) {
    // A string table block holds 16 strings, each a length and its units.
    DWORD size = 0;
    const WORD* at = static_cast<const WORD*>(LockUiResource(
        instance, FindUiResource(instance, RT_STRING, MAKEINTRESOURCEW(id / 16 + 1)), &size));
    const WORD* end = at + size / sizeof(WORD);
    for (UINT i = 0; at != nullptr && at < end; ++i) {
        const WORD length = *at++;
        if (length > end - at) break;  // a damaged block
        if (i == id % 16) return std::wstring(reinterpret_cast<const wchar_t*>(at), length);
        at += length;
    }
    return std::wstring();
}

const DLGTEMPLATE* UiDialogTemplate(HINSTANCE instance, int id) {
    DWORD size = 0;
    return static_cast<const DLGTEMPLATE*>(
        LockUiResource(instance, FindUiResource(instance, RT_DIALOG, MAKEINTRESOURCEW(id)), &size));
}

INT_PTR UiDialogBox(HINSTANCE instance, int id, HWND owner, DLGPROC procedure, LPARAM parameter) {
    const DLGTEMPLATE* dialog = UiDialogTemplate(instance, id);
    if (dialog == nullptr) return -1;
    return DialogBoxIndirectParamW(instance, dialog, owner, procedure, parameter);
}

std::wstring Utf8ToWide(const char* text) {
    const int length = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    if (length <= 1) return std::wstring();
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text, -1, &wide[0], length);
    wide.resize(static_cast<std::size_t>(length - 1));
    return wide;
}
