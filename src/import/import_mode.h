// How an import meets the library: the answer of the import-mode question.
#pragma once

namespace tolvan {

enum class ImportMode {
  Cancel = 0,   // nothing is imported
  Replace = 1,  // the library is emptied first
  Append = 2,   // the imported folders join what is there
};

}  // namespace tolvan
