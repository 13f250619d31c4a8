// SPDX-License-Identifier: MIT
// Win32 implementation of the platform services, for a 64-bit Windows console.
#include "platform/platform.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <system_error>
#include <thread>

#include <windows.h>

namespace platform {
namespace {

// Each standard stream with the console output code page it writes in, taken on its first
// write in a run and kept until the run ends (ForgetRunState).
struct TStreamRec {
  bool Bound = false;
  HANDLE Handle = nullptr;
  UINT CodePage = 0;
};
std::array<TStreamRec, 2> Streams;

TStreamRec& BoundStream(TStdStream stream) {
  TStreamRec& rec = Streams[stream == stdOutput ? 0 : 1];
  if (!rec.Bound) {
    rec.Bound = true;
    rec.Handle = GetStdHandle(stream == stdOutput ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
    rec.CodePage = GetConsoleOutputCP();
  }
  return rec;
}

// The most that one call takes: Win32 counts a buffer's bytes in a DWORD, so a longer text
// goes in pieces of 1 GiB.
DWORD ChunkOf(std::size_t size) {
  constexpr std::size_t most = std::size_t{1} << 30;
  return static_cast<DWORD>(size > most ? most : size);
}

// Hands all of `text` to `handle`. Allocates nothing, for the end of a run without memory
// writes through it too. On failure returns false and puts the system's error code into
// `error`.
bool WriteChunks(HANDLE handle, std::string_view text, DWORD& error) {
  while (!text.empty()) {
    DWORD put = 0;
    if (!WriteFile(handle, text.data(), ChunkOf(text.size()), &put, nullptr)) {
      error = GetLastError();
      return false;
    }
    if (put == 0) {  // never loop on a device that takes nothing
      error = ERROR_WRITE_FAULT;
      return false;
    }
    text.remove_prefix(put);
  }
  return true;
}

std::string SystemMessage(DWORD code) {
  char* buffer = nullptr;
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
  std::string text = length != 0 && buffer != nullptr ? std::string(buffer, length)
                                                      : "system error " + std::to_string(code);
  LocalFree(buffer);
  // The system's messages end with a full stop and a line end; the caller adds its own.
  while (!text.empty() &&
         (text.back() == '\r' || text.back() == '\n' || text.back() == ' ' || text.back() == '.')) {
    text.pop_back();
  }
  return text;
}

// How the ANSI code page of the arguments reads a text, learnt on first use in a run: the bytes
// that start a two-byte character, and the control that each byte alone decodes to, if any.
struct TControlRule {
  UINT CodePage = 0;
  std::array<bool, 256> Lead{};
  std::array<int, 256> Control{};  // the code point, or -1
};
std::optional<TControlRule> ControlRule;

// The code point of the one character that `bytes` decode to, or -1. The conversion is the one
// that output to a console of another code page takes, so that a byte the code page leaves
// undefined (0x81 in code page 1252) is judged by what the console then gets: U+0081.
int DecodeOne(UINT code_page, std::string_view bytes, DWORD flags) {
  std::array<wchar_t, 2> wide{};
  const int got =
      MultiByteToWideChar(code_page, flags, bytes.data(), static_cast<int>(bytes.size()),
                          wide.data(), static_cast<int>(wide.size()));
  return got == 1 ? static_cast<int>(wide[0]) : -1;
}

TControlRule MakeControlRule() {
  TControlRule rule;
  rule.CodePage = GetACP();
  for (int b = 0; b < 256; ++b) {
    const auto at = static_cast<std::size_t>(b);
    const char byte = static_cast<char>(b);
    rule.Lead[at] = IsDBCSLeadByteEx(rule.CodePage, static_cast<BYTE>(b)) != 0;
    const int code = b < 0x80 ? b : DecodeOne(rule.CodePage, std::string_view(&byte, 1), 0);
    rule.Control[at] = code >= 0 && IsControlCode(static_cast<std::uint32_t>(code)) ? code : -1;
  }
  return rule;
}

bool IsAscii(std::string_view text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) > 0x7F) return false;
  }
  return true;
}

