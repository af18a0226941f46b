// Test helpers of the Win32 build: the debugger channel captured in-process, registry scratch keys.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "platform/debug_trace.h"

// Collects every string the process sends to the debugger channel while it exists. The channel
// is an exception (DBG_PRINTEXCEPTION_C / _WIDE_C) that a vectored handler sees first.
class DebuggerChannelCapture {
  public:
    DebuggerChannelCapture() {
        Wide().clear();
        Narrow().clear();
        handler_ = AddVectoredExceptionHandler(1, &Handler);
    }
    ~DebuggerChannelCapture() { RemoveVectoredExceptionHandler(handler_); }

    // The captured strings; the wide ones when the platform sends wide text, else the narrow ones.
    std::vector<std::wstring> Lines() const { return Wide().empty() ? Narrow() : Wide(); }
    std::wstring Joined() const {
        std::wstring all;
        for (const auto& line : Lines()) all += line;
        return all;
    }

  private:
    static constexpr DWORD kNarrowPrint = 0x40010006;
    static constexpr DWORD kWidePrint = 0x4001000A;
    static std::vector<std::wstring>& Wide() {
        static std::vector<std::wstring> lines;
        return lines;
    }
    static std::vector<std::wstring>& Narrow() {
        static std::vector<std::wstring> lines;
        return lines;
    }
    static LONG CALLBACK Handler(EXCEPTION_POINTERS* info) {
        const EXCEPTION_RECORD* record = info->ExceptionRecord;
        if (record->NumberParameters < 2) return EXCEPTION_CONTINUE_SEARCH;
        if (record->ExceptionCode == kWidePrint) {
            Wide().emplace_back(reinterpret_cast<const wchar_t*>(record->ExceptionInformation[1]));
        } else if (record->ExceptionCode == kNarrowPrint) {
            const char* text = reinterpret_cast<const char*>(record->ExceptionInformation[1]);
            Narrow().emplace_back(text, text + strlen(text));
        }
        return EXCEPTION_CONTINUE_SEARCH;
    }
    void* handler_;
};

// Sets (or with absent, deletes) HKLM\Software\Quvatec "EnableDebug" and forgets the value read.
inline void SetEnableDebug(DWORD value, bool absent = false) {
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Quvatec", 0, nullptr, 0, KEY_ALL_ACCESS,
                    nullptr, &key, nullptr);
    if (absent) {
        RegDeleteValueW(key, L"EnableDebug");
    } else {
        RegSetValueExW(key, L"EnableDebug", 0, REG_DWORD, reinterpret_cast<BYTE*>(&value),
                       sizeof value);
    }
    RegCloseKey(key);
    DebugState = -1;
}

// A scratch key HKCU\Software\TarnixTest\<name>, empty at the start and removed at the end.
class ScratchKey {
  public:
    explicit ScratchKey(const std::wstring& name) : path_(L"Software\\TarnixTest\\" + name) {
        RegDeleteTreeW(HKEY_CURRENT_USER, path_.c_str());
        RegCreateKeyExW(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &key_, nullptr);
    }
    ~ScratchKey() {
        RegCloseKey(key_);
        RegDeleteTreeW(HKEY_CURRENT_USER, path_.c_str());
    }
    HKEY Key() const { return key_; }
    const std::wstring& Path() const { return path_; }
    void SetText(const wchar_t* name, const std::wstring& text) const {
        RegSetValueExW(key_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    }
    void SetNumber(const wchar_t* name, DWORD number) const {
        RegSetValueExW(key_, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                       sizeof number);
    }
    DWORD ValueCount() const {
        DWORD count = 0;
        RegQueryInfoKeyW(key_, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count,
                         nullptr, nullptr, nullptr, nullptr);
        return count;
    }
    std::wstring Text(const wchar_t* name) const {
        wchar_t text[600] = L"";
        DWORD size = sizeof text - sizeof(wchar_t);
        if (RegQueryValueExW(key_, name, nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size) !=
            ERROR_SUCCESS) {
            return L"<absent>";
        }
        return text;
    }

  private:
    std::wstring path_;
    HKEY key_ = nullptr;
};
