// An Env over a fresh temporary folder: a Windows path "C:\a\b.txt" is the
// real file <temp>/C/a/b.txt, so tests work on real files. The clock and the
// locale separators are settable.
#pragma once

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/env.h"
#include "profile_double.h"

namespace korvel {

class TempEnv : public Env {
  struct PositionedFile final : RandomAccessFile {
    PositionedFile(int fd, uint64_t size) : fd(fd), size(size) {}
    ~PositionedFile() override { close(fd); }
    uint64_t Size() const override { return size; }
    bool Read(uint64_t offset, size_t n, char* buffer) override {
      while (n > 0) {
        ssize_t got = pread(fd, buffer, n, static_cast<off_t>(offset));
        if (got <= 0) return false;
        buffer += got;
        offset += static_cast<uint64_t>(got);
        n -= static_cast<size_t>(got);
      }
      return true;
    }
    int fd;
    uint64_t size;
  };

  struct StreamFile final : WritableFile {
    StreamFile(const std::filesystem::path& real, std::streamsize fail_after)
        : out(real, std::ios::binary | std::ios::trunc), room(fail_after) {}
    bool Append(const char* data, size_t size) override {
      auto n = static_cast<std::streamsize>(size);
      if (room >= 0 && n > room) {
        // A disk that fills up: part of the data lands, then the write fails.
        out.write(data, room);
        room = 0;
        return false;
      }
      if (room >= 0) room -= n;
      return out.write(data, n).good();
    }
    bool Close() override {
      out.close();
      return !out.fail();
    }
    std::ofstream out;
    std::streamsize room;
  };

 public:
  TempEnv() {
    std::string pattern = (std::filesystem::temp_directory_path() / "korvel-test-XXXXXX").string();
    root_ = mkdtemp(pattern.data());
    std::filesystem::create_directories(std::filesystem::path(root_) / "C");
    SetEnv(this);
  }
  ~TempEnv() override {
    SetEnv(nullptr);
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
  }

  // The real file behind a Windows path.
  std::filesystem::path Real(const std::string& path) const {
    std::string p = path;
    for (char& c : p)
      if (c == '\\') c = '/';
    if (p.size() >= 2 && p[1] == ':') p = std::string(1, p[0]) + p.substr(2);
    return std::filesystem::path(root_) / std::filesystem::path(p).relative_path();
  }

