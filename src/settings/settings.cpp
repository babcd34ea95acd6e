// The settings store: linear, case-insensitive lookups over a few hundred keys at most.
#include "settings/settings.h"

#include <algorithm>
#include <cstdlib>

#include "core/strings.h"

namespace tolvan {
namespace {
const std::string kEmpty;
}

const Settings::Entry* Settings::get_loc_by_name(std::string_view key) const {
  auto it = std::find_if(entries_.begin(), entries_.end(),
                         [key](const Entry& e) { return equals_ignore_case(e.key, key); });
  return it == entries_.end() ? nullptr : &*it;
}

std::vector<Settings::Entry>::iterator Settings::find(std::string_view key) {
  return std::find_if(entries_.begin(), entries_.end(),
                      [key](const Entry& e) { return equals_ignore_case(e.key, key); });
}

const std::string& Settings::get(std::string_view key) const {
  const Entry* e = get_loc_by_name(key);
  return e ? e->value : kEmpty;
}

int Settings::get_int(std::string_view key) const { return std::atoi(get(key).c_str()); }

bool Settings::does_exist(std::string_view key) const { return get_loc_by_name(key) != nullptr; }

long Settings::get_offset_by_name(std::string_view key) const {
  const Entry* e = get_loc_by_name(key);
  return e ? static_cast<long>(e - entries_.data()) : -1;
}

void Settings::set(std::string_view key, std::string_view value) {
  auto it = find(key);
  if (it != entries_.end()) {
    it->value.assign(value);
  } else {
    append(key, value);
  }
}

void Settings::set_int(std::string_view key, int value) { set(key, std::to_string(value)); }

void Settings::append(std::string_view key, std::string_view value) {
  entries_.push_back({std::string(key), std::string(value)});
}

bool Settings::delete_key(std::string_view key) {
  auto it = find(key);
  if (it == entries_.end()) return false;
  entries_.erase(it);
  return true;
}

void Settings::clear() { entries_.clear(); }

bool operator==(const Settings& a, const Settings& b) { return a.entries_ == b.entries_; }

}  // namespace tolvan
