// Operating-system services the portable core needs: files, folders, full
// path resolution and the local clock with the user's locale separators.
// env_win32.cpp holds the real implementation; native tests use a test
// double over a temporary folder. Paths are Windows paths ("\" separators).
// No method throws; each reports failure through its result.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace korvel {

struct LocalTime {
  int year, month, day, hour, minute, second, millisecond;
};

// What FinalPath found.
enum class FinalPathResult {
  kFound,        // the final path was written
  kMissing,      // nothing has that name
  kUnreachable,  // something has that name but cannot be opened: a link
                 // that leads nowhere, or an object the user may not see
  kUnknown,      // the system cannot tell final paths; IsLink tells links
};

// One entry of a directory search: its bare name (no folder part).
struct DirectoryEntry {
  std::string name;
  bool is_folder = false;
  uint64_t size = 0;
};

// An open directory search (FindFirstFile); closed when destroyed.
class DirectorySearch {
 public:
  virtual ~DirectorySearch() = default;
  virtual const DirectoryEntry& Current() const = 0;
  // Moves to the next entry; false when there is none (Current is then stale).
  virtual bool Next() = 0;
};

// A file written from its start in pieces. Destroying it without Close
// closes the handle and reports nothing; the caller removes what is left.
class WritableFile {
 public:
  virtual ~WritableFile() = default;
  // Writes size bytes at the end of what was written; false on any failure.
  virtual bool Append(const char* data, size_t size) = 0;
  // Completes the file; false when the last bytes could not be written.
  virtual bool Close() = 0;
};

// A file read in pieces at any offset; closed when destroyed.
class RandomAccessFile {
 public:
  virtual ~RandomAccessFile() = default;
  // The file's size when it was opened.
  virtual uint64_t Size() const = 0;
  // Reads exactly size bytes from offset into buffer; false when they
  // cannot all be read.
  virtual bool Read(uint64_t offset, size_t size, char* buffer) = 0;
};

class Env {
 public:
  virtual ~Env() = default;

  // True when path names an existing file (not a folder).
  virtual bool FileExists(const std::string& path) = 0;
  // True when path names an existing folder.
  virtual bool DirectoryExists(const std::string& path) = 0;
  // Creates the folder and every missing parent; true when it exists after.
  virtual bool CreateDirectories(const std::string& path) = 0;
  // Reads the whole file; false when it cannot be opened or read.
  virtual bool ReadFile(const std::string& path, std::string* contents) = 0;
  // Reads at most size bytes from offset (fewer at the end of the file);
  // false when the file cannot be opened or read.
  virtual bool ReadFileRange(const std::string& path, uint64_t offset, size_t size,
                             std::string* contents) {
    std::string all;
    if (!ReadFile(path, &all)) return false;
    *contents = offset < all.size() ? all.substr(static_cast<size_t>(offset), size) : std::string();
    return true;
  }
  // Opens an existing file for reads at any offset, sharing reading with
  // others; null when it cannot be opened or its size cannot be had. The
  // default reads the whole file at once, for test doubles; the real
  // environment reads only what is asked, so the memory a read needs does
  // not grow with the file.
  virtual std::unique_ptr<RandomAccessFile> NewRandomAccessFile(const std::string& path);
  // Creates or truncates the file and writes data; false on any failure.
  virtual bool WriteFile(const std::string& path, const std::string& data) = 0;
  // Creates or truncates the file for writing in pieces; null when it
  // cannot be created. The default gathers the pieces and hands them to
  // WriteFile on Close, for test doubles; the real environment writes
  // through, so the memory a write needs does not grow with the file.
  virtual std::unique_ptr<WritableFile> NewWritableFile(const std::string& path);
  // Appends data, creating the file when missing; false on any failure.
  virtual bool AppendFile(const std::string& path, const std::string& data) = 0;
  virtual bool RemoveFile(const std::string& path) = 0;
  // Moves a file; fails when the target exists.
  virtual bool RenameFile(const std::string& from, const std::string& to) = 0;
  // Size in bytes, or -1 when the file does not exist.
  virtual int64_t FileSize(const std::string& path) = 0;
  // The fully resolved absolute form of path (GetFullPathName); false when
  // it cannot be resolved. Textual only: links on the way are not followed.
  virtual bool FullPath(const std::string& path, std::string* full) = 0;

