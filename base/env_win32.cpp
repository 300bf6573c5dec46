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

// An open FindFirstFileA search; FindClose when destroyed.
class Win32Search final : public DirectorySearch {
 public:
  Win32Search(HANDLE handle, const WIN32_FIND_DATAA& data) : handle_(handle) { Take(data); }
  ~Win32Search() override { FindClose(handle_); }
  Win32Search(const Win32Search&) = delete;
  Win32Search& operator=(const Win32Search&) = delete;

  const DirectoryEntry& Current() const override { return current_; }
  bool Next() override {
    WIN32_FIND_DATAA data;
    if (!FindNextFileA(handle_, &data)) return false;
    Take(data);
    return true;
  }

 private:
  void Take(const WIN32_FIND_DATAA& data) {
    current_.name = data.cFileName;
    current_.is_folder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    current_.size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  }

  HANDLE handle_;
  DirectoryEntry current_;
};

// The names of a double-zero-terminated profile list of length bytes.
std::vector<std::string> SplitNames(const std::vector<char>& block, DWORD length) {
  std::vector<std::string> names;
  size_t at = 0;
  while (at < length && block[at] != '\0') {
    size_t end = at;
    while (end < length && block[end] != '\0') ++end;
    names.emplace_back(&block[at], end - at);
    at = end + 1;
  }
  return names;
}

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

class Win32RandomAccessFile final : public RandomAccessFile {
 public:
  Win32RandomAccessFile(HANDLE h, uint64_t size) : h_(h), size_(size) {}
  ~Win32RandomAccessFile() override { CloseHandle(h_); }
  uint64_t Size() const override { return size_; }
  bool Read(uint64_t offset, size_t size, char* buffer) override {
    while (size > 0) {
      // The offset rides in the request, so no file pointer is shared
      // between reads.
      OVERLAPPED at{};
      at.Offset = static_cast<DWORD>(offset);
      at.OffsetHigh = static_cast<DWORD>(offset >> 32);
      DWORD chunk = static_cast<DWORD>(std::min<size_t>(size, 1u << 20)), got = 0;
      if (!::ReadFile(h_, buffer, chunk, &got, &at) || got == 0) return false;
      buffer += got;
      offset += got;
      size -= got;
    }
    return true;
  }

 private:
  HANDLE h_;
  uint64_t size_;
};

// Any address inside this module.
const int env_anchor = 0;

using FinalPathNameFn = DWORD(WINAPI*)(HANDLE, LPSTR, DWORD, DWORD);

