/* The Microchip MCP2221 USB-to-I2C bridge (04d8:00dd) with the HID command
 * set of its datasheet: every 64-byte output report is a command, answered by
 * one 64-byte input report; the result of an I2C transfer shows in the status
 * command, read data is fetched with I2C get data in pieces of 60 bytes. */

#include <string.h>

#include "hid_chip.h"

enum {
  kStatusSetParameters = 0x10,
  kCancelTransfer = 0x10,
  kSetSpeed = 0x20,
  kWriteData = 0x90,
  kWriteNoStop = 0x94,
  kReadData = 0x91,
  kReadRepeatedStart = 0x93,
  kGetData = 0x40,
};
enum { kAddressNack = 0x25, kReadPartial = 0x54, kReadComplete = 0x55, kNoData = 127, kAckStatusNack = 0x40 };
enum { kReportBytes = 64, kPiece = 60, kLongestRead = 600, kLongestWrite = 64 };

static const uint8_t kDescriptor[] = {
    0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x15, 0x00, 0x26, 0xFF, 0x00, 0x75, 0x08,
    0x95, 0x40, 0x09, 0x01, 0x81, 0x02, /* input: 64 bytes */
    0x95, 0x40, 0x09, 0x01, 0x91, 0x02, /* output: 64 bytes */
    0xC0,
};

static struct {
  int nacked;              /* the last transfer was not acknowledged */
  uint8_t target[kLongestWrite]; /* written without a stop: the command of a read to come */
  size_t target_length;
  int read_pending;        /* a read was made, its data not all fetched */
  uint8_t data[kLongestRead];
  size_t length, fetched;
} engine;

static void answer(const uint8_t* reply) { hid_send_input(reply, kReportBytes); }

static void status(const uint8_t* command, uint8_t* reply) {
  if (command[2] == kCancelTransfer) memset(&engine, 0, sizeof engine);
  if (command[3] == kSetSpeed) reply[3] = kSetSpeed, reply[4] = command[4];
  reply[20] = engine.nacked ? kAckStatusNack : 0; /* the slave's acknowledge of its address */
}

static void read_data(struct smart_battery* battery, const uint8_t* command, int repeated_start) {
  size_t length = (size_t)command[1] | (size_t)command[2] << 8;
  if (length > kLongestRead) length = kLongestRead;
  const int result = repeated_start
                         ? smart_battery_write_read(battery, command[3], engine.target, engine.target_length,
                                                    engine.data, length)
                         : -1; /* a read without a command: the battery does not answer it */
  engine.nacked = result != 0;
  engine.read_pending = 1;
  engine.length = result == 0 ? length : 0;
  engine.fetched = 0;
}

static void get_data(uint8_t* reply) {
  if (!engine.read_pending) {
    reply[3] = kNoData;
    return;
  }
  if (engine.nacked) {
    reply[2] = kAddressNack;
    return;
  }
  size_t piece = engine.length - engine.fetched;
  if (piece > kPiece) piece = kPiece;
  memcpy(reply + 4, engine.data + engine.fetched, piece);
  engine.fetched += piece;
  reply[2] = engine.fetched == engine.length ? kReadComplete : kReadPartial;
  reply[3] = (uint8_t)piece;
  if (engine.fetched == engine.length) engine.read_pending = 0;
}

static void output(struct smart_battery* battery, const uint8_t* report, size_t size) {
  /* The driver sends only the bytes a command uses (get data: one). */
  uint8_t command[kReportBytes] = {0};
  memcpy(command, report, size < kReportBytes ? size : kReportBytes);
  uint8_t reply[kReportBytes] = {command[0], 0x00};
  const size_t length = (size_t)command[1] | (size_t)command[2] << 8;
  const size_t sent = size > 4 ? size - 4 : 0;
  const size_t carried = length <= sent ? length : sent;
  switch (command[0]) {
    case kStatusSetParameters:
      status(command, reply);
      break;
    case kWriteData:
      engine.nacked = smart_battery_write(battery, command[3], command + 4, carried) != 0;
      break;
    case kWriteNoStop:
      engine.nacked = !smart_battery_acknowledges(battery, command[3]);
      engine.target_length = carried < kLongestWrite ? carried : kLongestWrite;
      memcpy(engine.target, command + 4, engine.target_length);
      engine.read_pending = 0;
      break;
    case kReadData:
    case kReadRepeatedStart:
      read_data(battery, command, command[0] == kReadRepeatedStart);
      break;
    case kGetData:
      get_data(reply);
      break;
    default: /* GPIO and the other commands: accepted */
      break;
  }
  answer(reply);
}

static int get_feature(uint8_t number, uint8_t* reply, size_t capacity) {
  (void)number, (void)reply, (void)capacity;
  return -1;
}

const struct hid_chip mcp2221_chip = {
    "MCP2221 USB-I2C/UART Combo", 0x04D8, 0x00DD, kDescriptor, sizeof kDescriptor, output, get_feature,
};
