// Reading a command's arguments, and tolvan-cli's usage errors.
#include "cli/arguments.h"

#include <algorithm>
#include <ostream>

namespace tolvan::cli {
namespace {

bool is_help(std::string_view a) { return a == "--help" || a == "-h"; }

const OptionSpec* find_option(std::span<const OptionSpec> options, std::string_view name) {
  auto it = std::find_if(options.begin(), options.end(),
                         [&](const OptionSpec& o) { return o.name == name; });
  return it == options.end() ? nullptr : &*it;
}

}  // namespace

Arguments::Arguments(std::span<const std::string> args, const CommandSyntax& syntax) {
  bool options_done = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool looks_like_option = a.size() > 2 && a.compare(0, 2, "--") == 0;
    if (options_done || !(is_help(a) || a == "--" || looks_like_option)) {
      positionals_.push_back(a);
      options_done = options_done || syntax.options_first;
      continue;
    }
    if (is_help(a)) {
      help_ = true;
      return;
    }
    if (a == "--") {
      options_done = true;
      continue;
    }
    const size_t equals = a.find('=');
    const std::string_view name = std::string_view(a).substr(0, equals);
    const OptionSpec* option = find_option(syntax.options, name);
    if (option == nullptr || (option->value.empty() && equals != std::string::npos)) {
      unknown_option_ = true;
      problem_ = syntax.unknown == UnknownOption::kUnknown ? "unknown option '" + a + "'."
                                                           : unexpected_argument(a);
      return;
    }
    std::string value;
    if (equals != std::string::npos) {
      value = a.substr(equals + 1);
    } else if (!option->value.empty()) {
      if (i + 1 >= args.size()) {
        problem_ = std::string(name) + " needs " + std::string(option->value) + ".";
        return;
      }
      value = args[++i];
    }
    options_.emplace_back(name, std::move(value));
  }
}

bool Arguments::has(std::string_view option) const { return value(option).has_value(); }

std::optional<std::string> Arguments::value(std::string_view option) const {
  for (auto it = options_.rbegin(); it != options_.rend(); ++it) {
    if (it->first == option) return it->second;
  }
  return std::nullopt;
}

std::optional<int> group_usage_requested(const Invocation& inv, std::string_view usage) {
  if (inv.args.empty()) {
    inv.err << usage;
    return 2;
  }
  if (is_help(inv.args[0])) {
    inv.out << usage;
    return 0;
  }
  return std::nullopt;
}

std::span<const std::string> subcommand_arguments(const Invocation& inv) {
  return std::span<const std::string>(inv.args).subspan(1);
}

std::string unexpected_argument(std::string_view argument) {
  return "Unexpected argument '" + std::string(argument) + "'.";
}

int usage_error(const Invocation& inv, std::string_view command, std::string_view message,
                std::string_view usage) {
  inv.err << "tolvan-cli " << command << ": " << message << "\n" << usage;
  return 2;
}

int group_usage_error(const Invocation& inv, std::string_view message, std::string_view usage) {
  inv.err << "tolvan-cli: " << message << "\n\n" << usage;
  return 2;
}

int unknown_subcommand(const Invocation& inv, std::string_view group, std::string_view name) {
  inv.err << "tolvan-cli: unknown " << group << " command '" << name << "'.\n"
          << "Run 'tolvan-cli " << group << " --help' for the list of commands.\n";
  return 2;
}

std::string takes_arguments(std::string_view subcommand, size_t wanted, std::string_view noun,
                            size_t given) {
  return std::string(subcommand) + " takes " + std::to_string(wanted) + " " + std::string(noun) +
         (wanted == 1 ? "" : "s") + ", not " + std::to_string(given) + ".";
}

SubcommandCall read_subcommand(const Invocation& inv, std::string_view group,
                               std::span<const Subcommand> table, std::string_view noun,
                               std::string_view group_usage) {
  SubcommandCall call;
  if (std::optional<int> status = group_usage_requested(inv, group_usage)) {
    call.status = *status;
    return call;
  }
  const std::string& name = inv.args[0];
  const auto sub = std::find_if(table.begin(), table.end(),
                                [&](const Subcommand& s) { return s.name == name; });
  if (sub == table.end()) {
    call.status = unknown_subcommand(inv, group, name);
    return call;
  }
  const Arguments args(subcommand_arguments(inv), {});
  if (args.help()) {
    inv.out << sub->usage;
  } else if (!args.problem().empty()) {
    call.status = group_usage_error(inv, args.problem(), sub->usage);
  } else if (args.positionals().size() != sub->arguments) {
    const std::string subcommand = std::string(group) + " " + name;
    call.status = group_usage_error(
        inv, takes_arguments(subcommand, sub->arguments, noun, args.positionals().size()),
        sub->usage);
  } else {
    call.subcommand = &*sub;
    call.arguments = args.positionals();
  }
  return call;
}

}  // namespace tolvan::cli
