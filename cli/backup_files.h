#pragma once
// The data-flash backup's two files: the image and, beside it, its
// description FILE.json.

#include <cstdint>
#include <span>
#include <string>

namespace cli {

// The description's file name: the image's with ".json" added.
std::string DescriptionPath(const std::string& image_path);

// Why the files cannot be made at `image_path` ("" when they can, as far as
// can be seen without writing): asked before the gauge is used.
std::string OutputProblem(const std::string& image_path);

// Writes both files, each first to a temporary file beside it that is renamed
// into place once complete, so that nothing stands under a final name until it
// is whole; the temporary files are removed on failure and on an interrupt.
// False, with the reason in `problem`, when they could not be written.
bool WriteBackupFiles(const std::string& image_path, std::span<const std::uint8_t> image,
                      const std::string& description, std::string& problem);

}  // namespace cli
