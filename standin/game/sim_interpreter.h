// The sim script interpreter: variables, the calling script and reference,
// and command calls through the host's registered records. Every line that
// is not a command call is a directive (sim_directives.cpp).
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "game/sim_script.h"
#include "game/world.h"

namespace standin {

class Interpreter {
 public:
  bool Run(const std::vector<ScriptLine>& lines, bool editor, std::string* error);

  // Calls the command named by t[first] with the tokens after it.
  bool Call(const std::vector<Token>& t, size_t first, double* result, std::string* why);
  // A number or a variable's value.
  bool Value(const Token& t, double* value, std::string* why);
  // The value of t[first..]: a number, a variable or a command call. With
  // command_first a name that is both a variable and a command calls it.
  bool Evaluate(const std::vector<Token>& t, size_t first, bool command_first, double* result,
                std::string* why);
  void SetVariable(const std::string& name, double value) { vars_[Lower(name)] = value; }
  // The script and reference later command calls come from.
  void SetCaller(uint32_t script_form_id, Form* calling_ref) {
    script_.form_id = script_form_id;
    calling_ref_ = calling_ref;
  }

 private:
  bool Line(const ScriptLine& line, std::string* why);

  std::map<std::string, double> vars_;
  Form script_;
  Form* calling_ref_ = nullptr;
};

// A directive: a line whose first word is its name.
using DirectiveFn = bool (*)(Interpreter& in, const std::vector<Token>& t, std::string* why);
// The directive a line's first token names; null when it is none.
DirectiveFn FindDirective(const Token& first);

}  // namespace standin