// The text in `code_page`, through UTF-16; empty when the system cannot convert it.
std::string FromAnsi(std::string_view text, UINT code_page) {
  if (text.size() > INT_MAX) return {};
  const int size = static_cast<int>(text.size());
  const int wide_size = MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
  if (wide_size <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(wide_size), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide.data(), wide_size);
  const int narrow_size =
      WideCharToMultiByte(code_page, 0, wide.data(), wide_size, nullptr, 0, nullptr, nullptr);
  if (narrow_size <= 0) return {};
  std::string narrow(static_cast<std::size_t>(narrow_size), '\0');
  WideCharToMultiByte(code_page, 0, wide.data(), wide_size, narrow.data(), narrow_size, nullptr,
                      nullptr);
  return narrow;
}

std::string ToAnsi(std::wstring_view text) {
  if (text.empty() || text.size() > INT_MAX) return {};
  const int size = static_cast<int>(text.size());
  const int narrow_size =
      WideCharToMultiByte(CP_ACP, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  if (narrow_size <= 0) return {};
  std::string narrow(static_cast<std::size_t>(narrow_size), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.data(), size, narrow.data(), narrow_size, nullptr, nullptr);
  return narrow;
}

bool IsLockOrModifierKey(WORD key) {
  switch (key) {
    case VK_SHIFT:
    case VK_LSHIFT:
    case VK_RSHIFT:
    case VK_CONTROL:
    case VK_LCONTROL:
    case VK_RCONTROL:
    case VK_MENU:
    case VK_LMENU:
    case VK_RMENU:
    case VK_CAPITAL:
    case VK_NUMLOCK:
    case VK_SCROLL:
      return true;
    default:
      return false;
  }
}

// The keyboard watch: a reader thread takes console input events and queues the key presses
// that count, for the main thread to look at without blocking.
struct TKeyWatch {
  HANDLE Input = nullptr;
  bool Console = false;
  std::thread Reader;
  std::mutex StopLock;  // one thread at a time stops the reader
  std::mutex Lock;
  std::deque<WORD> Keys;  // guarded by Lock
  bool Stopping = false;  // guarded by Lock
};
TKeyWatch Watch;

bool StopRequested() {
  const std::lock_guard<std::mutex> guard(Watch.Lock);
  return Watch.Stopping;
}

void ReadKeys() {
  constexpr DWORD PollMilliseconds = 20;
  std::array<INPUT_RECORD, 16> records{};
  while (!StopRequested()) {
    // Waiting with a timeout, and reading only what is already there, means the reader never
    // blocks where the stop request could not reach it.
    const DWORD waited = WaitForSingleObject(Watch.Input, PollMilliseconds);
    if (waited == WAIT_TIMEOUT) continue;
    if (waited != WAIT_OBJECT_0) return;
    DWORD pending = 0;
    if (!GetNumberOfConsoleInputEvents(Watch.Input, &pending)) return;
    if (pending == 0) continue;
    DWORD got = 0;
    const DWORD wanted = pending < records.size() ? pending : static_cast<DWORD>(records.size());
    if (!ReadConsoleInputA(Watch.Input, records.data(), wanted, &got)) return;
    const std::lock_guard<std::mutex> guard(Watch.Lock);
    for (DWORD i = 0; i < got; ++i) {
      const INPUT_RECORD& record = records[i];
      if (record.EventType == KEY_EVENT && record.Event.KeyEvent.bKeyDown &&
          !IsLockOrModifierKey(record.Event.KeyEvent.wVirtualKeyCode)) {
        Watch.Keys.push_back(record.Event.KeyEvent.wVirtualKeyCode);
      }
    }
  }
}

// Stops the reader, if it runs, and discards the console's pending input.
void StopReader() {
  const std::lock_guard<std::mutex> stopping(Watch.StopLock);
  if (!Watch.Reader.joinable()) return;
  {
    const std::lock_guard<std::mutex> guard(Watch.Lock);
    Watch.Stopping = true;
  }
  Watch.Reader.join();
  // The key that ended the wait has been taken by the reader; anything after it goes here.
  FlushConsoleInputBuffer(Watch.Input);
}

// Ctrl-C, Ctrl-Break or the console closing during the wait: the reader stops before the
// process ends, so that no running thread meets the C runtime's exit. The console's mode was
// never changed. FALSE hands the event on: in the end the system ends the process, as without
// the pause. (Should a caller's own handler keep the process alive, the wait runs its full
// length without the reader.)
BOOL WINAPI StopReaderOnControl(DWORD) {
  StopReader();
  return FALSE;
}

}  // namespace

