// One line for an exception that reached an entry point of Tarnix.exe.
#include <cstdio>
#include <exception>
#include <new>
#include <string>

#include "app/unexpected_failure.h"
#include "platform/platform.h"

namespace {

// The exception's own text, widened byte by byte (it is ASCII for the standard library's).
std::wstring WhatOf(std::exception_ptr failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const std::bad_alloc&) {
        return L"out of memory";
    } catch (const std::exception& e) {
        std::wstring text;
        for (const char* p = e.what(); *p != '\0' && text.size() < 200; ++p)
            text.push_back(wchar_t(static_cast<unsigned char>(*p)));
        return text;
    } catch (...) {
        return L"an exception of unknown type";
    }
}

}  // namespace

void ReportUnexpectedFailure(const wchar_t* where) {
    std::wstring line = L"Tarnix.exe: stopped by an unexpected failure in ";
    line += where;
    line += L": ";
    line += WhatOf(std::current_exception());
    PlatformTrace((line + L"\n").c_str());
    std::fprintf(stderr, "%ls\n", line.c_str());
    std::fflush(stderr);
}
