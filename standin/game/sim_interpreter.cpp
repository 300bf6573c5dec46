#include "game/sim_interpreter.h"

#include <charconv>
#include <cstring>

#include "game/host.h"

namespace standin {

namespace abi = korvel::abi;

bool Interpreter::Run(const std::vector<ScriptLine>& lines, bool editor, std::string* error) {
  script_.form_id = 0x00000D01;  // a script of the first mod
  for (const ScriptLine& line : lines) {
    if (IsWord(line.tokens[0], "mods") || IsWord(line.tokens[0], "form")) continue;
    if (editor && !IsWord(line.tokens[0], "parse")) continue;
    std::string why;
    if (!Line(line, &why)) {
      *error = LineFailure(line, why);
      return false;
    }
  }
  return true;
}

bool Interpreter::Line(const ScriptLine& line, std::string* why) {
  const std::vector<Token>& t = line.tokens;
  if (DirectiveFn directive = FindDirective(t[0])) return directive(*this, t, why);
  double ignored;
  return Call(t, 0, &ignored, why);
}

bool Interpreter::Evaluate(const std::vector<Token>& t, size_t first, bool command_first,
                           double* result, std::string* why) {
  if (t.size() == first + 1 && t[first].kind != Token::kWord) return Value(t[first], result, why);
  if (t.size() == first + 1 && vars_.count(Lower(t[first].text)) &&
      !(command_first && GetHost().ByName(t[first].text))) {
    *result = vars_[Lower(t[first].text)];
    return true;
  }
  return Call(t, first, result, why);
}

bool Interpreter::Value(const Token& t, double* value, std::string* why) {
  if (t.kind == Token::kNumber) {
    const char* begin = t.text.c_str() + (t.text[0] == '+' ? 1 : 0);
    const char* end = t.text.c_str() + t.text.size();
    auto r = std::from_chars(begin, end, *value);
    if (r.ec != std::errc() || r.ptr != end) {
      *why = "bad number " + t.text;
      return false;
    }
    return true;
  }
  if (t.kind == Token::kWord) {
    auto it = vars_.find(Lower(t.text));
    if (it == vars_.end()) {
      *why = "unknown variable " + t.text;
      return false;
    }
    *value = it->second;
    return true;
  }
  *why = "expected a number or a variable";
  return false;
}

bool Interpreter::Call(const std::vector<Token>& t, size_t first, double* result,
                       std::string* why) {
  if (first >= t.size() || t[first].kind != Token::kWord) {
    *why = "expected a command name";
    return false;
  }
  const abi::CommandRecord* record = GetHost().ByName(t[first].text);
  if (!record) {
    *why = "unknown command " + t[first].text;
    return false;
  }
  size_t given = t.size() - first - 1;
  size_t required = 0;
  for (size_t i = 0; i < record->param_count; ++i)
    if (!record->params[i].optional) required = i + 1;
  if (given > record->param_count || given < required) {
    *why = std::string(record->long_name) + " takes " + std::to_string(required) + " to " +
           std::to_string(record->param_count) + " arguments";
    return false;
  }
  ScriptCall call;
  for (size_t i = 0; i < given; ++i) {
    const Token& tok = t[first + 1 + i];
    const abi::ParamRecord& p = record->params[i];
    ScriptArg arg;
    std::string label = "argument " + std::to_string(i + 1) + " (" + p.display_name + ")";
    if (p.type_code == 0) {
      if (tok.kind != Token::kText) {
        *why = label + " is a quoted text";
        return false;
      }
      arg.kind = ScriptArg::kText;
      arg.text = tok.text;
    } else if (p.type_code == 3 || p.type_code == 4) {
      if (tok.kind == Token::kForm) {
        arg.kind = ScriptArg::kForm;
        arg.form_id = tok.form_id;
        if (!GetWorld().Lookup(tok.form_id)) {
          *why = label + ": no form #" + tok.text;
          return false;
        }
      } else if (tok.kind == Token::kWord) {
        if (!Value(tok, &arg.number, why)) return false;
        arg.kind = ScriptArg::kVariable;
        uint32_t id;
        std::memcpy(&id, &arg.number, 4);
        if (id != 0 && !GetWorld().Lookup(id)) {
          *why = label + ": the variable holds no known form";
          return false;
        }
      } else {
        *why = label + " is a #form or a variable";
        return false;
      }
    } else {
      if (tok.kind == Token::kText || tok.kind == Token::kForm) {
        *why = label + " is a number or a variable";
        return false;
      }
      double v;
      if (!Value(tok, &v, why)) return false;
      arg.kind = ScriptArg::kVariable;
      arg.number = v;
    }
    call.args.push_back(std::move(arg));
  }
  uint32_t offset = 0;
  *result = 0;
  record->execute(record->params, &call, calling_ref_, nullptr, &script_, nullptr, result,
                  &offset);
  return true;
}

bool RunScript(const std::vector<ScriptLine>& lines, bool editor, std::string* error) {
  Interpreter interpreter;
  return interpreter.Run(lines, editor, error);
}

}  // namespace standin
