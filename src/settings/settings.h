// Settings: Tolvan's ordered key/value list with case-insensitive keys. The preferences and
// the run-time variables are both kept in one. Values are always text; integers are stored
// in decimal, and a missing key reads as "" and as 0.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tolvan {

class Settings {
 public:
  struct Entry {
    std::string key;
    std::string value;
  };
  using const_iterator = std::vector<Entry>::const_iterator;

  // The entry whose key equals `key` ignoring ASCII case, or nullptr.
  const Entry* get_loc_by_name(std::string_view key) const;
  // The value, or a constant "" when the key is missing. The reference stays valid until this key is set again or the list changes shape.
  const std::string& get(std::string_view key) const;
  // atoi of get(): leading white space and sign accepted, 0 when missing or not numeric.
  int get_int(std::string_view key) const;
  bool does_exist(std::string_view key) const;
  // 0-based position of the key, -1 when missing.
  long get_offset_by_name(std::string_view key) const;

  // An existing key (any case) gets the new value in place, keeping its first spelling; a
  // new key is appended at the end.
  void set(std::string_view key, std::string_view value);
  void set_int(std::string_view key, int value);  // stored as "%d"
  // Appends without looking for the key first; the caller guarantees the key is new.
  void append(std::string_view key, std::string_view value);
  // Removes the key; false when it was not there.
  bool delete_key(std::string_view key);
  void clear();

  bool empty() const { return entries_.empty(); }
  size_t size() const { return entries_.size(); }
  const_iterator begin() const { return entries_.begin(); }
  const_iterator end() const { return entries_.end(); }
  const Entry& operator[](size_t i) const { return entries_[i]; }

  friend bool operator==(const Settings& a, const Settings& b);

 private:
  std::vector<Entry>::iterator find(std::string_view key);
  std::vector<Entry> entries_;
};

inline bool operator==(const Settings::Entry& a, const Settings::Entry& b) {
  return a.key == b.key && a.value == b.value;
}

}  // namespace tolvan
