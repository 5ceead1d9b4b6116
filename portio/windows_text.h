// UTF-8 (the port driver's strings) to and from UTF-16 (the Windows API's).
#ifndef DLPORTIO_WINDOWS_TEXT_H
#define DLPORTIO_WINDOWS_TEXT_H

#include <windows.h>

#include <string>

namespace dlportio {

inline std::wstring wide(const std::string &text) {
    const int length = static_cast<int>(text.size());
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), length, nullptr, 0);
    std::wstring result(static_cast<std::size_t>(size > 0 ? size : 0), L'\0');
    if (size > 0) MultiByteToWideChar(CP_UTF8, 0, text.data(), length, result.data(), size);
    return result;
}

inline std::string utf8(const std::wstring &text) {
    const int length = static_cast<int>(text.size());
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    if (size > 0) WideCharToMultiByte(CP_UTF8, 0, text.data(), length, result.data(), size, nullptr, nullptr);
    return result;
}

}  // namespace dlportio

#endif
