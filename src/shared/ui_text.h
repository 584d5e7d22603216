// The language the saver shows its texts in, and those texts: the dialog
// template and the string table exist in Japanese and in English.
#pragma once

#include <windows.h>

#include <string>

enum class UiLanguage { English, Japanese };

// Japanese where the user's UI language is Japanese, English everywhere
// else: the choice Windows' own resource loader makes between the two. The
// environment variable TESSARY_LANGUAGE ("ja" or "en") overrides it, for
// tests and for anyone who wants the other language.
UiLanguage ShownLanguage();

// String `id` of `instance`'s table in the shown language (the other
// language's when only that one has it); empty when neither has it.
std::wstring UiText(HINSTANCE instance, UINT id);

// Dialog template `id` of `instance` in the shown language (the other
// language's when only that one has it); null when neither has it.
const DLGTEMPLATE* UiDialogTemplate(HINSTANCE instance, int id);

// Runs dialog template `id` of `instance` in the shown language, as
// DialogBoxParamW does; -1 when the template is missing.
INT_PTR UiDialogBox(HINSTANCE instance, int id, HWND owner, DLGPROC procedure, LPARAM parameter);

// A UTF-8 text of the portable code (setting names, mode texts, window
// titles) as UTF-16 for the Windows calls.
std::wstring Utf8ToWide(const char* text);
