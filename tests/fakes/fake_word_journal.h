// The server's journal and failure switches, both read from the environment at every call so
// that a test can change them between calls.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>

// Appends one line (UTF-16 in, UTF-8 out) to the journal, if one is set.
void JournalWrite(const std::wstring &line);

// "VT_BSTR \"...\"", "VT_BOOL false", ...: one argument as received.
std::wstring JournalVariant(const VARIANT &value);

// Whether KESTROVA_FAKE_WORD_FAIL names `member` (or "create").
bool FailSwitchSet(const wchar_t *member);