  bool FileExists(const std::string& path) override {
    std::error_code ec;
    return std::filesystem::is_regular_file(Real(path), ec);
  }
  bool DirectoryExists(const std::string& path) override {
    std::error_code ec;
    return std::filesystem::is_directory(Real(path), ec);
  }
  bool CreateDirectories(const std::string& path) override {
    std::error_code ec;
    std::filesystem::create_directories(Real(path), ec);
    return std::filesystem::is_directory(Real(path), ec);
  }
  // The size, then one read of that many bytes into the string.
  bool ReadFile(const std::string& path, std::string* contents) override {
    std::unique_ptr<RandomAccessFile> file = NewRandomAccessFile(path);
    if (!file) return false;
    std::string data(static_cast<size_t>(file->Size()), '\0');
    if (!file->Read(0, data.size(), data.data())) return false;
    *contents = std::move(data);
    return true;
  }
  std::unique_ptr<RandomAccessFile> NewRandomAccessFile(const std::string& path) override {
    if (fail_reads || !FileExists(path)) return nullptr;
    int fd = open(Real(path).c_str(), O_RDONLY | O_CLOEXEC);
    struct stat st{};
    if (fd < 0) return nullptr;
    if (fstat(fd, &st) != 0) {
      close(fd);
      return nullptr;
    }
    return std::make_unique<PositionedFile>(fd, static_cast<uint64_t>(st.st_size));
  }
  bool WriteFile(const std::string& path, const std::string& data) override {
    if (fail_writes) return false;
    if (fail_after_bytes >= 0) {
      // A disk that fills up: part of the data lands, then the write fails.
      std::ofstream out(Real(path), std::ios::binary | std::ios::trunc);
      out.write(data.data(), std::min<std::streamsize>(fail_after_bytes, data.size()));
      return false;
    }
    std::ofstream out(Real(path), std::ios::binary | std::ios::trunc);
    return out && out.write(data.data(), static_cast<std::streamsize>(data.size())).good();
  }
  // Writes through to the real file, as the game's environment does; the
  // failure switches of WriteFile apply.
  std::unique_ptr<WritableFile> NewWritableFile(const std::string& path) override {
    if (fail_writes) return nullptr;
    auto file = std::make_unique<StreamFile>(Real(path), fail_after_bytes);
    if (!file->out) return nullptr;
    return file;
  }
  // With the system's own calls, as the game's environment does: no stream
  // buffer comes and goes on the heap for a log line.
  bool AppendFile(const std::string& path, const std::string& data) override {
    if (fail_writes) return false;
    int fd = open(Real(path).c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    bool ok = true;
    for (size_t done = 0; ok && done < data.size();) {
      ssize_t n = write(fd, data.data() + done, data.size() - done);
      ok = n > 0;
      done += ok ? static_cast<size_t>(n) : 0;
    }
    return close(fd) == 0 && ok;
  }
  bool RemoveFile(const std::string& path) override {
    std::error_code ec;
    return FileExists(path) && std::filesystem::remove(Real(path), ec);
  }
  bool RenameFile(const std::string& from, const std::string& to) override {
    std::error_code ec;
    if (!FileExists(from) || std::filesystem::exists(Real(to), ec)) return false;
    std::filesystem::rename(Real(from), Real(to), ec);
    return !ec;
  }
  int64_t FileSize(const std::string& path) override {
    std::error_code ec;
    if (!FileExists(path)) return -1;
    return static_cast<int64_t>(std::filesystem::file_size(Real(path), ec));
  }
  bool FullPath(const std::string& path, std::string* full) override {
    // Collapses "." and ".." the way GetFullPathName does for a drive path.
    std::string out;
    std::string p = path;
    for (char& c : p)
      if (c == '/') c = '\\';
    size_t start = 0;
    std::string result;
    std::vector<std::string> parts;
    if (p.size() >= 2 && p[1] == ':') {
      result = p.substr(0, 2);
      start = 2;
    } else {
      return false;
    }
    std::stringstream ss(p.substr(start));
    std::string part;
    while (std::getline(ss, part, '\\')) {
      if (part.empty() || part == ".") continue;
      if (part == "..") {
        if (!parts.empty()) parts.pop_back();
        continue;
      }
      parts.push_back(part);
    }
    for (const std::string& s : parts) result += "\\" + s;
    if (parts.empty() || (!p.empty() && p.back() == '\\')) result += "\\";
    *full = result;
    return true;
  }
  // Where the file system really puts path, links followed, spelt as a
  // Windows final path ("\\?\C:\..."); a place outside the temporary
  // folder is spelt "\\?\UNIX\...". A link that leads nowhere is seen,
  // by its own name, as Windows sees it.
  FinalPathResult FinalPath(const std::string& path, std::string* final) override {
    if (final_paths_unknown) return FinalPathResult::kUnknown;
    std::error_code ec;
    std::filesystem::path real = Real(path);
    if (!std::filesystem::exists(std::filesystem::symlink_status(real, ec)))
      return FinalPathResult::kMissing;
    std::filesystem::path where = std::filesystem::canonical(real, ec);
    if (ec) return FinalPathResult::kUnreachable;
    std::filesystem::path inside = where.lexically_relative(std::filesystem::canonical(root_, ec));
    std::string text;
    if (ec || inside.empty() || *inside.begin() == "..") {
      text = "\\\\?\\UNIX" + where.string();
    } else {
      std::string rest = inside.string();
      text = "\\\\?\\" + rest.substr(0, 1) + ":" + (rest.size() > 1 ? rest.substr(1) : "/");
    }
    for (char& c : text)
      if (c == '/') c = '\\';
    *final = text;
    return FinalPathResult::kFound;
  }
  bool IsLink(const std::string& path) override {
    std::error_code ec;
    return std::filesystem::is_symlink(std::filesystem::symlink_status(Real(path), ec));
  }
  // O_EXCL: fails on any name that exists, a link that leads nowhere too.
  bool CreateNewFile(const std::string& path, const std::string& data) override {
    if (fail_writes) return false;
    int fd = ::open(Real(path).c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    if (fd < 0) return false;
    bool ok = ::write(fd, data.data(), data.size()) == static_cast<ssize_t>(data.size());
    return ::close(fd) == 0 && ok;
  }
  // A link at path (a Windows path in the temporary folder) to target,
  // given as a Windows path too or, when relative, as the link's own text.
  void Link(const std::string& path, const std::string& target) {
    std::filesystem::path to = target.size() > 1 && target[1] == ':' ? Real(target) : [&] {
      std::string t = target;
      for (char& c : t)
        if (c == '\\') c = '/';
      return std::filesystem::path(t);
    }();
    std::filesystem::create_symlink(to, Real(path));
  }
  bool ReadSharedFile(const std::string& path, size_t max_size, std::string* contents) override {
    if (!FileExists(path) || FileSize(path) > static_cast<int64_t>(max_size)) return false;
    return ReadFile(path, contents);
  }
  std::unique_ptr<DirectorySearch> FindFirst(const std::string& mask) override {
    size_t cut = mask.find_last_of('\\');
    std::string folder = mask.substr(0, cut == std::string::npos ? 0 : cut);
    std::string pattern = mask.substr(cut == std::string::npos ? 0 : cut + 1);
    std::error_code ec;
    if (!std::filesystem::is_directory(Real(folder), ec)) return nullptr;
    std::vector<DirectoryEntry> entries = {{".", true, 0}, {"..", true, 0}};
    for (const auto& e : std::filesystem::directory_iterator(Real(folder), ec)) {
      bool is_folder = e.is_directory(ec);
      uint64_t size = is_folder ? 0 : e.file_size(ec);
      if (size_of.count(e.path().filename().string())) size = size_of[e.path().filename().string()];
      entries.push_back({e.path().filename().string(), is_folder, size});
    }
    std::sort(entries.begin() + 2, entries.end(), [](const DirectoryEntry& a, const DirectoryEntry& b) {
      return profile_double::Lower(a.name) < profile_double::Lower(b.name);
    });
    std::vector<DirectoryEntry> matching;
    for (const DirectoryEntry& e : entries)
      if (Matches(profile_double::Lower(pattern), profile_double::Lower(e.name))) matching.push_back(e);
    if (matching.empty()) return nullptr;
    return std::make_unique<ListSearch>(std::move(matching));
  }
  std::string ProfileString(const std::string& path, const std::string& section, const std::string& key,
                            const std::string& fallback, size_t capacity) override {
    std::string value = fallback;
    profile_double::Find(Text(path), section, key, &value);
    return value.substr(0, capacity - 1);
  }
  std::vector<std::string> ProfileSectionNames(const std::string& path, size_t) override {
    return profile_double::SectionNames(Text(path));
  }
  std::vector<std::string> ProfileKeyNames(const std::string& path, const std::string& section,
                                           size_t) override {
    return profile_double::KeyNames(Text(path), section);
  }
  bool SetProfileString(const std::string& path, const std::string& section, const std::string& key,
                          const std::string& value) override {
    return WriteFile(path, profile_double::Write(Text(path), section, &key, &value));
  }
  bool DeleteProfileKey(const std::string& path, const std::string& section,
                        const std::string& key) override {
    return WriteFile(path, profile_double::Write(Text(path), section, &key, nullptr));
  }
  bool DeleteProfileSection(const std::string& path, const std::string& section) override {
    return WriteFile(path, profile_double::Write(Text(path), section, nullptr, nullptr));
  }
  LocalTime Now() override { return now; }
  char DateSeparator() override { return date_separator; }
  char TimeSeparator() override { return time_separator; }

  LocalTime now{2026, 12, 9, 15, 4, 5, 67};
  char date_separator = '/';
  char time_separator = ':';
  bool fail_writes = false;
  bool fail_reads = false;  // a file that exists but cannot be opened
  bool final_paths_unknown = false;  // a system without final paths
  std::streamsize fail_after_bytes = -1;
  // Sizes a search reports instead of the real ones (files past 2 GiB).
  std::map<std::string, uint64_t> size_of;

 private:
  class ListSearch : public DirectorySearch {
   public:
    explicit ListSearch(std::vector<DirectoryEntry> entries) : entries_(std::move(entries)) {}
    const DirectoryEntry& Current() const override { return entries_[at_]; }
    bool Next() override { return at_ + 1 < entries_.size() && ++at_ > 0; }

   private:
    std::vector<DirectoryEntry> entries_;
    size_t at_ = 0;
  };
  // "*" any run of characters, "?" one character.
  static bool Matches(const std::string& pattern, const std::string& name) {
    size_t p = 0, n = 0, star = std::string::npos, mark = 0;
    while (n < name.size()) {
      if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == name[n])) {
        ++p, ++n;
      } else if (p < pattern.size() && pattern[p] == '*') {
        star = p++, mark = n;
      } else if (star != std::string::npos) {
        p = star + 1, n = ++mark;
      } else {
        return false;
      }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
  }
  std::string Text(const std::string& path) {
    std::string text;
    ReadFile(path, &text);
    return text;
  }
  std::string root_;
};

}  // namespace korvel
