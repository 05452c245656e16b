#include "cli/backup_files.h"

#include <filesystem>
#include <system_error>

#include "core/session.h"
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
  problem = path + ": " + platform::ErrorText(file.error());
  return false;
}

}  // namespace

std::string DescriptionPath(const std::string& image_path) { return image_path + ".json"; }

std::string OutputProblem(const std::string& image_path) {
  std::error_code error;
  for (const std::string& path : {image_path, DescriptionPath(image_path)}) {
    if (fs::is_directory(path, error)) return path + " is a folder";
  }
  const fs::path folder = fs::path(image_path).parent_path();
  if (!folder.empty() && !fs::is_directory(folder, error)) return "the folder " + folder.string() + " does not exist";
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
    if (!image_file.Commit()) {
      problem = image_path + ": " + platform::ErrorText(image_file.error());
    } else if (!description_file.Commit()) {
      problem = description_path + ": " + platform::ErrorText(description_file.error());
      // An earlier backup's description must not stand beside the new image.
      std::error_code error;
      fs::remove(description_path, error);
    }
  }
  core::OnInterruptAlso(nullptr);
  pending_image = pending_description = nullptr;
  return problem.empty();
}

}  // namespace cli
