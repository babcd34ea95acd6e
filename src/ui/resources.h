// The files of resources/ (pictures, window layouts) compiled into the program, registered
// with GIO on first use.
#pragma once

namespace tolvan::ui {

void register_tolvan_resources();

}  // namespace tolvan::ui
