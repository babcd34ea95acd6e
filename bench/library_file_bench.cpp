// The abbreviation file at 1,000, 10,000 and 100,000 abbreviations: loading (preparation
// and parse into a tree), saving (to text, and through the safe save to a file), and a bare
// Expat parse of the same bytes as the yardstick for the load.
#include <benchmark/benchmark.h>
#include <expat.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "library/abbrev_reader.h"
#include "library/abbrev_writer.h"
#include "library/folder_tree.h"
#include "library/main_list_file.h"

namespace tolvan {
namespace {

// A library of `n` text abbreviations in folders of 100, with ordinary text that needs a
// little escaping.
FolderList make_library(long n) {
  UidCounter uids;
  FolderList list;
  list.push_back(abbr_create_absolute_parent_folder(uids));
  Folder* folder = nullptr;
  for (long i = 0; i < n; ++i) {
    if (i % 100 == 0) {
      folder = &abbr_add_subfolder_to_folder(
          *list[0], abbr_new_subfolder_of(uids, list[0].get(), "Folder " + std::to_string(i)));
    }
    auto a = abbr_create_new_abbrev(ABBR_TYPE_TEXT, folder, {});
    a->abbreviations = {"abbr" + std::to_string(i)};
    a->description = "Description of abbreviation number " + std::to_string(i);
    a->expansion() = "Dear customer,\nthank you for your message & your \"patience\".\n"
                     "Kind regards, <Name> " + std::to_string(i);
    abbr_add_abbrev_to_folder(*folder, std::move(a));
  }
  return list;
}

const std::string& library_text(long n) {
  static std::string texts[3];
  std::string& text = texts[n == 1000 ? 0 : n == 10000 ? 1 : 2];
  if (text.empty()) text = abbr_folder_list_to_xml(make_library(n));
  return text;
}

void BM_Load(benchmark::State& state) {
  const std::string& text = library_text(state.range(0));
  ParseOptions options;
  for (auto _ : state) {
    UidCounter uids;
    ParsedLibrary parsed = abbr_parse_library_text(abbr_prepare_text_for_parser(text), uids,
                                                   options);
    benchmark::DoNotOptimize(parsed.top.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}

void BM_BareExpatParse(benchmark::State& state) {
  const std::string& text = library_text(state.range(0));
  for (auto _ : state) {
    XML_Parser parser = XML_ParserCreate("UTF-8");
    int ok = XML_Parse(parser, text.data(), static_cast<int>(text.size()), XML_TRUE);
    benchmark::DoNotOptimize(ok);
    XML_ParserFree(parser);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}

void BM_SaveToText(benchmark::State& state) {
  FolderList list = make_library(state.range(0));
  for (auto _ : state) {
    std::string text = abbr_folder_list_to_xml(list);
    benchmark::DoNotOptimize(text.data());
  }
}

void BM_SaveToFile(benchmark::State& state) {
  Library library;
  library.main_list = make_library(state.range(0));
  std::filesystem::path dir = std::filesystem::temp_directory_path() / "tolvan_library_bench";
  std::filesystem::create_directories(dir);
  const std::string path = (dir / "abbreviations.tlv").string();
  for (auto _ : state) {
    Status saved = abbr_dump_main_folder_list_to_file(library, path);
    if (!saved) state.SkipWithError(saved.error().c_str());
  }
  std::filesystem::remove_all(dir);
}

BENCHMARK(BM_Load)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareExpatParse)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveToText)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveToFile)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tolvan
