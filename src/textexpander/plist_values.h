// Conversion of the values the property-list reader hands back as text: dates in the
// "2009-03-07T18:05:09Z" form (the clock fields as they are, no time zone), integers and
// booleans.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/abbrtime.h"
#include "textexpander/kvlist.h"

namespace tolvan {

// Turns every date, integer, true and false held as text into its value, recursively
// through dictionaries and arrays. A date that cannot be read becomes `now` (the current
// local time of the caller); an integer that is not a number becomes 0.
void te_kvlist_convert_strings_to_data(KvList& list, const AbbrTime& now);

// The six fields of "YYYY-MM-DDTHH:MM:SSZ"; `now` unless all six are there.
AbbrTime te_date_string_to_abbrtime(std::string_view text, const AbbrTime& now);
// "%.4d-%.2d-%.2dT%.2d:%.2d:%.2dZ".
std::string te_abbrtime_to_te_date_string(const AbbrTime& t);

// Decimal text with an optional sign, read up to the first non-digit; empty gives 0.
int32_t te_integer_string_to_int(std::string_view text);

}  // namespace tolvan
