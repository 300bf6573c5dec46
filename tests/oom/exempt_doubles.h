// The native test doubles with every call made outside the failing
// allocator's reach, as the game's own file system and engine are.
#pragma once

#include "failing_allocator.h"
#include "fake_engine.h"
#include "temp_env.h"

namespace korvel {

class ExemptFile final : public WritableFile {
 public:
  explicit ExemptFile(std::unique_ptr<WritableFile> file) : file_(std::move(file)) {}
  ~ExemptFile() override {
    oom::Exempt e;
    file_.reset();
  }
  bool Append(const char* data, size_t size) override {
    oom::Exempt e;
    return file_->Append(data, size);
  }
  bool Close() override {
    oom::Exempt e;
    return file_->Close();
  }

 private:
  std::unique_ptr<WritableFile> file_;
};

class ExemptRandomAccessFile final : public RandomAccessFile {
 public:
  explicit ExemptRandomAccessFile(std::unique_ptr<RandomAccessFile> file) : file_(std::move(file)) {}
  ~ExemptRandomAccessFile() override {
    oom::Exempt e;
    file_.reset();
  }
  uint64_t Size() const override { return file_->Size(); }
  bool Read(uint64_t offset, size_t size, char* buffer) override {
    oom::Exempt e;
    return file_->Read(offset, size, buffer);
  }

 private:
  std::unique_ptr<RandomAccessFile> file_;
};

class ExemptEnv final : public TempEnv {
 public:
#define KORVEL_EXEMPT(ret, name, params, args) \
  ret name params override {                   \
    oom::Exempt e;                             \
    return TempEnv::name args;                 \
  }
  KORVEL_EXEMPT(bool, FileExists, (const std::string& p), (p))
  KORVEL_EXEMPT(bool, DirectoryExists, (const std::string& p), (p))
  KORVEL_EXEMPT(bool, CreateDirectories, (const std::string& p), (p))
  KORVEL_EXEMPT(bool, ReadFile, (const std::string& p, std::string* c), (p, c))
  KORVEL_EXEMPT(bool, WriteFile, (const std::string& p, const std::string& d), (p, d))
  KORVEL_EXEMPT(bool, AppendFile, (const std::string& p, const std::string& d), (p, d))
  KORVEL_EXEMPT(bool, RemoveFile, (const std::string& p), (p))
  KORVEL_EXEMPT(bool, RenameFile, (const std::string& a, const std::string& b), (a, b))
  KORVEL_EXEMPT(int64_t, FileSize, (const std::string& p), (p))
  KORVEL_EXEMPT(bool, FullPath, (const std::string& p, std::string* f), (p, f))
  bool ReadFileRange(const std::string& p, uint64_t offset, size_t size,
                     std::string* c) override {
    oom::Exempt e;
    return TempEnv::ReadFileRange(p, offset, size, c);
  }
#undef KORVEL_EXEMPT
  // The handle is the file system's; the wrapper around it is ours, as a
  // real environment's would be, so its allocation may fail.
  std::unique_ptr<RandomAccessFile> NewRandomAccessFile(const std::string& path) override {
    std::unique_ptr<RandomAccessFile> file;
    {
      oom::Exempt e;
      file = TempEnv::NewRandomAccessFile(path);
    }
    if (!file) return nullptr;
    auto wrapped = std::make_unique<ExemptRandomAccessFile>(std::move(file));
    return wrapped;
  }
  std::unique_ptr<WritableFile> NewWritableFile(const std::string& path) override {
    oom::Exempt e;
    std::unique_ptr<WritableFile> file = TempEnv::NewWritableFile(path);
    if (!file) return nullptr;
    return std::make_unique<ExemptFile>(std::move(file));
  }
};

class ExemptEngine final : public FakeEngine {
 public:
  void NoticeBox(const std::string& text, const std::string& button) override {
    oom::Exempt e;
    FakeEngine::NoticeBox(text, button);
  }
  void* LookupForm(uint32_t form_id) override {
    oom::Exempt e;
    return FakeEngine::LookupForm(form_id);
  }
  void SetName(void* reference, void* base, const std::string& name) override {
    oom::Exempt e;
    FakeEngine::SetName(reference, base, name);
  }
  std::string GetName(void* reference, void* base) override {
    oom::Exempt e;
    return FakeEngine::GetName(reference, base);
  }
};

}  // namespace korvel