// GetFinalPathNameByHandleA, looked up rather than imported: Windows before
// Vista lacks it, and a library importing it would not load there at all.
FinalPathNameFn FinalPathNameService() {
  static const FinalPathNameFn service = reinterpret_cast<FinalPathNameFn>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetFinalPathNameByHandleA")));
  return service;
}

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
  std::unique_ptr<RandomAccessFile> NewRandomAccessFile(const std::string& path) override {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return nullptr;
    LARGE_INTEGER size{};
    std::unique_ptr<RandomAccessFile> file;
    if (GetFileSizeEx(h, &size))
      file.reset(new (std::nothrow) Win32RandomAccessFile(h, static_cast<uint64_t>(size.QuadPart)));
    if (!file) CloseHandle(h);
    return file;
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
  FinalPathResult FinalPath(const std::string& path, std::string* final) override {
    FinalPathNameFn final_path_name = FinalPathNameService();
    if (!final_path_name) return FinalPathResult::kUnknown;
    // No access asked for: such an open neither meets the sharing others
    // chose nor changes anything; backup semantics open folders as well.
    HANDLE h = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
      // Windows reports a link that leads nowhere by its own attributes.
      return GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES
                 ? FinalPathResult::kMissing
                 : FinalPathResult::kUnreachable;
    }
    std::vector<char> buffer(MAX_PATH * 4);
    // 0: the normalized name with its drive letter (FILE_NAME_NORMALIZED,
    // VOLUME_NAME_DOS).
    DWORD n = final_path_name(h, buffer.data(), static_cast<DWORD>(buffer.size()), 0);
    if (n >= buffer.size()) {
      buffer.resize(n + 1);
      n = final_path_name(h, buffer.data(), static_cast<DWORD>(buffer.size()), 0);
    }
    CloseHandle(h);
    if (n == 0 || n >= buffer.size()) return FinalPathResult::kUnreachable;
    final->assign(buffer.data(), n);
    return FinalPathResult::kFound;
  }
  bool IsLink(const std::string& path) override {
    DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_REPARSE_POINT);
  }
  bool CreateNewFile(const std::string& path, const std::string& data) override {
    // CREATE_NEW fails on any name that exists, a link leading nowhere
    // included, so the file never appears at a link's far end.
    return Write(path, data, GENERIC_WRITE, CREATE_NEW, 0);
  }
  bool ReadSharedFile(const std::string& path, size_t max_size, std::string* contents) override {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size{};
    bool ok = GetFileSizeEx(h, &size) && static_cast<uint64_t>(size.QuadPart) <= max_size;
    std::string data;
    if (ok) {
      try {
        data.resize(static_cast<size_t>(size.QuadPart));
      } catch (...) {
        ok = false;
      }
    }
    for (size_t done = 0; ok && done < data.size();) {
      DWORD got = 0;
      DWORD chunk = static_cast<DWORD>(std::min<size_t>(data.size() - done, 1u << 20));
      ok = ::ReadFile(h, &data[done], chunk, &got, nullptr) && got > 0;
      done += got;
    }
    CloseHandle(h);
    if (ok) *contents = std::move(data);
    return ok;
  }
  std::unique_ptr<DirectorySearch> FindFirst(const std::string& mask) override {
    WIN32_FIND_DATAA data;
    HANDLE h = FindFirstFileA(mask.c_str(), &data);
    if (h == INVALID_HANDLE_VALUE) return nullptr;
    return std::make_unique<Win32Search>(h, data);
  }
  std::string ProfileString(const std::string& path, const std::string& section,
                            const std::string& key, const std::string& fallback,
                            size_t capacity) override {
    std::vector<char> buffer(capacity + 1, '\0');
    DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), fallback.c_str(),
                                       buffer.data(), static_cast<DWORD>(capacity), path.c_str());
    return std::string(buffer.data(), std::min<size_t>(n, capacity));
  }
  std::vector<std::string> ProfileSectionNames(const std::string& path, size_t capacity) override {
    return Names(path, nullptr, capacity);
  }
  std::vector<std::string> ProfileKeyNames(const std::string& path, const std::string& section,
                                           size_t capacity) override {
    return Names(path, section.c_str(), capacity);
  }
  bool SetProfileString(const std::string& path, const std::string& section,
                          const std::string& key, const std::string& value) override {
    return WriteProfile(path, section.c_str(), key.c_str(), value.c_str());
  }
  bool DeleteProfileKey(const std::string& path, const std::string& section,
                        const std::string& key) override {
    return WriteProfile(path, section.c_str(), key.c_str(), nullptr);
  }
  bool DeleteProfileSection(const std::string& path, const std::string& section) override {
    return WriteProfile(path, section.c_str(), nullptr, nullptr);
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
  static std::vector<std::string> Names(const std::string& path, const char* section,
                                        size_t capacity) {
    std::vector<char> buffer(capacity + 2, '\0');
    DWORD n = GetPrivateProfileStringA(section, nullptr, "", buffer.data(),
                                       static_cast<DWORD>(capacity), path.c_str());
    return SplitNames(buffer, std::min<DWORD>(n, static_cast<DWORD>(capacity)));
  }
  // A file the system marks read-only is refused before the profile
  // service sees it: that service may keep the changed text in its own
  // cache even when writing the file fails.
  static bool WriteProfile(const std::string& path, const char* section, const char* key,
                           const char* value) {
    DWORD a = GetFileAttributesA(path.c_str());
    if (a != INVALID_FILE_ATTRIBUTES && (a & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
      return false;
    return WritePrivateProfileStringA(section, key, value, path.c_str()) != 0;
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
