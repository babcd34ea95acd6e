#include "presenters/overwrite_question.h"

#include <sys/stat.h>

namespace tolvan {

bool ui_ask_overwrite_if_necessary(Prompts& prompts, const std::string& path) {
  struct stat st {};
  // lstat: a dangling symbolic link is still something the save would replace.
  if (path.empty() || ::lstat(path.c_str(), &st) != 0) return true;
  return prompts.yes_no(path + " already exists.\n\nDo you want to replace it?",
                        PromptKind::Warning);
}

}  // namespace tolvan
