#include "platform/x11/clipboard_targets.h"

#include <algorithm>
#include <set>

namespace tolvan::x11 {
namespace {

constexpr ClipboardFormat kLastRegistered = 0xFFFF;

}  // namespace

bool is_meta_target(std::string_view name) {
  static constexpr std::string_view kMeta[] = {"TARGETS", "TIMESTAMP", "MULTIPLE", "SAVE_TARGETS", "DELETE"};
  if (std::find(std::begin(kMeta), std::end(kMeta), name) != std::end(kMeta)) return true;
  return name.substr(0, 7) == "INSERT_";
}

std::optional<ClipboardFormat> ClipboardFormatTable::format_of(std::string_view target) {
  if (target.empty() || target.find('\0') != std::string_view::npos || is_meta_target(target))
    return std::nullopt;
  if (target == kUtf8Target) return kFormatUnicodeText;
  if (auto it = by_name_.find(target); it != by_name_.end()) return it->second;
  // Windows has room for 0x4000 registered formats; so has Tolvan.
  if (kFormatFirstRegistered + names_.size() > kLastRegistered) return std::nullopt;
  const ClipboardFormat format = kFormatFirstRegistered + static_cast<ClipboardFormat>(names_.size());
  names_.emplace_back(target);
  by_name_.emplace(std::string(target), format);
  return format;
}

std::optional<ClipboardFormat> ClipboardFormatTable::find(std::string_view target) const {
  if (is_meta_target(target)) return std::nullopt;
  if (target == kUtf8Target) return kFormatUnicodeText;
  if (auto it = by_name_.find(target); it != by_name_.end()) return it->second;
  return std::nullopt;
}

std::optional<std::string> ClipboardFormatTable::target_of(ClipboardFormat format) const {
  if (format == kFormatUnicodeText) return std::string(kUtf8Target);
  if (format < kFormatFirstRegistered) return std::nullopt;
  const size_t index = format - kFormatFirstRegistered;
  if (index >= names_.size()) return std::nullopt;
  return names_[index];
}

std::vector<ClipboardFormat> formats_of_targets(ClipboardFormatTable& table,
                                                const std::vector<std::string>& targets) {
  std::vector<ClipboardFormat> formats;
  std::set<ClipboardFormat> seen;
  const size_t n = std::min(targets.size(), kMaxTargets);
  for (size_t i = 0; i < n; ++i) {
    std::optional<ClipboardFormat> format = table.format_of(targets[i]);
    if (format && seen.insert(*format).second) formats.push_back(*format);
  }
  return formats;
}

std::vector<std::string> targets_of_formats(const ClipboardFormatTable& table,
                                            const std::vector<ClipboardFormat>& formats) {
  std::vector<std::string> targets = {"TARGETS", "TIMESTAMP"};
  auto add = [&targets](std::string_view target) {
    if (std::find(targets.begin(), targets.end(), target) == targets.end()) targets.emplace_back(target);
  };
  for (ClipboardFormat format : formats) {
    std::optional<std::string> target = table.target_of(format);
    if (!target) continue;
    add(*target);
    if (format == kFormatUnicodeText)
      for (std::string_view alias : kTextAliasTargets) add(alias);
  }
  return targets;
}

}  // namespace tolvan::x11
