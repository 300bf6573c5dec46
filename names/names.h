// ObNames: the register of fixed display names. Each record keeps the
// override and the name the object had before its first override, so that
// ResetName, the co-save and the reset point can put it back.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace korvel {

class TName {
 public:
  TName(uint32_t form_id, std::string name, std::string former_name)
      : FormID(form_id), Name(std::move(name)), FormerName(std::move(former_name)) {}
  uint32_t FormID;
  std::string Name;
  std::string FormerName;
};

class NameRegister {
 public:
  // Gives the object of the pair (calling reference, base) the name and
  // records it; the pair's form id is the base's, else the reference's.
  void SetOverride(void* reference, void* base, const std::string& name);
  void ResetOverride(void* object);
  bool HasOverride(void* object) const;
  // Puts every former name back and empties the register.
  void ClearAll();
  const std::vector<std::unique_ptr<TName>>& records() const { return records_; }
  bool empty() const { return records_.empty(); }

 private:
  TName* Find(uint32_t form_id) const;
  std::vector<std::unique_ptr<TName>> records_;
};

NameRegister& GetNames();

inline bool HasNameOverrides() { return !GetNames().empty(); }
inline void ClearNameOverrides() { GetNames().ClearAll(); }

}  // namespace korvel
