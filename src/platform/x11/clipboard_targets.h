// The X selection's targets as Tolvan's clipboard formats. UTF8_STRING is the Unicode text
// format; every other target becomes a registered format numbered from 0xC000 in the order
// this table first meets its name, and keeps that number for the table's life. The meta
// targets that ask about the selection rather than for data never become formats.
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/clipboard.h"

namespace tolvan::x11 {

inline constexpr std::string_view kUtf8Target = "UTF8_STRING";

// TARGETS, TIMESTAMP, MULTIPLE, SAVE_TARGETS, DELETE and the INSERT_ family.
bool is_meta_target(std::string_view name);

class ClipboardFormatTable {
 public:
  // The format of a target; nullopt for meta targets and names that are no atom name
  // (empty, or holding a NUL).
  std::optional<ClipboardFormat> format_of(std::string_view target);
  // The same without numbering a new name: nullopt for one the table has not met.
  std::optional<ClipboardFormat> find(std::string_view target) const;
  // The target of a format: UTF8_STRING for Unicode text, the name for registered ones;
  // nullopt for the other standard numbers and unknown registered ones.
  std::optional<std::string> target_of(ClipboardFormat format) const;

 private:
  std::map<std::string, ClipboardFormat, std::less<>> by_name_;
  std::vector<std::string> names_;  // index = format - 0xC000
};

// The formats a TARGETS answer offers, in its order, each once, meta targets left out.
// Far more targets than any owner offers are cut off.
std::vector<ClipboardFormat> formats_of_targets(ClipboardFormatTable& table,
                                                const std::vector<std::string>& targets);

// The targets Tolvan serves for the formats it holds, in their order: TARGETS and
// TIMESTAMP first, Unicode text also as the usual text targets, each target once.
std::vector<std::string> targets_of_formats(const ClipboardFormatTable& table,
                                            const std::vector<ClipboardFormat>& formats);

// The text targets Unicode text is also served as, after UTF8_STRING.
inline constexpr std::string_view kTextAliasTargets[] = {"text/plain;charset=utf-8", "STRING", "TEXT"};

inline constexpr size_t kMaxTargets = 4096;

}  // namespace tolvan::x11
