/* The Silicon Labs CP2112 HID USB-to-SMBus bridge (10c4:ea90) as its
 * application note AN495 describes it: numbered reports, a transfer
 * started by an output report, its state asked for with a transfer status
 * request, and read data fetched in pieces of at most 61 bytes. */

#include <string.h>

#include "hid_chip.h"

enum {
  kGpioConfig = 0x02,
  kGpioGet = 0x03,
  kVersion = 0x05,
  kSmbusConfig = 0x06,
  kUsbConfig = 0x21,
  kManufacturerString = 0x22,
  kSerialString = 0x24,
  kReadRequest = 0x10,
  kWriteReadRequest = 0x11,
  kReadForceSend = 0x12,
  kReadResponse = 0x13,
  kWriteRequest = 0x14,
  kStatusRequest = 0x15,
  kStatusResponse = 0x16,
  kCancel = 0x17,
};
enum { kIdle = 0, kComplete = 2, kError = 3 };  /* status 0 */
enum { kTimeoutNack = 0, kSuccess = 5 };         /* status 1 */
enum { kReportBytes = 64, kReadPiece = 61, kLongestRead = 512 };

#define REPORT(id, count, kind) 0x85, id, 0x95, count, 0x09, 0x01, kind, 0x02
#define FEATURE 0xB1
#define OUTPUT 0x91
#define INPUT 0x81
static const uint8_t kDescriptor[] = {
    0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x15, 0x00, 0x26, 0xFF, 0x00, 0x75, 0x08,
    REPORT(0x01, 1, FEATURE), REPORT(0x02, 4, FEATURE), REPORT(0x03, 1, FEATURE), REPORT(0x04, 2, FEATURE),
    REPORT(0x05, 2, FEATURE), REPORT(0x06, 13, FEATURE), REPORT(0x20, 1, FEATURE), REPORT(0x21, 9, FEATURE),
    REPORT(0x22, 63, FEATURE), REPORT(0x23, 63, FEATURE), REPORT(0x24, 63, FEATURE),
    REPORT(0x10, 3, OUTPUT), REPORT(0x11, 20, OUTPUT), REPORT(0x12, 2, OUTPUT), REPORT(0x14, 63, OUTPUT),
    REPORT(0x15, 1, OUTPUT), REPORT(0x17, 1, OUTPUT),
    REPORT(0x13, 63, INPUT), REPORT(0x16, 6, INPUT),
    0xC0,
};

/* The last transfer: its outcome and the bytes read that the host has not fetched. */
static struct {
  uint8_t status0, status1;
  size_t length;
  uint8_t data[kLongestRead];
  size_t fetched;
} transfer;

static void finish(int result, size_t length) {
  transfer.status0 = result == 0 ? kComplete : kError;
  transfer.status1 = result == 0 ? kSuccess : kTimeoutNack;
  transfer.length = result == 0 ? length : 0;
  transfer.fetched = 0;
}

static void send_status(void) {
  const uint8_t report[7] = {kStatusResponse, transfer.status0, transfer.status1, 0, 0,
                             (uint8_t)(transfer.length >> 8), (uint8_t)transfer.length};
  hid_send_input(report, sizeof report);
}

static void send_read_data(size_t asked) {
  uint8_t report[kReportBytes] = {kReadResponse, transfer.status0};
  size_t piece = transfer.length - transfer.fetched;
  if (piece > kReadPiece) piece = kReadPiece;
  if (piece > asked) piece = asked;
  report[2] = (uint8_t)piece;
  memcpy(report + 3, transfer.data + transfer.fetched, piece);
  transfer.fetched += piece;
  hid_send_input(report, sizeof report);
}

static void output(struct smart_battery* battery, const uint8_t* report, size_t size) {
  if (size < 2) return;
  switch (report[0]) {
    case kWriteRequest: /* address, length, data */
      if (size >= 3 && (size_t)report[2] + 3 <= size) finish(smart_battery_write(battery, report[1], report + 3, report[2]), 0);
      break;
    case kWriteReadRequest: { /* address, read length (big-endian), target length, target */
      if (size < 5) return;
      size_t length = (size_t)report[2] << 8 | report[3];
      if (length > kLongestRead) length = kLongestRead;
      const size_t target = report[4] <= size - 5 ? report[4] : size - 5;
      finish(smart_battery_write_read(battery, report[1], report + 5, target, transfer.data, length), length);
      break;
    }
    case kReadRequest: /* a read without a command: the battery does not answer it */
      finish(-1, 0);
      break;
    case kStatusRequest:
      send_status();
      break;
    case kReadForceSend:
      if (size >= 3) send_read_data((size_t)report[1] << 8 | report[2]);
      break;
    case kCancel:
      transfer.status0 = kIdle;
      transfer.length = 0;
      break;
    default:
      break;
  }
}

static int get_feature(uint8_t number, uint8_t* reply, size_t capacity) {
  static const uint8_t kVersionReport[] = {kVersion, 0x0C, 0x02}; /* part number, device version */
  /* 100 kHz, address 0x02, no auto send, no timeouts, no retry limit */
  static const uint8_t kSmbusConfigReport[] = {kSmbusConfig, 0, 0x01, 0x86, 0xA0, 0x02, 0, 0, 0, 0, 0, 0, 0, 0};
  static const uint8_t kGpioConfigReport[] = {kGpioConfig, 0, 0, 0, 0};
  static const uint8_t kGpioGetReport[] = {kGpioGet, 0};
  static const uint8_t kUsbConfigReport[] = {kUsbConfig, 0xC4, 0x10, 0x90, 0xEA, 50, 0, 1, 0, 0};
  const uint8_t* source = NULL;
  size_t size = 0;
  switch (number) {
    case kVersion: source = kVersionReport, size = sizeof kVersionReport; break;
    case kSmbusConfig: source = kSmbusConfigReport, size = sizeof kSmbusConfigReport; break;
    case kGpioConfig: source = kGpioConfigReport, size = sizeof kGpioConfigReport; break;
    case kGpioGet: source = kGpioGetReport, size = sizeof kGpioGetReport; break;
    case kUsbConfig: source = kUsbConfigReport, size = sizeof kUsbConfigReport; break;
    default:
      if (number < kManufacturerString || number > kSerialString || capacity < kReportBytes) return -1;
      memset(reply, 0, kReportBytes);
      reply[0] = number, reply[1] = 2, reply[2] = 0x03; /* an empty USB string */
      return kReportBytes;
  }
  if (size > capacity) return -1;
  memcpy(reply, source, size);
  return (int)size;
}

const struct hid_chip cp2112_chip = {
    "CP2112 HID USB-to-SMBus Bridge", 0x10C4, 0xEA90, kDescriptor, sizeof kDescriptor, output, get_feature,
};
