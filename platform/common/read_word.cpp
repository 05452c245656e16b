#include "platform/common/read_word.h"

#include <cctype>

namespace platform {

std::string ReadWordFrom(std::FILE* in) {
  int c = std::fgetc(in);
  while (c != EOF && std::isspace(c)) c = std::fgetc(in);
  std::string word;
  while (c != EOF && !std::isspace(c)) {
    word += static_cast<char>(c);
    c = std::fgetc(in);
  }
  if (c != EOF) std::ungetc(c, in);
  return word;
}

}  // namespace platform