bool NativeCommandLine(std::string& text) {
  const char* line = GetCommandLineA();
  if (line == nullptr) return false;
  text = line;
  return true;
}

std::string_view PathSeparators() { return "\\/:"; }

namespace {

bool WriteWhole(HANDLE handle, std::string_view text, std::string& reason) {
  DWORD error = 0;
  if (WriteChunks(handle, text, error)) return true;
  reason = SystemMessage(error);
  return false;
}

}  // namespace

bool WriteAll(TStdStream stream, std::string_view text, std::string_view tail,
              std::string& reason) {
  const TStreamRec& rec = BoundStream(stream);
  // Command-line values are in the ANSI code page; the console may show another one. Without a
  // console (code page 0) the bytes go out as they are.
  const bool convert = rec.CodePage != 0 && rec.CodePage != GetACP();
  std::string joined;
  if (convert && !IsAscii(text)) {
    joined = FromAnsi(text, rec.CodePage);
    if (joined.empty()) joined.assign(text);
  }
  if (convert && !IsAscii(tail)) {
    std::string converted = FromAnsi(tail, rec.CodePage);
    if (converted.empty()) converted.assign(tail);
    if (joined.empty()) joined.assign(text);
    joined.append(converted);
  } else if (!joined.empty()) {
    joined.append(tail);
  }
  if (!joined.empty()) return WriteWhole(rec.Handle, joined, reason);
  // WriteFile takes one piece: a short result and its separator are joined so that they leave
  // together, as a reader of a pipe expects; a long one goes as it lies, its separator after it.
  constexpr std::size_t joined_at_most = 4096;
  if (!tail.empty() && text.size() + tail.size() <= joined_at_most) {
    std::array<char, joined_at_most> buffer;
    std::copy(text.begin(), text.end(), buffer.begin());
    std::copy(tail.begin(), tail.end(), buffer.begin() + static_cast<std::ptrdiff_t>(text.size()));
    return WriteWhole(rec.Handle, std::string_view(buffer.data(), text.size() + tail.size()),
                      reason);
  }
  return WriteWhole(rec.Handle, text, reason) && WriteWhole(rec.Handle, tail, reason);
}

bool IsTerminal(TStdStream stream) {
  DWORD mode = 0;
  return GetConsoleMode(BoundStream(stream).Handle, &mode) != 0;
}

TControlArray FindControls(std::string_view text) {
  if (!ControlRule) ControlRule = MakeControlRule();
  if (ControlRule->CodePage == CP_UTF8) return FindUtf8Controls(text);
  TControlArray controls;
  for (std::size_t at = 0; at < text.size();) {
    const auto byte = static_cast<unsigned char>(text[at]);
    // The lead and trail bytes of a double-byte character are a letter's, whatever their
    // values; a lead byte without a valid trail stands alone.
    if (ControlRule->Lead[byte] && at + 1 < text.size()) {
      const int code = DecodeOne(ControlRule->CodePage, text.substr(at, 2), MB_ERR_INVALID_CHARS);
      if (code >= 0) {
        if (IsControlCode(static_cast<std::uint32_t>(code))) {
          controls.push_back({at, 2, static_cast<std::uint8_t>(code)});
        }
        at += 2;
        continue;
      }
    }
    const int code = ControlRule->Control[byte];
    if (code >= 0) controls.push_back({at, 1, static_cast<std::uint8_t>(code)});
    ++at;
  }
  return controls;
}

bool EqualsNoCase(std::string_view left, std::string_view right) {
  if (left.size() > INT_MAX || right.size() > INT_MAX) return false;
  return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, left.data(),
                        static_cast<int>(left.size()), right.data(),
                        static_cast<int>(right.size())) == CSTR_EQUAL;
}

// The user-locale comparison may equate texts of different lengths or bytes beyond ASCII
// letters, so the engine must not take short cuts by length or prefix here.
bool CaseFoldingIsBytewise() { return false; }

