#include "cli/backup_files.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "cli/session.h"

namespace cli {

namespace {

namespace fs = std::filesystem;

// The temporary files being written, for the interrupt to remove: paths of
// fixed storage, as a signal handler may use nothing else.
char image_temporary[4096];
char description_temporary[4096];

void RemoveTemporaryFiles() {
  for (const char* path : {image_temporary, description_temporary}) {
    if (path[0] != '\0') unlink(path);
  }
}

bool Remember(char (&slot)[4096], const std::string& path) {
  if (path.size() >= sizeof slot) return false;
  std::memcpy(slot, path.c_str(), path.size() + 1);
  return true;
}

bool WriteWhole(const std::string& path, const void* bytes, std::size_t count) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  const bool written = std::fwrite(bytes, 1, count, file) == count;
  return std::fclose(file) == 0 && written;
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
  const std::string image_partial = image_path + ".partial";
  const std::string description_partial = description_path + ".partial";
  if (!Remember(image_temporary, image_partial) || !Remember(description_temporary, description_partial)) {
    problem = image_path + ": the name is too long";
    return false;
  }
  OnInterruptAlso(RemoveTemporaryFiles);
  std::error_code error;
  if (!WriteWhole(image_partial, image.data(), image.size())) {
    problem = image_partial + ": " + std::strerror(errno);
  } else if (!WriteWhole(description_partial, description.data(), description.size())) {
    problem = description_partial + ": " + std::strerror(errno);
  } else if (fs::rename(image_partial, image_path, error); error) {
    problem = image_path + ": " + error.message();
  } else if (fs::rename(description_partial, description_path, error); error) {
    problem = description_path + ": " + error.message();
    // An earlier backup's description must not stand beside the new image.
    fs::remove(description_path, error);
  }
  RemoveTemporaryFiles();
  OnInterruptAlso(nullptr);
  image_temporary[0] = description_temporary[0] = '\0';
  return problem.empty();
}

}  // namespace cli
