// The HTML listing.
#include "library/html_listing.h"

#include <vector>

#include "library/abbrev_strings.h"
#include "library/abbrev_writer.h"
#include "library/lookups.h"
#include "library/sorting.h"

namespace tolvan {

std::string abbr_folder_as_HTML(const Folder& folder, bool include_subfolders) {
  std::vector<Abbreviation*> abbrevs;
  if (include_subfolders) {
    abbrevs = abbr_get_all_folders_and_abbrevs_from_folder(folder).abbreviations;
  } else {
    for (const auto& a : folder.abbreviations) abbrevs.push_back(a.get());
  }
  abbr_sort_abbrev_lst(abbrevs, SORT_BY_ABBREVIATION, SORT_ASCENDING);

  std::string out =
      "<html><body><table cellspacing=\"5\" cellpadding=\"5\"><tr><td><big><b>Abbreviation"
      "</b></big></td><td><big><b>Replacement Preview</b></big></td></tr>";
  for (const Abbreviation* a : abbrevs) {
    std::string preview = abbr_replacement_preview(*a);
    if (preview.empty()) continue;
    if (preview.size() > 80) preview = preview.substr(0, 77) + "...";
    out += "<tr><td width=\"40%\">";
    abbr_htmlize_append(out, abbr_abbrev_lst_to_string(a->abbreviations));
    out += "</td><td width=\"60%\">";
    abbr_htmlize_append(out, preview);
    out += "</td></tr>";
  }
  out += "</body></html>";
  return out;
}

}  // namespace tolvan
