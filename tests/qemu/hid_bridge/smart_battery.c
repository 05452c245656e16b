#include "smart_battery.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

enum { kAddress8 = 0x16, kMaxEntries = 1024, kLongestBlock = 255 };

enum table { kWord, kBlock, kAccess, kData, kFlash, kSubclass, kTables };
static const char* const kTableNames[kTables] = {"word", "block", "ma", "md", "df", "sc"};

struct entry {
  enum table table;
  unsigned key;
  size_t length;  /* bytes; a word is two, least significant first */
  uint8_t bytes[kLongestBlock];
};

struct smart_battery {
  int present;
  struct entry* entries;
  size_t count;
  long s00, s77, s44; /* the selections written last, -1 before */
};

static uint8_t crc8(uint8_t crc, const uint8_t* bytes, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    crc ^= bytes[i];
    for (int bit = 0; bit < 8; ++bit) crc = (uint8_t)(crc & 0x80 ? (crc << 1) ^ 0x07 : crc << 1);
  }
  return crc;
}

static const struct entry* find(const struct smart_battery* battery, enum table table, long key) {
  if (key < 0) return NULL;
  for (size_t i = 0; i < battery->count; ++i) {
    if (battery->entries[i].table == table && battery->entries[i].key == (unsigned)key) return &battery->entries[i];
  }
  return NULL;
}

static int parse_line(char* line, struct entry* entry) {
  char* name = strtok(line, " \t\r\n");
  if (name == NULL || name[0] == '#') return 0;
  int table = 0;
  while (table < kTables && strcmp(name, kTableNames[table]) != 0) ++table;
  char* key = strtok(NULL, " \t\r\n");
  if (table == kTables || key == NULL) return -1;
  entry->table = (enum table)table;
  entry->key = (unsigned)strtoul(key, NULL, 16);
  entry->length = 0;
  for (char* value = strtok(NULL, " \t\r\n"); value != NULL; value = strtok(NULL, " \t\r\n")) {
    const unsigned long number = strtoul(value, NULL, 16);
    if (table == kWord || table == kAccess) {
      entry->bytes[0] = (uint8_t)(number & 0xFF);
      entry->bytes[1] = (uint8_t)(number >> 8);
      entry->length = 2;
    } else if (entry->length < kLongestBlock) {
      entry->bytes[entry->length++] = (uint8_t)number;
    }
  }
  return 1;
}

struct smart_battery* smart_battery_load(const char* path) {
  struct smart_battery* battery = calloc(1, sizeof *battery);
  battery->entries = calloc(kMaxEntries, sizeof *battery->entries);
  battery->s00 = battery->s77 = battery->s44 = -1;
  if (path == NULL) return battery;
  FILE* file = fopen(path, "r");
  if (file == NULL) {
    perror(path);
    return NULL;
  }
  battery->present = 1;
  char line[1024];
  while (fgets(line, sizeof line, file) != NULL && battery->count < kMaxEntries) {
    const int parsed = parse_line(line, &battery->entries[battery->count]);
    if (parsed < 0) fprintf(stderr, "%s: a line that names no register\n", path);
    if (parsed > 0) ++battery->count;
  }
  fclose(file);
  return battery;
}

int smart_battery_acknowledges(const struct smart_battery* battery, uint8_t address8) {
  return battery->present && (address8 & 0xFE) == kAddress8;
}

int smart_battery_write(struct smart_battery* battery, uint8_t address8, const uint8_t* bytes, size_t count) {
  if (!smart_battery_acknowledges(battery, address8) || count < 1) return -1;
  const uint8_t command = bytes[0];
  const size_t payload = command == 0x44 && count >= 2 ? 1u + bytes[1] : 2u;
  if (count < 1 + payload) return -1;
  if (count > 1 + payload && crc8(crc8(0, &address8, 1), bytes, 1 + payload) != bytes[1 + payload]) return -1;
  if (command == 0x44) {
    if (bytes[1] >= 2) battery->s44 = bytes[2] | bytes[3] << 8;
    return 0;
  }
  const long value = bytes[1] | bytes[2] << 8;
  if (command == 0x00) battery->s00 = value;
  if (command == 0x77) battery->s77 = value;
  return 0;
}

/* The block answering `command` under the selections in force, as the
 * simulated battery finds it; *echo is set for block 0x44. */
static const struct entry* block_answer(const struct smart_battery* battery, uint8_t command, long* echo) {
  const struct entry* found = NULL;
  *echo = -1;
  if (command == 0x23) found = find(battery, kData, battery->s00);
  if (command == 0x2F) found = find(battery, kFlash, battery->s00);
  if (command == 0x78) found = find(battery, kSubclass, battery->s77);
  if (command == 0x44 && (found = find(battery, kData, battery->s44)) != NULL) *echo = battery->s44;
  return found != NULL ? found : find(battery, kBlock, command);
}

int smart_battery_write_read(struct smart_battery* battery, uint8_t address8, const uint8_t* out, size_t out_count,
                             uint8_t* in, size_t in_count) {
  if (!smart_battery_acknowledges(battery, address8) || out_count != 1) return -1;
  const uint8_t command = out[0];
  uint8_t stream[3 + 2 + kLongestBlock + 1];
  size_t length = 0;
  stream[length++] = address8;
  stream[length++] = command;
  stream[length++] = address8 | 1;
  const struct entry* word = command == 0x00 ? find(battery, kAccess, battery->s00) : NULL;
  if (word == NULL) word = find(battery, kWord, command);
  long echo = -1;
  const struct entry* block = word == NULL ? block_answer(battery, command, &echo) : NULL;
  if (word != NULL) {
    memcpy(stream + length, word->bytes, 2);
    length += 2;
  } else if (block != NULL) {
    const size_t echoed = echo >= 0 ? 2 : 0;
    const size_t data = block->length + echoed > kLongestBlock ? kLongestBlock - echoed : block->length;
    stream[length++] = (uint8_t)(data + echoed);
    if (echoed) {
      stream[length++] = (uint8_t)(echo & 0xFF);
      stream[length++] = (uint8_t)(echo >> 8);
    }
    memcpy(stream + length, block->bytes, data);
    length += data;
  } else {
    return -1;
  }
  stream[length] = crc8(0, stream, length);
  ++length;
  for (size_t i = 0; i < in_count; ++i) in[i] = 3 + i < length ? stream[3 + i] : 0xFF;
  return 0;
}
