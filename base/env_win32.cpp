#include "base/env_win32.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <new>
#include <string>
#include <vector>

namespace korvel {
namespace {

// Writes straight to the file: the memory a write needs is the caller's
// piece, whatever the file's size.
class Win32WritableFile final : public WritableFile {
 public:
  explicit Win32WritableFile(HANDLE h) : h_(h) {}
  ~Win32WritableFile() override {
    if (h_ != INVALID_HANDLE_VALUE) CloseHandle(h_);
  }
  bool Append(const char* data, size_t size) override {
    while (size > 0) {
      DWORD chunk = static_cast<DWORD>(std::min<size_t>(size, 1u << 20)), written = 0;
      if (!::WriteFile(h_, data, chunk, &written, nullptr) || written != chunk) return false;
      data += chunk;
      size -= chunk;
    }
    return true;
  }
  bool Close() override {
    HANDLE h = h_;
    h_ = INVALID_HANDLE_VALUE;
    return CloseHandle(h) != 0;
  }

 private:
  HANDLE h_;
};

// Any address inside this module.
const int env_anchor = 0;

class Win32EnvImpl final : public Env {
 public:
  bool FileExists(const std::string& path) override {
    DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
  }
  bool DirectoryExists(const std::string& path) override {
    DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
  }
  bool CreateDirectories(const std::string& path) override {
    if (path.empty()) return false;
    std::string folder = path;
    while (folder.size() > 1 && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
    // Up to the deepest folder that exists, then the missing ones downwards;
    // a loop, not recursion, so a very deep path cannot exhaust the stack.
    std::vector<std::string> missing;
    while (!folder.empty() && !DirectoryExists(folder)) {
      missing.push_back(folder);
      size_t cut = folder.find_last_of("\\/");
      if (cut == std::string::npos || cut == 0 || folder[cut - 1] == ':') break;
      folder.resize(cut);
    }
    for (auto it = missing.rbegin(); it != missing.rend(); ++it)
      if (!CreateDirectoryA(it->c_str(), nullptr) && !DirectoryExists(*it)) return false;
    return true;
  }
  bool ReadFile(const std::string& path, std::string* contents) override {
    return ReadFileRange(path, 0, SIZE_MAX, contents);
  }
  bool ReadFileRange(const std::string& path, uint64_t offset, size_t size,
                     std::string* contents) override {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER file_size{}, to{};
    bool ok = GetFileSizeEx(h, &file_size);
    to.QuadPart = static_cast<LONGLONG>(offset);
    ok = ok && SetFilePointerEx(h, to, nullptr, FILE_BEGIN);
    std::string data;
    if (ok && static_cast<uint64_t>(file_size.QuadPart) > offset) {
      uint64_t available = static_cast<uint64_t>(file_size.QuadPart) - offset;
      size_t want = static_cast<size_t>(std::min<uint64_t>(available, size));
      try {
        data.resize(want);
      } catch (...) {
        ok = false;
      }
      size_t done = 0;
      while (ok && done < want) {
        DWORD got = 0;
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(want - done, 1u << 20));
        ok = ::ReadFile(h, &data[done], chunk, &got, nullptr) && got > 0;
        done += got;
      }
    }
    CloseHandle(h);
    if (ok) *contents = std::move(data);
    return ok;
  }
  bool WriteFile(const std::string& path, const std::string& data) override {
    // Opened exclusively: nobody reads a file written whole half-way.
    return Write(path, data, GENERIC_WRITE, CREATE_ALWAYS, 0);
  }
  std::unique_ptr<WritableFile> NewWritableFile(const std::string& path) override {
    // Opened exclusively: nobody reads a file written whole half-way.
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return nullptr;
    std::unique_ptr<WritableFile> file(new (std::nothrow) Win32WritableFile(h));
    if (!file) CloseHandle(h);
    return file;
  }
  bool AppendFile(const std::string& path, const std::string& data) override {
    // Append access: every write lands at the end of the file, whatever its
    // size, and never over its start.
    return Write(path, data, FILE_APPEND_DATA, OPEN_ALWAYS, FILE_SHARE_READ);
  }
  bool RemoveFile(const std::string& path) override { return ::DeleteFileA(path.c_str()) != 0; }
  bool RenameFile(const std::string& from, const std::string& to) override {
    return ::MoveFileA(from.c_str(), to.c_str()) != 0;
  }
  int64_t FileSize(const std::string& path) override {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
      return -1;
    return (static_cast<int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  }
  bool FullPath(const std::string& path, std::string* full) override {
    char buffer[MAX_PATH * 4];
    DWORD n = GetFullPathNameA(path.c_str(), sizeof buffer, buffer, nullptr);
    if (n == 0 || n >= sizeof buffer) return false;
    full->assign(buffer, n);
    return true;
  }
  LocalTime Now() override {
    SYSTEMTIME t;
    GetLocalTime(&t);
    return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds};
  }
  char DateSeparator() override { return LocaleChar(LOCALE_SDATE, '/'); }
  char TimeSeparator() override { return LocaleChar(LOCALE_STIME, ':'); }
  void UpperCaseTable(uint8_t table[256]) override {
    char chars[256];
    for (int c = 0; c < 256; ++c) chars[c] = static_cast<char>(c);
    // Character 0 would end the text; CharUpperBuff takes a length instead.
    CharUpperBuffA(chars, 256);
    for (int c = 0; c < 256; ++c) table[c] = static_cast<uint8_t>(chars[c]);
  }
  bool Resource(const std::string& name, std::string* data) override {
    // The resource lies in the module this code is linked into (the DLL),
    // not in the game executable.
    HMODULE self = nullptr;
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCSTR>(&env_anchor), &self))
      return false;
    HRSRC found = FindResourceA(self, name.c_str(), MAKEINTRESOURCEA(10));  // RT_RCDATA
    if (!found) return false;
    HGLOBAL loaded = LoadResource(self, found);
    DWORD size = SizeofResource(self, found);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes) return false;
    data->assign(static_cast<const char*>(bytes), size);
    return true;
  }
  uint64_t RandomSeedSource() override {
    LARGE_INTEGER counter;
    if (QueryPerformanceCounter(&counter)) return static_cast<uint64_t>(counter.QuadPart);
    return GetTickCount();
  }

 private:
  static char LocaleChar(LCTYPE type, char fallback) {
    char buffer[8] = {};
    return GetLocaleInfoA(LOCALE_USER_DEFAULT, type, buffer, sizeof buffer) > 1 ? buffer[0] : fallback;
  }
  static bool Write(const std::string& path, const std::string& data, DWORD access, DWORD disposition,
                    DWORD share) {
    HANDLE h = CreateFileA(path.c_str(), access, share, nullptr, disposition,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok = ::WriteFile(h, data.data(), static_cast<DWORD>(data.size()), &written, nullptr) &&
              written == data.size();
    CloseHandle(h);
    return ok;
  }
};

Win32EnvImpl env;

}  // namespace

Env* Win32Env() { return &env; }

}  // namespace korvel
