// Reading a tolvan-cli command's arguments against the options it takes, and the usage
// errors every command words the same way. Left to right: "--help" or "-h" asks for the
// command's help; "--" ends the options; "--NAME" is an option, "--NAME VALUE" or
// "--NAME=VALUE" when it takes a value, the last one given counting when it is repeated;
// everything else ("-", "-x" too) is a positional argument. The first help request or
// problem ends the reading.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cli/cli.h"

namespace tolvan::cli {

struct OptionSpec {
  std::string_view name;   // "--library"
  std::string_view value;  // what its value is ("a file": "--library needs a file."); empty
                           // for a switch
};

// How an option the command does not take is reported: tolvan-cli's own options and the
// macro command say "unknown option '--x'.", simulate and run "Unexpected argument '--x'.".
enum class UnknownOption { kUnknown, kUnexpected };

struct CommandSyntax {
  std::span<const OptionSpec> options;
  UnknownOption unknown = UnknownOption::kUnknown;
  // Options come before the first positional argument, which begins what the options do
  // not read (tolvan-cli's own options, before the command).
  bool options_first = false;
};

class Arguments {
 public:
  Arguments(std::span<const std::string> args, const CommandSyntax& syntax);

  bool help() const { return help_; }
  // What did not fit ("--now needs a time."); empty when everything did.
  const std::string& problem() const { return problem_; }
  bool unknown_option() const { return unknown_option_; }

  const std::vector<std::string>& positionals() const { return positionals_; }
  bool has(std::string_view option) const;
  std::optional<std::string> value(std::string_view option) const;

 private:
  bool help_ = false;
  std::string problem_;
  bool unknown_option_ = false;
  std::vector<std::string> positionals_;
  std::vector<std::pair<std::string, std::string>> options_;  // in the order given
};

// The start of a group of subcommands (library, macro, ...): with no arguments the group's
// usage goes to the error stream (status 2), with "--help" or "-h" first to the output
// (status 0); nullopt when there is a subcommand to look up.
std::optional<int> group_usage_requested(const Invocation& inv, std::string_view usage);
// The arguments after the subcommand.
std::span<const std::string> subcommand_arguments(const Invocation& inv);

// "Unexpected argument 'ARGUMENT'.": what simulate and run say of an argument they do not take.
std::string unexpected_argument(std::string_view argument);

// The usage error of a command: "tolvan-cli COMMAND: MESSAGE", then its usage. Returns 2.
int usage_error(const Invocation& inv, std::string_view command, std::string_view message,
                std::string_view usage);
// The same for a group of subcommands: "tolvan-cli: MESSAGE", a blank line, the usage.
int group_usage_error(const Invocation& inv, std::string_view message, std::string_view usage);
// "tolvan-cli: unknown GROUP command 'NAME'." and where the list of commands is. Returns 2.
int unknown_subcommand(const Invocation& inv, std::string_view group, std::string_view name);

// "GROUP SUBCOMMAND takes 2 files, not 1.": a subcommand given the wrong number of
// arguments, counting in `noun` ("file", "argument").
std::string takes_arguments(std::string_view subcommand, size_t wanted, std::string_view noun,
                            size_t given);

// A subcommand of a group that takes a fixed number of arguments and no options.
struct Subcommand {
  std::string_view name;
  size_t arguments;
  std::string_view usage;  // shown for its help and after its usage errors
};

struct SubcommandCall {
  const Subcommand* subcommand = nullptr;  // null when the command ends with `status`
  std::vector<std::string> arguments;
  int status = 0;
};

// The subcommand of `table` that the group's first argument names, with its arguments;
// the group's usage, its help, an unknown subcommand or the wrong number of arguments
// (counted in `noun`) end the command instead.
SubcommandCall read_subcommand(const Invocation& inv, std::string_view group,
                               std::span<const Subcommand> table, std::string_view noun,
                               std::string_view group_usage);

}  // namespace tolvan::cli
