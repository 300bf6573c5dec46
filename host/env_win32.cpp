#include "host/env_win32.h"

#include <windows.h>

namespace korvel {
namespace {

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
  bool CreateDirectories(const std::string&) override { return false; }
  bool ReadFile(const std::string&, std::string*) override { return false; }
  bool WriteFile(const std::string& path, const std::string& data) override {
    return Write(path, data, CREATE_ALWAYS, false);
  }
  bool AppendFile(const std::string& path, const std::string& data) override {
    return Write(path, data, OPEN_ALWAYS, true);
  }
  bool RemoveFile(const std::string& path) override { return ::DeleteFileA(path.c_str()) != 0; }
  bool RenameFile(const std::string& from, const std::string& to) override {
    return ::MoveFileA(from.c_str(), to.c_str()) != 0;
  }
  int64_t FileSize(const std::string&) override { return -1; }
  bool FullPath(const std::string&, std::string*) override { return false; }
  LocalTime Now() override {
    SYSTEMTIME t;
    GetLocalTime(&t);
    return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds};
  }
  char DateSeparator() override { return '/'; }
  char TimeSeparator() override { return ':'; }

 private:
  static bool Write(const std::string& path, const std::string& data, DWORD disposition, bool append) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, disposition,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    if (append) SetFilePointer(h, 0, nullptr, FILE_END);
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