std::string_view ExecutablePathInto(std::span<char> buffer) {
  // GetModuleFileNameA takes its wide buffer from the heap; the wide call and the conversion
  // use only the buffers they are given.
  static std::array<wchar_t, 32768> wide;
  const DWORD got = GetModuleFileNameW(nullptr, wide.data(), static_cast<DWORD>(wide.size()));
  // A path that fills the whole buffer was cut short.
  if (got == 0 || got >= wide.size() || buffer.size() > INT_MAX) return {};
  const int narrow =
      WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(got), buffer.data(),
                          static_cast<int>(buffer.size()), nullptr, nullptr);
  if (narrow <= 0) return {};
  return {buffer.data(), static_cast<std::size_t>(narrow)};
}

void ExitWithLine(std::string_view output, std::string_view line, int exit_code) {
  // The bytes as they are: the line is ASCII but for the program's name, and converting either
  // text to the console's code page would need memory.
  DWORD ignored = 0;
  static_cast<void>(WriteChunks(GetStdHandle(STD_OUTPUT_HANDLE), output, ignored));
  static_cast<void>(WriteChunks(GetStdHandle(STD_ERROR_HANDLE), line, ignored));
  ExitProcess(static_cast<UINT>(exit_code));
}

void LowerCodePage(std::span<char> text) {
  while (!text.empty()) {
    const DWORD chunk = ChunkOf(text.size());
    CharLowerBuffA(text.data(), chunk);
    text = text.subspan(chunk);
  }
}

TTimeNames SystemTimeNames() {
  TTimeNames names;
  // The names are read wide and given to the program in the ANSI code page, like its arguments.
  for (int month = 0; month < 12; ++month) {
    std::array<wchar_t, 80> wide{};
    const int got =
        GetLocaleInfoW(LOCALE_SYSTEM_DEFAULT, static_cast<LCTYPE>(LOCALE_SABBREVMONTHNAME1 + month),
                       wide.data(), static_cast<int>(wide.size()));
    if (got <= 1) continue;
    std::string name = ToAnsi(std::wstring_view(wide.data(), static_cast<std::size_t>(got - 1)));
    if (!name.empty()) names.ShortMonths[static_cast<std::size_t>(month)] = std::move(name);
  }
  std::array<char, 16> separator{};
  const int got = GetLocaleInfoA(LOCALE_SYSTEM_DEFAULT, LOCALE_STIME, separator.data(),
                                 static_cast<int>(separator.size()));
  if (got > 1) names.TimeSeparator.assign(separator.data(), static_cast<std::size_t>(got - 1));
  return names;
}

void StartKeyWatch() {
  Watch.Input = GetStdHandle(STD_INPUT_HANDLE);
  DWORD mode = 0;
  Watch.Console = Watch.Input != nullptr && Watch.Input != INVALID_HANDLE_VALUE &&
                  GetConsoleMode(Watch.Input, &mode) != 0;
  Watch.Keys.clear();
  Watch.Stopping = false;
  if (!Watch.Console) return;
  FlushConsoleInputBuffer(Watch.Input);
  try {
    Watch.Reader = std::thread(ReadKeys);
  } catch (const std::system_error&) {
    // Without a reader no key can be seen, and the wait runs its full length.
    Watch.Console = false;
    return;
  }
  SetConsoleCtrlHandler(StopReaderOnControl, TRUE);
}

bool KeyPressed() {
  if (!Watch.Console) return false;
  const std::lock_guard<std::mutex> guard(Watch.Lock);
  return !Watch.Keys.empty();
}

void StopKeyWatch() {
  if (!Watch.Console) return;
  StopReader();
  SetConsoleCtrlHandler(StopReaderOnControl, FALSE);
  Watch.Keys.clear();
  Watch.Console = false;
}

void ForgetRunState() {
  Streams = {};
  ControlRule.reset();
}

void SleepMilliseconds(int milliseconds) {
  Sleep(milliseconds > 0 ? static_cast<DWORD>(milliseconds) : 0);
}

void Beep() { MessageBeep(0); }

}  // namespace platform
