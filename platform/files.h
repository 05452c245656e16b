#pragma once
// Files opened with care: input named by the user may be anything (a
// directory, a pipe, a device), the budget file must never be followed
// through a link, every output file is checked before any is truncated, and
// a recording replaces the earlier one only once it is written whole.

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

namespace platform {

// The system's text for an error number; safe in an interrupt handler.
const char* ErrorText(int error_number);

// Writes the text to standard error; safe in an interrupt handler.
void WriteToStandardError(std::string_view text);

// Standard input, output and error that are closed are opened on the null
// device, so that no file opened later takes their place.
void OpenClosedStandardStreams();

// Reads a whole regular file of at most `max_mib` MiB, never blocking on a
// pipe or reading a device without end; false with what is wrong in `problem`
// (what the path is instead, the size, or the system's reason).
bool ReadRegularFile(const std::string& path, std::size_t max_mib, std::string& text, std::string& problem);

// Files of the working directory that are used only as regular files
// reached without a symbolic link; anything else in their place counts as a
// file that cannot be opened.
//
// Opens one for reading; null when it cannot be opened.
std::FILE* OpenRegularFile(const char* path);
// Makes its content `bytes` (creating it); false when it cannot be written.
// The bytes are written over the old ones, and the file is cut after them
// only when it was longer: emptying a file first makes a journalling file
// system wait for its journal, milliseconds that a paced run cannot spare.
bool RewriteRegularFile(const char* path, const void* bytes, std::size_t count);

// Whether reaching `path` follows a symbolic link that the kernel's
// protected_symlinks rule refuses, applied whatever the system's setting: a
// link in a sticky folder that anyone may write to (the temporary folder),
// owned neither by the user who runs the program nor by the folder's owner.
// Every file the program writes is refused there (EACCES).
bool ThroughForeignLink(const std::string& path);

// Why ReplacingFile could not make the file at `path`, as far as can be told
// without making anything: EACCES for a folder the program may not write to
// or a foreign link, ENAMETOOLONG for a name too long for the temporary file
// beside it; 0 when nothing is seen.
int CreationProblem(const std::string& path);

// Opens a file for writing without truncating it yet; null with errno set.
// A link that takes the file's place after the check for foreign links is
// not followed (nor by ReplacingFile). Text ends lines as the system does
// (CRLF on Windows).
enum class LineEnds { Binary, Text };
std::FILE* OpenForWriting(const std::string& path, LineEnds line_ends = LineEnds::Binary);
// Truncates a file opened so; a device or a pipe is left as it is.
void Truncate(std::FILE* file);

// A file written whole at the end: a regular file (or none yet) gets a new
// file beside it that Commit renames into place, so that an earlier file is
// never lost to a failed write; a device or a pipe is written directly.
// Write, Commit and Discard are safe in an interrupt handler.
class ReplacingFile {
 public:
  ReplacingFile() = default;
  ~ReplacingFile() { Discard(); }
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;

  // False when the file cannot be made (a directory, no permission, ...).
  bool Prepare(const std::string& path);
  bool Write(const char* bytes, std::size_t count);
  // True when everything written is in place.
  bool Commit();
  // Both files committed, or neither: when the second cannot be put in
  // place, the first file's earlier content stands again (or, where there
  // was none, no file). Interrupts wait until the pair stands. False, with
  // the failing file's error, when the pair is not in place.
  static bool CommitPair(ReplacingFile& first, ReplacingFile& second);
  // Removes the new file; an earlier file stays as it was.
  void Discard();
  // The error number of the first failure, 0 while there is none.
  int error() const { return error_; }

 private:
  bool Fail(int error_number);

  int fd_ = -1;
  bool replace_ = false;
  std::string target_;
  std::string temporary_;
  int error_ = 0;
};

}  // namespace platform
