// What pem2txt must write for a dictionary, worked out by a plain model of the naming rules with
// a set of the names already taken. It shares no code with the conversion it checks.
#pragma once

#include <map>
#include <set>
#include <string>

#include "dictionary.h"
#include "e2e_support.h"

namespace pem::testing {

class OutputModel {
 public:
  // `fold_case`: the file system takes names that differ only in letter case for the same name.
  explicit OutputModel(bool fold_case) : fold_case_(fold_case) {}

  // A file that is in the output tree before a run (its folder is created with it). False, and
  // nothing changes, when the file system already has a file of that name.
  bool AddExistingFile(const Text& folder, const Text& file, const std::string& bytes);
  // One run of the conversion over the dictionary, into the tree as it stands.
  void Convert(const Dictionary& dictionary);

  const Tree& Expected() const { return tree_; }

  // The folder name of a category and the stem of an entry file (title plus counter).
  static Text FolderName(const Text& category);
  static Text StemName(const Text& title, int counter);

 private:
  std::string Key(const std::string& utf8) const;
  // The folder as the file system spells it (the first spelling that created it).
  std::string Folder(const Text& name);

  bool fold_case_;
  std::map<std::string, std::string> folders_;  // key -> spelling on disk
  std::set<std::string> files_;                 // keys of every file's path
  Tree tree_;
};

// The platform's file system folds letter case (Windows, also under Wine).
bool FileSystemFoldsCase();

}  // namespace pem::testing