  // Where the existing file or folder at path really lies: the path of the
  // opened object as the file system reports it, every link and junction on
  // the way followed (GetFinalPathNameByHandle). The default, for doubles
  // that know no links, is the textual full path of what exists.
  virtual FinalPathResult FinalPath(const std::string& path, std::string* final) {
    if (!FileExists(path) && !DirectoryExists(path)) return FinalPathResult::kMissing;
    return FullPath(path, final) ? FinalPathResult::kFound : FinalPathResult::kUnreachable;
  }
  // True when path itself is a link or a junction (a reparse point). Asked
  // only where FinalPath answers kUnknown.
  virtual bool IsLink(const std::string&) { return false; }
  // Creates a new file holding data. Fails, creating nothing, when anything
  // already has that name, a link that leads nowhere included: the new file
  // is never made at the far end of a link. False on any failure.
  virtual bool CreateNewFile(const std::string& path, const std::string& data) {
    if (FileExists(path) || DirectoryExists(path)) return false;
    return WriteFile(path, data);
  }

  // Reads the whole file, opened only when it exists and sharing read,
  // write and delete with others; false when it cannot be opened, its size
  // cannot be had, it holds more than max_size bytes or reading fails.
  virtual bool ReadSharedFile(const std::string&, size_t, std::string*) { return false; }
  // Starts a search for a mask ("*" and "?" as wildcards) admitting every
  // kind of entry, "." and ".." included; null when nothing matches.
  virtual std::unique_ptr<DirectorySearch> FindFirst(const std::string&) { return nullptr; }

  // INI files, through the platform's profile services (their syntax and
  // letter-case rules). Every call opens the file, does one thing and
  // closes it. A missing file reads as empty.
  // The value of a key, at most capacity - 1 characters; fallback when the
  // key is missing.
  virtual std::string ProfileString(const std::string&, const std::string&, const std::string&,
                                    const std::string& fallback, size_t) {
    return fallback;
  }
  // Section names in file order, or the key names of one section, from a
  // block of at most capacity characters.
  virtual std::vector<std::string> ProfileSectionNames(const std::string&, size_t) { return {}; }
  virtual std::vector<std::string> ProfileKeyNames(const std::string&, const std::string&, size_t) {
    return {};
  }
  // Each false when the platform refused; the file is then unchanged.
  virtual bool SetProfileString(const std::string& /*path*/, const std::string& /*section*/,
                                  const std::string& /*key*/, const std::string& /*value*/) {
    return false;
  }
  virtual bool DeleteProfileKey(const std::string&, const std::string&, const std::string&) {
    return false;
  }
  virtual bool DeleteProfileSection(const std::string&, const std::string&) { return false; }
  // The system locale's upper-casing of the 8-bit character set: entry c is
  // the upper case of character c. Without a locale only a to z change.
  virtual void UpperCaseTable(uint8_t table[256]) {
    for (int c = 0; c < 256; ++c)
      table[c] = static_cast<uint8_t>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
  }
  // The named RCDATA resource of the library itself; false when missing.
  virtual bool Resource(const std::string& name, std::string* data) {
    (void)name;
    (void)data;
    return false;
  }
  // A changing number to seed the pseudo-random generator with: the
  // high-resolution performance counter, else the tick count.
  virtual uint64_t RandomSeedSource() { return 0; }

  virtual LocalTime Now() = 0;
  virtual char DateSeparator() = 0;
  virtual char TimeSeparator() = 0;
};

// The process-wide environment; tests install their own.
Env& GetEnv();
void SetEnv(Env* env);

}  // namespace korvel
