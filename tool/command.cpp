#include "tool/command.h"

namespace folian::tool {
namespace {

std::vector<CommandInfo>& Registry() {
  static std::vector<CommandInfo> commands;
  return commands;
}

}  // namespace

bool RegisterCommand(const CommandInfo& info) {
  Registry().push_back(info);
  return true;
}

const std::vector<CommandInfo>& RegisteredCommands() { return Registry(); }

}  // namespace folian::tool
