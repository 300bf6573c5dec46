// CreateEspBook: a book plug-in in the game's data folder, for the game to
// load at its next start.
#include <optional>
#include <string>

#include "book/book_plugin.h"
#include "core/command_args.h"
#include "core/global.h"
#include "core/handlers.h"
#include "objects/string_store.h"

namespace korvel {

void Cmd_CreateEspBook(CommandCall& call) {
  CreateEspBookArgs args(call);
  std::optional<std::string> plugin = ResolveSource(args.Plugin());
  if (!plugin) return;
  BookTexts texts;
  std::optional<std::string> name = ResolveSource(args.Name());
  if (!name) return;
  std::optional<std::string> text = ResolveSource(args.Text());
  if (!text) return;
  std::optional<std::string> model = ResolveSource(args.Model());
  if (!model) return;
  std::optional<std::string> icon = ResolveSource(args.Icon());
  if (!icon) return;
  texts.name = std::move(*name);
  texts.text = std::move(*text);
  texts.model = std::move(*model);
  texts.icon = std::move(*icon);
  WriteBookPlugin(GetFolders().data, *plugin, texts);
}

}  // namespace korvel
