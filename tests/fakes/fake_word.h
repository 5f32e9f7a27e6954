// The stand-in "Word.Application" automation server of the tests: what a test sets and reads.
//
// Switches, read by the server at every call from the calling process's environment:
//   KESTROVA_FAKE_WORD_JOURNAL  path of the journal file (UTF-8, appended, one line per event);
//                               unset: no journal.
//   KESTROVA_FAKE_WORD_FAIL     comma-separated member names whose calls fail ("Visible",
//                               "Documents", "Open", "ActiveDocument", "SaveAs", "Quit"; any case)
//                               and "create" to refuse instance creation.
// "Open" also fails for every source whose file name contains kFakeWordOpenMarker.
//
// Journal lines:
//   Application created | Application creation refused | Application released
//   <Object>.<Member> <flags> lcid=<hex4> (<arg>, <arg>, ...)
//   <Object>.<name> unknown name          (a name looked up that the object does not have)
// <flags> are "method", "get", "put", "putref" joined by "|"; arguments are in the caller's
// order, each its VARIANT type and value: VT_BOOL false|true (other values in hex), VT_I4 -5,
// VT_BSTR "text" (UTF-8; control characters, '"', '<' and lone surrogates as <U+XXXX>),
// VT_BSTR null, VT_ERROR 0x80020004, VT_EMPTY, ...
#pragma once

#include <string>

inline constexpr const char *kFakeWordProgId = "Word.Application";
inline constexpr const wchar_t *kFakeWordClsid = L"{F982FC68-1134-47C4-9B49-7F7CBE63812C}";
inline constexpr const wchar_t *kFakeWordJournalVariable = L"KESTROVA_FAKE_WORD_JOURNAL";
inline constexpr const wchar_t *kFakeWordFailVariable = L"KESTROVA_FAKE_WORD_FAIL";
inline constexpr const wchar_t *kFakeWordOpenMarker = L"FAIL";
inline constexpr const wchar_t *kFakeWordSource = L"Kestrova test server";

// Error codes of the server's exceptions (scode of the EXCEPINFO; the call returns
// DISP_E_EXCEPTION as an automation server does).
inline constexpr long kFakeWordOpenRefused = static_cast<long>(0x800A1389);  // marker in name
inline constexpr long kFakeWordSimulated = static_cast<long>(0x800A138A);    // fail switch
inline constexpr long kFakeWordFileNotFound = static_cast<long>(0x800A138B); // Open: no source
inline constexpr long kFakeWordNoDocument = static_cast<long>(0x800A138C);   // ActiveDocument

// Descriptions of the server's exceptions: the text, then the member name (simulated failure)
// or the source's file name (refused Open).
inline constexpr const wchar_t *kFakeWordSimulatedText = L"测试服务器模拟故障: ";
inline constexpr const wchar_t *kFakeWordOpenRefusedText = L"测试服务器拒绝打开文档: ";
// Open of a missing source and SaveAs to a path that cannot be written: the text, then the path.
inline constexpr const wchar_t *kFakeWordNotFoundText = L"找不到文件: ";
inline constexpr const wchar_t *kFakeWordSaveFailedText = L"无法保存文件: ";
inline constexpr const wchar_t *kFakeWordNoDocumentText = L"没有打开的文档";

// A target that "SaveAs" writes: this header line, then the source's bytes unchanged.
inline std::string FakeWordTargetContent(long formatCode, const std::string &sourceBytes) {
  return "FAKEWORD FORMAT=" + std::to_string(formatCode) + "\n" + sourceBytes;
}
