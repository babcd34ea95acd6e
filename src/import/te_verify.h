// The value-type check of a TextExpander file's dictionary before anything is built from it.
#pragma once

#include "core/result.h"
#include "textexpander/kvlist.h"

namespace tolvan {

// te_verify_textexpander_data: each known key of the top-level dictionary, of each group,
// snippet, launcher and product-specific dictionary must hold its type. Empty arrays and
// dictionaries take the type expected of them. A date written as a string (files made by
// scripts) becomes a date when it has the date's form. Fails with the first mismatch.
Status te_verify_textexpander_data(KvList& top);

}  // namespace tolvan
