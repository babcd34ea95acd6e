// Turning the text of dates, integers and booleans into values after reading.
#include "textexpander/plist_values.h"

#include <cstdio>
#include <limits>

namespace tolvan {
namespace {

int64_t leading_number(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' ||
                             text[i] == '\r' || text[i] == '\v' || text[i] == '\f')) {
    ++i;
  }
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  int64_t value = 0;
  constexpr int64_t kLimit = int64_t{1} << 40;  // far outside every field; stops overflow
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    if (value < kLimit) value = value * 10 + (text[i] - '0');
  }
  return negative ? -value : value;
}

void convert_value(KvValue& value, const AbbrTime& now) {
  switch (value.type()) {
    case KV_DATE:
      if (const std::string* text = value.text()) {
        value = KvValue::of_date(te_date_string_to_abbrtime(*text, now));
      }
      break;
    case KV_INTEGER:
      if (const std::string* text = value.text()) {
        value = KvValue::of_integer(te_integer_string_to_int(*text));
      }
      break;
    case KV_TRUE:
    case KV_FALSE:
      if (value.text() != nullptr) value = KvValue::of_bool(value.type() == KV_TRUE);
      break;
    case KV_DICT:
    case KV_VALUE_ARRAY:
      te_kvlist_convert_strings_to_data(*value.list(), now);
      break;
    case KV_DICT_ARRAY:
      for (KvList& dict : *value.dicts()) te_kvlist_convert_strings_to_data(dict, now);
      break;
    default:
      break;
  }
}

}  // namespace

void te_kvlist_convert_strings_to_data(KvList& list, const AbbrTime& now) {
  for (KvElement& e : list) convert_value(e.value, now);
}

AbbrTime te_date_string_to_abbrtime(std::string_view text, const AbbrTime& now) {
  constexpr char kSeparators[] = {'-', '-', 'T', ':', ':', 'Z'};
  int64_t fields[6];
  std::size_t start = 0;
  for (int i = 0; i < 6; ++i) {
    std::size_t sep = text.find(kSeparators[i], start);
    if (sep == std::string_view::npos) return now;
    fields[i] = leading_number(text.substr(start, sep - start));
    start = sep + 1;
  }
  AbbrTime t;
  t.year = static_cast<uint16_t>(fields[0]);
  t.month = static_cast<uint8_t>(fields[1]);
  t.day = static_cast<uint8_t>(fields[2]);
  t.hour = static_cast<uint8_t>(fields[3]);
  t.minute = static_cast<uint8_t>(fields[4]);
  t.second = static_cast<uint8_t>(fields[5]);
  return t;
}

std::string te_abbrtime_to_te_date_string(const AbbrTime& t) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.4d-%.2d-%.2dT%.2d:%.2d:%.2dZ", t.year, t.month,
                t.day, t.hour, t.minute, t.second);
  return buffer;
}

int32_t te_integer_string_to_int(std::string_view text) {
  int64_t value = leading_number(text);
  if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(value);
}

}  // namespace tolvan
