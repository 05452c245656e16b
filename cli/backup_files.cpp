#include "cli/backup_files.h"

#include <filesystem>
#include <system_error>

#include "core/session.h"
#include "platform/common/printable.h"
#include "platform/files.h"

namespace cli {

namespace {

namespace fs = std::filesystem;

// The files being written, for an interrupt to discard, so that an earlier
// backup stays as it was.
platform::ReplacingFile* pending_image = nullptr;
platform::ReplacingFile* pending_description = nullptr;

void DiscardPending() {
  for (platform::ReplacingFile* file : {pending_image, pending_description}) {
    if (file != nullptr) file->Discard();
  }
}

// Prepares, writes and closes the file (not yet renamed into place); the
// reason in `problem` when that fails.
bool WriteWhole(platform::ReplacingFile& file, const std::string& path, const void* bytes, std::size_t count,
                std::string& problem) {
  if (file.Prepare(path) && file.Write(static_cast<const char*>(bytes), count)) return true;
  problem = platform::Printable(path) + ": " + platform::ErrorText(file.error());
  return false;
}

}  // namespace

std::string DescriptionPath(const std::string& image_path) { return image_path + ".json"; }

std::string OutputProblem(const std::string& image_path) {
  if (image_path.empty()) return "an empty name names no file";
  const std::string description_path = DescriptionPath(image_path);
  std::error_code error;
  for (const std::string& path : {image_path, description_path}) {
    if (fs::is_directory(path, error)) return platform::Printable(path) + " is a folder";
  }
  const fs::path folder = fs::path(image_path).parent_path();
  if (!folder.empty() && !fs::is_directory(folder, error)) {
    return "the folder " + platform::Printable(folder.string()) + " does not exist";
  }
  // Links can make the two names one file, which would hold the description only.
  std::error_code image_error;
  std::error_code description_error;
  const fs::path image_file = fs::weakly_canonical(image_path, image_error);
  const fs::path description_file = fs::weakly_canonical(description_path, description_error);
  if ((!image_error && !description_error && image_file == description_file) ||
      fs::equivalent(image_path, description_path, error)) {
    return platform::Printable(description_path) + " is the same file as " + platform::Printable(image_path);
  }
  for (const std::string& path : {image_path, description_path}) {
    if (const int problem = platform::CreationProblem(path); problem != 0) {
      return platform::Printable(path) + ": " + platform::ErrorText(problem);
    }
  }
  return "";
}

bool WriteBackupFiles(const std::string& image_path, std::span<const std::uint8_t> image,
                      const std::string& description, std::string& problem) {
  const std::string description_path = DescriptionPath(image_path);
  platform::ReplacingFile image_file;
  platform::ReplacingFile description_file;
  pending_image = &image_file;
  pending_description = &description_file;
  core::OnInterruptAlso(DiscardPending);
  if (WriteWhole(image_file, image_path, image.data(), image.size(), problem) &&
      WriteWhole(description_file, description_path, description.data(), description.size(), problem)) {
    if (!platform::ReplacingFile::CommitPair(image_file, description_file)) {
      const bool image_failed = image_file.error() != 0;
      problem = platform::Printable(image_failed ? image_path : description_path) + ": " +
                platform::ErrorText(image_failed ? image_file.error() : description_file.error());
    }
  }
  core::OnInterruptAlso(nullptr);
  pending_image = pending_description = nullptr;
  return problem.empty();
}

}  // namespace cli
