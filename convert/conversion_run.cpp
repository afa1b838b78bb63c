#include "conversion_run.h"

#include <exception>

#include "ini_reader.h"
#include "line_list.h"
#include "messages.h"
#include "naming.h"
#include "path_error.h"

namespace pem {
namespace {

class Conversion {
 public:
  Conversion(ConversionHost& host, FileSystem& file_system, std::string install, std::string out)
      : host_(host),
        file_system_(file_system),
        out_(std::move(out)),
        texts_(install + "dicdata.ini", file_system),
        titles_(install + "expdata.ini", file_system),
        categories_(install + "pmridata.ini", file_system),
        folder_limit_(file_system.NameByteLimit(out_)) {}

  int CategoryCount() const { return categories_.ReadNumber("ItemData", "Count", 0); }

  void ConvertCategory(int index) {
    const std::string folder =
        FitName(CategoryFolderName(categories_.ReadCategoryName(index)), "", folder_limit_);
    const std::string folder_path = out_ + '\\' + folder;
    if (!file_system_.FolderExists(folder_path)) {
      if (const std::uint32_t code = file_system_.CreateFolder(folder_path))
        throw EInOutErrorAt(code, folder_path);
    }
    // One status query per file for the category rather than two per entry, which would cost
    // about as much as writing the entry files: the category sees the files as they were when
    // it began.
    const IniReader::Hold texts_held(texts_);
    const IniReader::Hold titles_held(titles_);
    const std::string texts_section = "DicData" + std::to_string(index);
    const std::string titles_section = "DicExpData" + std::to_string(index);
    const int entries = texts_.ReadNumber(texts_section, "Count", 0);
    if (entries <= 0) return;
    EntryFolder opened(file_system_, out_, folder);
    for (int entry = 0; entry < entries; ++entry) {
      host_.EntryWritten(WriteEntry(opened, texts_section, titles_section, entry));
      host_.BetweenEntries();
    }
  }

 private:
  // Writes one entry file and closes it; gives its full path.
  std::string WriteEntry(EntryFolder& folder, const std::string& texts_section,
                         const std::string& titles_section, int entry) {
    const std::string key = std::to_string(entry);
    const std::string title = SafeFileName(titles_.ReadText(titles_section, key, ""));
    std::string name;
    const std::unique_ptr<OutputFile> file = folder.CreateEntryFile(title, &taken_, name);
    const std::string path = out_ + '\\' + name;
    if (!file) throw EFCreateError(path);
    lines_.SetText(texts_.ReadText(texts_section, key, ""));
    lines_.WriteTo(*file);
    return path;
  }

  ConversionHost& host_;
  FileSystem& file_system_;
  const std::string out_;
  LineList lines_;
  IniReader texts_;
  IniReader titles_;
  IniReader categories_;
  TakenNames taken_;
  const std::size_t folder_limit_;  // of category folder names, in the output folder
};

}  // namespace

RunOutcome RunConversion(ConversionHost& host, FileSystem& file_system) {
  const std::string install = host.InstallFolderText();
  const std::string out = host.OutputFolderText();
  if (!file_system.FileMatchExists(install + kToolExecutablePattern)) {
    host.ApplicationMessageBox(msg::kToolNotFound, msg::kToolNotFoundCaption, BoxKind::kError);
    return RunOutcome::kToolNotFound;
  }
  if (!file_system.FolderExists(out)) {
    host.ApplicationMessageBox(msg::kBadOutputFolder, msg::kBadOutputFolderCaption,
                               BoxKind::kError);
    return RunOutcome::kBadOutputFolder;
  }

  host.SetControlsEnabled(false);
  std::exception_ptr failure;
  {
    Conversion conversion(host, file_system, install, out);
    ProgressIndicator& progress = host.Progress();
    try {
      // A source without categories gets an empty run rather than an indicator range error.
      const int count = conversion.CategoryCount();
      progress.SetMin(0);
      progress.SetMax(count > 0 ? count - 1 : 0);
      progress.SetPosition(0);
      progress.SetVisible(true);
      for (int index = 0; index < count; ++index) {
        conversion.ConvertCategory(index);
        progress.StepIt();
        host.BetweenEntries();
      }
    } catch (...) {
      failure = std::current_exception();
    }
  }
  host.Progress().SetVisible(false);
  host.SetControlsEnabled(true);
  host.ApplicationMessageBox(msg::kFinished, msg::kFinishedCaption, BoxKind::kInformation);
  if (!failure) return RunOutcome::kCompleted;
  try {
    std::rethrow_exception(failure);
  } catch (const Exception& error) {
    host.ShowExceptionBox(error);
  } catch (const std::exception& error) {
    host.ShowExceptionBox(Exception(error.what()));
  }
  return RunOutcome::kFailed;
}

}  // namespace pem
