// The TextExpander import alone (reading the file, the property-list parse, the checks and
// the conversion into folders), without adding to a library or saving, for comparison with
// python3's plistlib loading the same file: te_import_bench.py writes the settings file and
// names it in TOLVAN_TE_IMPORT_FILE.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "import/te_import.h"

namespace tolvan {
namespace {

void BM_TeImportFile(benchmark::State& state) {
  const char* path = std::getenv("TOLVAN_TE_IMPORT_FILE");
  if (path == nullptr || *path == '\0') {
    state.SkipWithError("TOLVAN_TE_IMPORT_FILE names no settings file (te_import_bench.py does)");
    return;
  }
  size_t snippets = 0;
  for (auto _ : state) {
    TeFileImport result = te_import_snippet_file(path, {});
    if (result.result != TeImportResult::Imported) {
      state.SkipWithError(("the import failed: " + result.message).c_str());
      return;
    }
    snippets = result.import->abbreviation_count();
    benchmark::DoNotOptimize(snippets);
  }
  state.counters["snippets"] = static_cast<double>(snippets);
}
BENCHMARK(BM_TeImportFile)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
}  // namespace tolvan
